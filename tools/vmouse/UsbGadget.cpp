#include "tools/vmouse/UsbGadget.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <linux/usb/ch9.h>
#include <linux/usb/functionfs.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

#include "device/ReportFormat.h"
#include "platform/SeqPacketSocket.h"

namespace pallix::vmouse {

namespace {

constexpr std::uint8_t kHidDescriptor = 0x21, kReportDescriptor = 0x22;
constexpr std::uint8_t kGetReport = 0x01, kGetIdle = 0x02, kGetProtocol = 0x03;
constexpr std::uint8_t kSetReport = 0x09, kSetIdle = 0x0A, kSetProtocol = 0x0B;
constexpr int kFeatureType = 3;
constexpr std::size_t kMaxPacket = 64;
constexpr std::size_t kMaxQueued = 32;  // reports waiting for the host to poll

void Le16(Bytes& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Le32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

Bytes HidDescriptorOf(const InterfaceShape& shape) {
    Bytes d{9, kHidDescriptor};
    Le16(d, 0x0111);
    d.insert(d.end(), {0, 1, kReportDescriptor});
    Le16(d, static_cast<unsigned>(shape.reportDescriptor.size()));
    return d;
}

// Interface, HID and IN endpoint descriptor of each interface at one speed.
Bytes SpeedDescriptors(const std::vector<InterfaceShape>& shapes, std::uint8_t interval) {
    Bytes d;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const InterfaceShape& s = shapes[i];
        d.insert(d.end(), {USB_DT_INTERFACE_SIZE, USB_DT_INTERFACE, static_cast<std::uint8_t>(s.number), 0, 1,
                           USB_CLASS_HID, static_cast<std::uint8_t>(s.bootMouse ? 1 : 0),
                           static_cast<std::uint8_t>(s.bootMouse ? 2 : 0), 0});
        const Bytes hid = HidDescriptorOf(s);
        d.insert(d.end(), hid.begin(), hid.end());
        d.insert(d.end(), {USB_DT_ENDPOINT_SIZE, USB_DT_ENDPOINT, static_cast<std::uint8_t>(USB_DIR_IN | (i + 1)),
                           USB_ENDPOINT_XFER_INT});
        Le16(d, kMaxPacket);
        d.push_back(interval);
    }
    return d;
}

std::string ReadLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path);
    out << text << '\n';
    out.flush();
    return static_cast<bool>(out);
}

// The configfs UDC file of the gadget whose FunctionFS instance is mounted at dir.
std::string UdcFileOf(const std::string& dir) {
    std::error_code ec;
    const std::string target = std::filesystem::weakly_canonical(dir, ec).string();
    std::ifstream mounts("/proc/mounts");
    std::string source, point, type, rest;
    std::string instance;
    while (mounts >> source >> point >> type && std::getline(mounts, rest))
        if (type == "functionfs" && point == target) instance = source;
    if (instance.empty()) return {};
    const std::filesystem::path gadgets = "/sys/kernel/config/usb_gadget";
    for (const auto& gadget : std::filesystem::directory_iterator(gadgets, ec))
        if (std::filesystem::exists(gadget.path() / "functions" / ("ffs." + instance)))
            return (gadget.path() / "UDC").string();
    return {};
}

std::string FirstUdc() {
    std::error_code ec;
    std::vector<std::string> names;
    for (const auto& udc : std::filesystem::directory_iterator("/sys/class/udc", ec))
        names.push_back(udc.path().filename().string());
    std::sort(names.begin(), names.end());
    return names.empty() ? std::string() : names.front();
}

void Interrupt(int) {}

}  // namespace

// Writes the reports of one IN endpoint. A write blocks until the host polls the
// endpoint (which it does only while someone has the interface open), so each
// endpoint has its own thread and a short queue of the newest reports.
class EndpointWriter {
public:
    explicit EndpointWriter(int fd) : fd_(fd), thread_([this] { Loop(); }) {}
    ~EndpointWriter() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        // Out of a blocked write; again, for a signal that came just before the write.
        while (!finished_) {
            pthread_kill(thread_.native_handle(), SIGUSR1);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        thread_.join();
        CloseFd(fd_);
    }
    EndpointWriter(const EndpointWriter&) = delete;
    EndpointWriter& operator=(const EndpointWriter&) = delete;

    void Queue(const Bytes& report) {
        {
            std::lock_guard lock(mutex_);
            if (queue_.size() >= kMaxQueued) queue_.pop_front();
            queue_.push_back(report);
        }
        wake_.notify_all();
    }

private:
    void Loop() {
        LoopUntilStopped();
        finished_ = true;
    }
    void LoopUntilStopped() {
        for (;;) {
            Bytes report;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
                if (stop_) return;
                report = std::move(queue_.front());
                queue_.pop_front();
            }
            // Lost when the host goes away meanwhile, as on a real bus.
            if (write(fd_, report.data(), report.size()) < 0 && errno != EINTR && errno != ESHUTDOWN)
                std::fprintf(stderr, "pallix-vmouse: input report: %s\n", std::strerror(errno));
        }
    }

    int fd_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Bytes> queue_;
    bool stop_ = false;
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

UsbGadget::UsbGadget(Options options, std::string ffsDir)
    : MouseHost(std::move(options)), ffsDir_(std::move(ffsDir)), shapes_(InterfacesOf(options_.layout)) {}

UsbGadget::~UsbGadget() {
    Unplug();  // a device program that ends is a mouse pulled out
    writers_.clear();
    CloseFd(ep0_);
}

bool UsbGadget::Start(std::string& error) {
    if (!StartHost(error)) return false;
    struct sigaction sa {};
    sa.sa_handler = Interrupt;  // no SA_RESTART: a blocked endpoint write returns
    sigaction(SIGUSR1, &sa, nullptr);
    ep0_ = open((ffsDir_ + "/ep0").c_str(), O_RDWR | O_CLOEXEC);
    if (ep0_ < 0) {
        error = ffsDir_ + "/ep0: " + std::strerror(errno);
        return false;
    }
    if (!WriteDescriptors(error)) return false;
    for (std::size_t i = 0; i < shapes_.size(); ++i) {
        const std::string path = ffsDir_ + "/ep" + std::to_string(i + 1);
        const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) {
            error = path + ": " + std::strerror(errno);
            return false;
        }
        writers_.push_back(std::make_unique<EndpointWriter>(fd));
    }
    udcFile_ = UdcFileOf(ffsDir_);
    udcName_ = udcFile_.empty() ? std::string() : ReadLine(udcFile_);
    if (udcName_.empty()) udcName_ = FirstUdc();
    // Plugs itself in unless told not to or someone else already did.
    if (options_.startUnplugged || udcFile_.empty() || !ReadLine(udcFile_).empty()) return true;
    return Plug(error);
}

bool UsbGadget::WriteDescriptors(std::string& error) {
    const Bytes fs = SpeedDescriptors(shapes_, 1);  // 1 ms
    const Bytes hs = SpeedDescriptors(shapes_, 4);  // 2^(4-1) * 125 us = 1 ms
    const auto count = static_cast<std::uint32_t>(shapes_.size() * 3);
    Bytes d;
    Le32(d, FUNCTIONFS_DESCRIPTORS_MAGIC_V2);
    Le32(d, static_cast<std::uint32_t>(12 + 4 + 4 + fs.size() + hs.size()));  // header, two counts
    Le32(d, FUNCTIONFS_HAS_FS_DESC | FUNCTIONFS_HAS_HS_DESC);
    Le32(d, count);
    Le32(d, count);
    d.insert(d.end(), fs.begin(), fs.end());
    d.insert(d.end(), hs.begin(), hs.end());
    // No strings on the interfaces.
    Bytes strings;
    Le32(strings, FUNCTIONFS_STRINGS_MAGIC);
    Le32(strings, 16);
    Le32(strings, 0);
    Le32(strings, 0);
    if (write(ep0_, d.data(), d.size()) != static_cast<ssize_t>(d.size()) ||
        write(ep0_, strings.data(), strings.size()) != static_cast<ssize_t>(strings.size())) {
        error = ffsDir_ + "/ep0: descriptors refused: " + std::strerror(errno);
        return false;
    }
    return true;
}

int UsbGadget::Run() {
    while (!QuitRequested()) {
        pollfd fds[] = {{SignalFd(), POLLIN, 0}, {ControlFd(), POLLIN, 0}, {ep0_, POLLIN, 0}};
        if (poll(fds, 3, -1) < 0) {
            if (errno == EINTR) continue;
            std::perror("pallix-vmouse: poll");
            return 1;
        }
        if (fds[0].revents) break;  // SIGTERM or SIGINT
        if (fds[2].revents && !ReadEvents()) return 1;
        if (fds[1].revents & POLLIN) AcceptControl();
    }
    return 0;
}

bool UsbGadget::ReadEvents() {
    usb_functionfs_event events[4];
    const ssize_t n = read(ep0_, events, sizeof events);
    if (n < 0) {
        if (errno == EINTR || errno == EAGAIN) return true;
        std::perror("pallix-vmouse: ep0");
        return false;
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(n) / sizeof events[0]; ++i) {
        switch (events[i].type) {
        case FUNCTIONFS_SETUP:
            Setup(events[i].u.setup);
            break;
        case FUNCTIONFS_ENABLE:
            enabled_ = true;
            break;
        case FUNCTIONFS_DISABLE:
        case FUNCTIONFS_UNBIND:
            enabled_ = false;
            break;
        default:
            break;
        }
    }
    return true;
}

void UsbGadget::Setup(const usb_ctrlrequest& c) {
    const unsigned value = le16toh(c.wValue), interfaceIndex = le16toh(c.wIndex) & 0xFF;
    const auto shape = std::find_if(shapes_.begin(), shapes_.end(),
                                    [&](const InterfaceShape& s) { return static_cast<unsigned>(s.number) == interfaceIndex; });
    const bool toInterface = (c.bRequestType & USB_RECIP_MASK) == USB_RECIP_INTERFACE && shape != shapes_.end();
    if (toInterface && c.bRequestType == (USB_DIR_IN | USB_TYPE_STANDARD | USB_RECIP_INTERFACE) &&
        c.bRequest == USB_REQ_GET_DESCRIPTOR) {
        if (value >> 8 == kReportDescriptor) return Reply(c, shape->reportDescriptor);
        if (value >> 8 == kHidDescriptor) return Reply(c, HidDescriptorOf(*shape));
        return Stall(c);
    }
    if (toInterface && (c.bRequestType & USB_TYPE_MASK) == USB_TYPE_CLASS) return InterfaceRequest(c);
    Stall(c);
}

void UsbGadget::InterfaceRequest(const usb_ctrlrequest& c) {
    const unsigned value = le16toh(c.wValue), length = le16toh(c.wLength);
    const int interfaceNumber = le16toh(c.wIndex) & 0xFF;
    const int type = static_cast<int>(value >> 8);
    const auto id = static_cast<std::uint8_t>(value & 0xFF);
    switch (c.bRequest) {
    case kSetIdle:
    case kSetProtocol:
        return Acknowledge();
    case kGetIdle:
        return Reply(c, {0});
    case kGetProtocol:
        return Reply(c, {1});
    case kSetReport: {
        if (type == kFeatureType && IsNumbered(options_.layout, interfaceNumber)) {
            TraceLine("set", interfaceNumber, {&id, 1}, true);  // the data stage is never read
            return Stall(c);
        }
        // The wire carries a numbered report with its id, an unnumbered one without.
        Bytes report(id == 0 ? 1 : 0, 0);
        std::uint8_t data[kMaxPacket];
        if (length > sizeof data) return Stall(c);
        const ssize_t n = length ? read(ep0_, data, length) : read(ep0_, nullptr, 0);
        if (n < 0) return;
        if (type != kFeatureType) return;  // no output reports on this mouse: taken, ignored
        report.insert(report.end(), data, data + n);
        Pause();
        // Refused or not, the host sees it taken: FunctionFS ends the transfer with the
        // data stage, before the mouse has seen the data (the trace tells).
        SetFeature(interfaceNumber, report);
        if (VanishDue()) Unplug();
        return;
    }
    case kGetReport: {
        if (type != kFeatureType) return Stall(c);
        Pause();
        auto data = GetFeature(interfaceNumber, id, report::kFeatureSize);
        if (!data || data->empty()) {
            Stall(c);
        } else {
            if (id == 0) data->erase(data->begin());
            Reply(c, *data);
        }
        if (VanishDue()) Unplug();
        return;
    }
    default:
        return Stall(c);
    }
}

void UsbGadget::Reply(const usb_ctrlrequest& c, const Bytes& data) {
    const std::size_t n = std::min<std::size_t>(data.size(), le16toh(c.wLength));
    if (write(ep0_, data.data(), n) < 0) std::fprintf(stderr, "pallix-vmouse: ep0 reply: %s\n", std::strerror(errno));
}

// FunctionFS stalls a request when its data stage is done in the wrong direction.
void UsbGadget::Stall(const usb_ctrlrequest& c) {
    std::uint8_t none = 0;
    if (c.bRequestType & USB_DIR_IN) (void)!read(ep0_, &none, 0);
    else (void)!write(ep0_, &none, 0);
}

void UsbGadget::Acknowledge() { (void)!read(ep0_, nullptr, 0); }

bool UsbGadget::Plug(std::string& error) {
    if (udcFile_.empty() || udcName_.empty()) {
        error = "cannot find this gadget's UDC in configfs";
        return false;
    }
    if (!ReadLine(udcFile_).empty()) return true;
    if (!WriteText(udcFile_, udcName_)) {
        error = udcFile_ + ": cannot bind " + udcName_;
        return false;
    }
    return true;
}

void UsbGadget::Unplug() {
    if (udcFile_.empty() || ReadLine(udcFile_).empty()) return;
    udcName_ = ReadLine(udcFile_);
    enabled_ = false;
    if (!WriteText(udcFile_, "")) std::fprintf(stderr, "pallix-vmouse: %s: cannot unbind\n", udcFile_.c_str());
}

void UsbGadget::SendInput(int interfaceNumber, const Bytes& report) {
    for (std::size_t i = 0; i < shapes_.size(); ++i)
        if (shapes_[i].number == interfaceNumber) writers_[i]->Queue(report);
}

}  // namespace pallix::vmouse
