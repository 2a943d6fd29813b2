#include "platform/VirtualHidBackend.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <dirent.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include "device/HidInterfaceRoles.h"
#include "platform/HidWatchBase.h"
#include "platform/RuntimeDir.h"
#include "platform/SeqPacketSocket.h"
#include "platform/VirtualHidProtocol.h"

namespace pallix {

namespace {

constexpr int kReplyTimeoutMs = 2000;
constexpr std::size_t kMaxQueuedInput = 64;

// One connection to a virtual mouse. Input reports that arrive while a feature
// request waits for its answer are queued for ReadInput.
class VirtualHidDevice : public HidDevice {
public:
    explicit VirtualHidDevice(int fd) : fd_(fd) {}
    ~VirtualHidDevice() override { CloseFd(fd_); }

    // HELLO round trip: afterwards the mouse has accepted us and sends our input.
    bool Handshake() {
        auto reply = Transact(vhid::EncodeHello(), vhid::kInfo);
        if (!reply) return false;
        info_ = reply->info;
        return true;
    }
    const vhid::DeviceInfo& Info() const { return info_; }

    int SetFeature(const std::uint8_t* data, std::size_t length) override {
        if (!data || length == 0 || length > vhid::kMaxReport) return -1;
        auto reply = Transact(vhid::EncodeSetFeature({data, length}), vhid::kSetResult);
        if (!reply || reply->status != vhid::kOk) return -1;
        return reply->length;
    }

    int GetFeature(std::uint8_t* data, std::size_t length) override {
        if (!data || length == 0) return -1;
        const auto wanted = static_cast<std::uint8_t>(std::min(length, vhid::kMaxReport));
        auto reply = Transact(vhid::EncodeGetFeature(data[0], wanted), vhid::kGetResult);
        if (!reply || reply->status != vhid::kOk || reply->report.size() > length) return -1;
        std::copy(reply->report.begin(), reply->report.end(), data);
        return static_cast<int>(reply->report.size());
    }

    int ReadInput(std::uint8_t* data, std::size_t length, int timeoutMs) override {
        if (!data || length == 0) return -1;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
        while (queue_.empty()) {
            int wait = -1;
            if (timeoutMs >= 0) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now());
                wait = static_cast<int>(std::max<long long>(left.count(), 0));
            }
            auto m = Receive(wait);
            if (!m) return broken_ ? -1 : 0;
            if (m->type != vhid::kInput) return Fail();  // nothing else may come unasked
            Queue(std::move(m->report));
        }
        const auto report = std::move(queue_.front());
        queue_.pop_front();
        const std::size_t n = std::min(report.size(), length);
        std::copy_n(report.begin(), n, data);
        return static_cast<int>(n);
    }

    // The connection itself: input arrives on it unasked. Reports queued behind a
    // feature answer are not signalled; a reader drains once after such requests.
    int InputFd() override { return fd_; }

    std::optional<std::string> ProductString() override { return info_.product; }
    std::optional<std::string> ManufacturerString() override { return info_.manufacturer; }

private:
    int Fail() {
        broken_ = true;
        CloseFd(fd_);
        return -1;
    }

    void Queue(std::vector<std::uint8_t> report) {
        if (queue_.size() == kMaxQueuedInput) queue_.pop_front();
        queue_.push_back(std::move(report));
    }

    // nullopt on timeout (broken_ false) or on a broken connection (broken_ true).
    std::optional<vhid::Message> Receive(int timeoutMs) {
        if (fd_ < 0) {
            broken_ = true;
            return std::nullopt;
        }
        std::uint8_t buf[vhid::kMaxMessage];
        const RecvResult r = RecvPacket(fd_, buf, sizeof buf, timeoutMs);
        if (r.status == RecvStatus::kTimeout) return std::nullopt;
        std::optional<vhid::Message> m;
        if (r.status == RecvStatus::kOk) m = vhid::Decode({buf, r.size});
        if (!m || m->type == vhid::kError) {
            Fail();
            return std::nullopt;
        }
        return m;
    }

    std::optional<vhid::Message> Transact(const vhid::Bytes& request, vhid::Type answer) {
        if (fd_ < 0 || !SendPacket(fd_, request)) {
            Fail();
            return std::nullopt;
        }
        for (;;) {
            auto m = Receive(kReplyTimeoutMs);
            if (!m) {
                if (!broken_) Fail();  // a mouse that does not answer is gone
                return std::nullopt;
            }
            if (m->type == answer) return m;
            if (m->type != vhid::kInput) {
                Fail();
                return std::nullopt;
            }
            Queue(std::move(m->report));
        }
    }

    int fd_ = -1;
    bool broken_ = false;
    vhid::DeviceInfo info_;
    std::deque<std::vector<std::uint8_t>> queue_;
};

// The socket of a path: vhid:NAME or vhid:NAME@N.
std::string SocketOf(const std::string& path) {
    const std::string prefix = vhid::kPathPrefix;
    if (path.compare(0, prefix.size(), prefix) != 0) return {};
    std::string socket = path.substr(prefix.size()), name;
    int interfaceNumber = 0;
    return vhid::SplitSocketName(socket, name, interfaceNumber) ? socket : std::string();
}

// A greeted connection; one the mouse refused still tells who it is (Info()) but
// carries no reports.
std::unique_ptr<VirtualHidDevice> Connect(const std::string& folder, const std::string& socket) {
    if (folder.empty() || socket.empty()) return nullptr;
    const int fd = ConnectSeqPacket(folder + "/" + socket);
    if (fd < 0) return nullptr;
    auto device = std::make_unique<VirtualHidDevice>(fd);
    if (!device->Handshake()) return nullptr;
    return device;
}

// Names of the sockets in the folder, sorted.
std::vector<std::string> SocketNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = folder.empty() ? nullptr : opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        std::string mouse;
        int interfaceNumber = 0;
        struct stat st {};
        if (!vhid::SplitSocketName(name, mouse, interfaceNumber) || lstat((folder + "/" + name).c_str(), &st) != 0 || !S_ISSOCK(st.st_mode))
            continue;
        names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

class VirtualHidWatch : public HidWatchBase {
public:
    VirtualHidWatch(VirtualHidBackend& backend, const std::string& folder) : HidWatchBase(backend) {
        if (!folder.empty() && MakePrivateDir(folder)) {
            int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
            constexpr std::uint32_t kEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB;
            if (fd >= 0 && inotify_add_watch(fd, folder.c_str(), kEvents) < 0) CloseFd(fd);
            AddFd(fd, /*debounceMs=*/0);  // the folder is ours: no burst to wait out
        }
        TakeBaseline();
    }
};

}  // namespace

std::string VirtualHidDir() {
    const std::string base = RuntimeDir();
    return base.empty() ? std::string() : base + "/vhid";
}

std::string VirtualMouseStateDir() {
    const std::string base = RuntimeDir();
    return base.empty() ? std::string() : base + "/vmouse";
}

VirtualHidBackend::VirtualHidBackend(std::string folder)
    : folder_(folder.empty() ? VirtualHidDir() : std::move(folder)) {}

bool VirtualHidBackend::Owns(const std::string& path) const {
    return path.rfind(vhid::kPathPrefix, 0) == 0;
}

std::vector<HidDeviceInfo> VirtualHidBackend::Enumerate() {
    std::vector<HidDeviceInfo> out;
    for (const std::string& name : SocketNames(folder_)) {
        auto device = Connect(folder_, name);
        if (!device) continue;  // a stale socket of a mouse that died
        const vhid::DeviceInfo& info = device->Info();
        std::string mouse;
        int number = 0;
        vhid::SplitSocketName(name, mouse, number);
        HidDeviceInfo d{vhid::kPathPrefix + name, info.vendorId, info.productId, info.version, info.product,
                        info.manufacturer, hid::RolesOf(info.reportDescriptor).IsMouse(), info.accessDenied,
                        info.interfaceNumber, info.reportDescriptor, vhid::kPathPrefix + mouse};
        out.push_back(std::move(d));
    }
    return out;
}

std::unique_ptr<HidDevice> VirtualHidBackend::Open(const std::string& path) {
    auto device = Connect(folder_, SocketOf(path));
    if (!device || device->Info().accessDenied) return nullptr;
    return device;
}

std::unique_ptr<HidWatch> VirtualHidBackend::Watch() {
    return std::make_unique<VirtualHidWatch>(*this, folder_);
}

}  // namespace pallix
