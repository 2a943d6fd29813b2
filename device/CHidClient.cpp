#include "device/CHidClient.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "common/Messages.h"
#include "device/HidInterfaceRoles.h"
#include "device/ProductIds.h"

namespace pallix {

namespace {

constexpr int kInputBufferSize = 256;

// Whether a node enters a mouse-class table. One mouse is one entry for the memory
// protocol: the filtering overloads list only its memory interface, whatever order the
// mouse gives its interfaces and collections.
bool InMouseClass(const HidDeviceInfo& d, bool filter) {
    if (!filter) return d.isMouse;
    return hid::IsMemoryInterface(hid::RolesOf(d.reportDescriptor), d.interfaceNumber);
}

void StderrSink(const std::string& text, const std::string& caption) {
    std::cerr << caption << ": " << text << '\n';
}

bool MatchesId(const HidDeviceInfo& d, const SUsbId* ids, int idCount) {
    if (!ids) return false;
    for (int k = 0; k < idCount; ++k)
        if (ids[k].vendorId == d.vendorId && ids[k].productId == d.productId) return true;
    return false;
}

bool MatchesVersion(const HidDeviceInfo& d, const std::uint16_t* versions, int versionCount) {
    if (!versions) return false;
    return std::find(versions, versions + std::max(versionCount, 0), d.version) != versions + std::max(versionCount, 0);
}

std::string Hex4(unsigned v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%X", v & 0xFFFFu);
    return buf;
}

}  // namespace

CHidClient::CHidClient(std::vector<std::shared_ptr<HidBackend>> backends)
    : backends_(std::move(backends)), sink_(StderrSink) {}

CHidClient::~CHidClient() { Unregister(); }

CHidClient::CHidClient(const CHidClient& other) { *this = other; }

CHidClient& CHidClient::operator=(const CHidClient& other) {
    if (this == &other) return *this;
    Unregister();
    backends_ = other.backends_;
    sink_ = other.sink_;
    scheduler_ = other.scheduler_;
    class_ = other.class_;
    table_ = other.table_;
    count_ = other.count_;
    handles_ = other.handles_;
    nextHandle_ = other.nextHandle_;
    kept_ = other.kept_;
    return *this;
}

void CHidClient::AddBackend(std::shared_ptr<HidBackend> backend) {
    if (backend) backends_.push_back(std::move(backend));
}

void CHidClient::SetMessageSink(HidMessageSink sink) { sink_ = sink ? std::move(sink) : HidMessageSink(StderrSink); }

void CHidClient::SetWatchScheduler(std::shared_ptr<HidWatchScheduler> scheduler) {
    Unregister();
    scheduler_ = std::move(scheduler);
}

int CHidClient::LoadDll() { return backends_.empty() ? 0 : 1; }

// ---- enumeration

int CHidClient::Build(InterfaceClass cls, bool filterCol03, const Accept& accept) {
    count_ = 0;
    table_.clear();
    if (!LoadDll()) return 0;
    class_ = cls;
    int examined = 0;
    for (const auto& backend : backends_) {
        for (const HidDeviceInfo& d : backend->Enumerate()) {
            if (examined++ >= kMaxDevices) break;
            if (cls == InterfaceClass::Mouse && !InMouseClass(d, filterCol03)) continue;
            if (!accept(d)) continue;
            table_.push_back({d.path, d.product.value_or(" "), d.manufacturer.value_or(" "),
                              Id2String(d.vendorId, d.productId), d.version, d.vendorId, d.productId,
                              d.accessDenied, d.interfaceNumber, d.reportDescriptor, d.physicalDevice});
        }
    }
    count_ = static_cast<int>(table_.size());
    return count_ > 0 ? 1 : 0;
}

int CHidClient::CreateDeviceTable(std::uint16_t vid, std::uint16_t pid, bool flag) {
    const bool everything = vid == 0 && pid == 0;
    const bool builtIn = vid == kMouseVendorId && (pid == kMouseProductId || pid == kAltProductId);
    const InterfaceClass cls = (everything && !flag) || builtIn ? InterfaceClass::Hid : InterfaceClass::Mouse;
    return Build(cls, false, [&](const HidDeviceInfo& d) {
        return everything || (d.vendorId == vid && d.productId == pid);
    });
}

int CHidClient::CreateDeviceTable(const SUsbId* ids, int idCount) {
    return Build(InterfaceClass::Mouse, true, [&](const HidDeviceInfo& d) { return MatchesId(d, ids, idCount); });
}

int CHidClient::CreateDeviceTable(const SUsbId* ids, int idCount, std::uint16_t minVersion,
                                  std::uint16_t maxVersion) {
    return Build(InterfaceClass::Mouse, true, [&](const HidDeviceInfo& d) {
        return MatchesId(d, ids, idCount) && minVersion <= d.version && d.version <= maxVersion;
    });
}

int CHidClient::CreateDeviceTable(const SUsbId* ids, int idCount, std::uint16_t minVersion,
                                  std::uint16_t maxVersion, std::uint16_t version) {
    return Build(InterfaceClass::Mouse, true, [&](const HidDeviceInfo& d) {
        const bool inRange = minVersion <= d.version && d.version <= maxVersion;
        const bool sameFamily = (d.version >> 8) == (version >> 8);
        return MatchesId(d, ids, idCount) && (inRange || sameFamily);
    });
}

int CHidClient::CreateDeviceTable(const SUsbId* ids, int idCount, const std::uint16_t* versions,
                                  int versionCount) {
    return Build(InterfaceClass::Mouse, true, [&](const HidDeviceInfo& d) {
        return MatchesVersion(d, versions, versionCount) && MatchesId(d, ids, idCount);
    });
}

int CHidClient::CreateDeviceTable(const std::uint16_t* versions, int versionCount) {
    return Build(InterfaceClass::Mouse, false,
                 [&](const HidDeviceInfo& d) { return MatchesVersion(d, versions, versionCount); });
}

// ---- table access

const CHidClient::Entry* CHidClient::At(int i) const {
    return i >= 0 && i < count_ ? &table_[static_cast<std::size_t>(i)] : nullptr;
}

const char* CHidClient::GetDevice(int i) const { return At(i) ? At(i)->path.c_str() : nullptr; }
const char* CHidClient::GetDeviceName(int i) const { return At(i) ? At(i)->name.c_str() : nullptr; }
const char* CHidClient::GetVendorName(int i) const { return At(i) ? At(i)->vendor.c_str() : nullptr; }
const char* CHidClient::GetDeviceID(int i) const { return At(i) ? At(i)->id.c_str() : nullptr; }
std::uint16_t CHidClient::GetDeviceVID(int i) const { return At(i) ? At(i)->vid : kNone16; }
std::uint16_t CHidClient::GetDevicePID(int i) const { return At(i) ? At(i)->pid : kNone16; }
std::uint16_t CHidClient::GetDeviceVer(int i) const { return At(i) ? At(i)->version : kNone16; }
bool CHidClient::GetDeviceAccessDenied(int i) const { return At(i) && At(i)->accessDenied; }
int CHidClient::GetDeviceInterface(int i) const { return At(i) ? At(i)->interfaceNumber : -1; }
const std::vector<std::uint8_t>* CHidClient::GetDeviceReportDescriptor(int i) const {
    return At(i) ? &At(i)->reportDescriptor : nullptr;
}
const char* CHidClient::GetPhysicalDevice(int i) const { return At(i) ? At(i)->physical.c_str() : nullptr; }

// ---- device input and output

HidBackend* CHidClient::BackendFor(const std::string& path) const {
    for (const auto& b : backends_)
        if (b->Owns(path)) return b.get();
    return nullptr;
}

std::unique_ptr<HidDevice> CHidClient::OpenEntry(int i, bool reportFailure) {
    if (i < 0 || i >= count_) return nullptr;
    const std::string& path = table_[static_cast<std::size_t>(i)].path;
    HidBackend* backend = BackendFor(path);
    auto device = backend ? backend->Open(path) : nullptr;
    if (!device && reportFailure) sink_(path, "Open failed");
    return device;
}

bool CHidClient::EnsureTable() {
    if (count_ == 0) CreateDeviceTable(0, 0, false);
    return count_ > 0;
}

HidHandle CHidClient::Open(int i) {
    auto device = OpenEntry(i, false);
    if (!device) return kInvalidHidHandle;
    const HidHandle h{nextHandle_++};
    if (nextHandle_ <= 0) nextHandle_ = 1;
    handles_[h] = std::move(device);
    return h;
}

int CHidClient::Close(HidHandle handle) { return handles_.erase(handle) ? 1 : 0; }

HidDevice* CHidClient::DeviceOf(HidHandle handle) const {
    const auto it = handles_.find(handle);
    return it == handles_.end() ? nullptr : it->second.get();
}

int CHidClient::Write(int i, const std::uint8_t* report, int length) {
    if (!report || length <= 0 || !EnsureTable() || i < 0 || i >= count_) return 0;
    auto device = OpenEntry(i, true);
    return device && device->SetFeature(report, static_cast<std::size_t>(length)) >= 0 ? 1 : 0;
}

int CHidClient::Read(int i, std::uint8_t* report, int length) {
    if (!report || length <= 0 || !EnsureTable() || i < 0 || i >= count_) return 0;
    auto device = OpenEntry(i, true);
    return device && device->GetFeature(report, static_cast<std::size_t>(length)) >= 0 ? 1 : 0;
}

int CHidClient::ReadInputReport(int i, std::uint8_t* buffer, int& length, int timeoutMs) {
    const int capacity = length;
    length = 0;
    if (!buffer || capacity <= 0 || !EnsureTable() || i < 0 || i >= count_) return 0;
    auto device = OpenEntry(i, true);
    if (!device) return 0;
    const int n = device->ReadInput(buffer, static_cast<std::size_t>(capacity), timeoutMs);
    if (n <= 0) return 0;
    length = n;
    return 1;
}

int CHidClient::Read(HidHandle handle, std::uint8_t* buffer, int timeoutMs) {
    HidDevice* device = DeviceOf(handle);
    if (!device || !buffer) return 0;
    const int n = device->ReadInput(buffer, kInputBufferSize, timeoutMs);
    return n > 0 ? n : 0;
}

// ---- string helpers

const char* CHidClient::Id2ProductString(HidHandle handle) {
    HidDevice* device = DeviceOf(handle);
    productBuffer_ = (device ? device->ProductString() : std::nullopt).value_or(" ");
    return productBuffer_.c_str();
}

const char* CHidClient::Id2ManufactureString(HidHandle handle) {
    HidDevice* device = DeviceOf(handle);
    manufacturerBuffer_ = (device ? device->ManufacturerString() : std::nullopt).value_or(" ");
    return manufacturerBuffer_.c_str();
}

const char* CHidClient::Id2String(std::uint16_t vid, std::uint16_t pid) {
    thread_local char buffer[32];
    std::snprintf(buffer, sizeof buffer, "VID=%04X, PID=%04X", vid, pid);
    return buffer;
}

// ---- notifications

int CHidClient::Register(HidNotifyReceiver* receiver) {
    if (!receiver || !scheduler_ || backends_.empty()) return 0;
    std::vector<int> fds;
    for (const auto& backend : backends_) {
        watches_.push_back(backend->Watch());
        for (int fd : watches_.back()->Fds()) fds.push_back(fd);
    }
    if (!scheduler_->Start(fds, [this] { PollNotifications(); })) {
        watches_.clear();
        return 0;
    }
    registered_ = true;
    active_ = receiver;
    return 1;
}

int CHidClient::Unregister() {
    if (!registered_) return 0;
    if (scheduler_) scheduler_->Stop();
    watches_.clear();
    registered_ = false;
    active_ = nullptr;
    return 1;
}

int CHidClient::RegisterNotify(HidNotifyReceiver* receiver) {
    Unregister();  // one registration at a time; a second would leak the first
    if (!Register(receiver)) return 0;
    kept_ = receiver;
    return 1;
}

int CHidClient::UnRegisterNotify() {
    if (!Unregister()) return 0;
    kept_ = nullptr;
    return 1;
}

int CHidClient::ReRegisterNotify(HidNotifyReceiver* receiver) {
    Unregister();
    return Register(receiver);
}

int CHidClient::RecoverRegisterNotify() {
    if (!kept_) return 1;
    Unregister();
    return Register(kept_);
}

void CHidClient::PollNotifications() {
    if (!registered_) return;
    std::vector<HidChange> changes;
    for (const auto& watch : watches_)
        for (HidChange& c : watch->Poll()) changes.push_back(std::move(c));
    for (const HidChange& c : changes) {
        if (class_ == InterfaceClass::Mouse && !c.isMouse) continue;
        // The receiver may unregister from inside its handler.
        if (!registered_ || !active_) return;
        active_->OnDeviceChange(c.kind == HidChange::kArrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE, c.path);
    }
}

// ---- diagnostics

int CHidClient::IsCorvexProduct(std::uint16_t vid, std::uint16_t /*pid*/) { return vid == kMouseVendorId ? 1 : 0; }

std::string CHidClient::ShowCurrentTable(int type) {
    std::string text;
    auto interfaces = [&] {
        text += "All Hid Interface:\n";
        for (const Entry& e : table_) text += e.path + "\n";
    };
    auto devices = [&] {
        text += "All Hid Device:\n";
        for (const Entry& e : table_) text += e.name + "\n";
    };
    auto ids = [&] {
        for (const Entry& e : table_) text += "Device: " + e.id + "\n";
    };
    switch (type) {
    case 0: interfaces(); devices(); ids(); break;
    case 1: interfaces(); break;
    case 2: devices(); break;
    case 3: ids(); break;
    case 4:
        for (std::size_t i = 0; i < table_.size(); ++i) {
            const Entry& e = table_[i];
            text += "[" + std::to_string(i) + "] Device: " + e.id + "\n      Product=" + e.name +
                    "\n      Manufacture=" + e.vendor + "\n      VersionNumber=" + Hex4(e.version) + "\n";
        }
        break;
    default: text = "No Slection"; break;
    }
    sink_(text, "HID DEVICE LIST");
    return text;
}

int CHidClient::ModifyDeviceRegistry(bool /*flag*/) { return 0; }

}  // namespace pallix
