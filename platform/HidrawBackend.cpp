#include "platform/HidrawBackend.h"

#include "common/Utf8.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <set>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <hidapi.h>
#include <libudev.h>

#include "device/HidInterfaceRoles.h"
#include "platform/DeviceNodeAccess.h"
#include "platform/HidWatchBase.h"

namespace pallix {

namespace {

constexpr std::size_t kMaxStringChars = 128;

std::string ToUtf8(const wchar_t* w) {
    std::string out;
    for (; w && *w; ++w) {
        AppendUtf8(out, static_cast<char32_t>(*w));
    }
    return out;
}

std::optional<std::string> OptionalString(const wchar_t* w) {
    if (!w) return std::nullopt;
    return ToUtf8(w);
}

std::string SysfsFolderOf(const std::string& devnode) {
    const std::size_t slash = devnode.rfind('/');
    const std::string node = slash == std::string::npos ? devnode : devnode.substr(slash + 1);
    return "/sys/class/hidraw/" + node;
}

// The USB (or other bus) device a hidraw node belongs to: the interfaces of one
// mouse share it.
std::string PhysicalDeviceOf(const std::string& devnode) {
    const std::string link = SysfsFolderOf(devnode) + "/device";
    char resolved[PATH_MAX];
    if (!realpath(link.c_str(), resolved)) return devnode;
    std::string path = resolved;  // .../usb-device/interface/hid-device
    for (int up = 0; up < 2; ++up) {
        const std::size_t cut = path.rfind('/');
        if (cut == std::string::npos || cut == 0) break;
        path.erase(cut);
    }
    return path;
}

// The report descriptor the kernel read from the device; sysfs lets every user read it.
std::vector<std::uint8_t> ReportDescriptorOf(const std::string& devnode) {
    std::vector<std::uint8_t> bytes;
    const int fd = open((SysfsFolderOf(devnode) + "/device/report_descriptor").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return bytes;
    std::uint8_t buf[hid::kMaxDescriptorSize + 1];
    std::size_t total = 0;
    for (ssize_t n; total < sizeof buf && (n = read(fd, buf + total, sizeof buf - total)) != 0;) {
        if (n < 0) {
            if (errno == EINTR) continue;
            total = 0;
            break;
        }
        total += static_cast<std::size_t>(n);
    }
    close(fd);
    if (total <= hid::kMaxDescriptorSize) bytes.assign(buf, buf + total);
    return bytes;
}

class HidrawDevice : public HidDevice {
public:
    HidrawDevice(hid_device* dev, std::string path) : dev_(dev), path_(std::move(path)) {}
    ~HidrawDevice() override {
        if (inputFd_ >= 0) close(inputFd_);
        hid_close(dev_);
    }

    int SetFeature(const std::uint8_t* data, std::size_t length) override {
        if (!data || length == 0) return -1;
        return hid_send_feature_report(dev_, data, length);
    }
    int GetFeature(std::uint8_t* data, std::size_t length) override {
        if (!data || length == 0) return -1;
        return hid_get_feature_report(dev_, data, length);
    }
    int ReadInput(std::uint8_t* data, std::size_t length, int timeoutMs) override {
        if (!data || length == 0) return -1;
        if (inputFd_ >= 0) return ReadOwnNode(data, length, timeoutMs);
        return hid_read_timeout(dev_, data, length, timeoutMs);
    }
    // hidapi keeps its descriptor to itself, so input gets a node of its own; hidraw
    // hands every reader every report, with the id byte of numbered reports.
    int InputFd() override {
        if (inputFd_ < 0) inputFd_ = open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        return inputFd_;
    }
    std::optional<std::string> ProductString() override { return String(hid_get_product_string); }
    std::optional<std::string> ManufacturerString() override { return String(hid_get_manufacturer_string); }

private:
    int ReadOwnNode(std::uint8_t* data, std::size_t length, int timeoutMs) {
        pollfd p{inputFd_, POLLIN, 0};
        int ready;
        while ((ready = poll(&p, 1, timeoutMs)) < 0 && errno == EINTR) {
        }
        if (ready < 0) return -1;
        if (ready == 0) return 0;
        const ssize_t n = read(inputFd_, data, length);
        if (n >= 0) return static_cast<int>(n);
        return errno == EAGAIN || errno == EINTR ? 0 : -1;  // ENODEV: unplugged
    }

    std::optional<std::string> String(int (*get)(hid_device*, wchar_t*, size_t)) {
        wchar_t buf[kMaxStringChars] = {};
        if (get(dev_, buf, kMaxStringChars) != 0) return std::nullopt;
        buf[kMaxStringChars - 1] = 0;
        return ToUtf8(buf);
    }
    hid_device* dev_;
    std::string path_;
    int inputFd_ = -1;
};

bool DrainUdev(udev_monitor* monitor) {
    bool any = false;
    while (udev_device* d = udev_monitor_receive_device(monitor)) {
        udev_device_unref(d);
        any = true;
    }
    return any;
}

// Only hidraw nodes count; /dev sees plenty of other traffic.
bool DrainDevInotify(int fd) {
    bool any = false;
    alignas(inotify_event) char buf[4096];
    for (;;) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) return any;
        for (ssize_t pos = 0; pos + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buf + pos);
            const ssize_t next = pos + static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            if (next > n) break;
            if (e->len > 0 && std::strncmp(e->name, "hidraw", 6) == 0) any = true;
            pos = next;
        }
    }
}

class HidrawWatch : public HidWatchBase {
public:
    explicit HidrawWatch(HidrawBackend& backend) : HidWatchBase(backend, /*periodicMs=*/3000) {
        udev_ = udev_new();
        if (udev_) monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
        if (monitor_ && udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) == 0 &&
            udev_monitor_enable_receiving(monitor_) == 0) {
            udev_monitor* m = monitor_;
            AddFd(udev_monitor_get_fd(monitor_), /*debounceMs=*/0, /*owned=*/false,
                  [m](int) { return DrainUdev(m); });
        }
        // udevd may be absent (containers): device nodes still come and go in /dev,
        // usually in bursts, hence the debounce.
        const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (fd >= 0 && inotify_add_watch(fd, "/dev", IN_CREATE | IN_DELETE | IN_ATTRIB) >= 0)
            AddFd(fd, /*debounceMs=*/250, /*owned=*/true, DrainDevInotify);
        else if (fd >= 0)
            close(fd);
        TakeBaseline();
    }
    ~HidrawWatch() override {
        if (monitor_) udev_monitor_unref(monitor_);
        if (udev_) udev_unref(udev_);
    }

private:
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
};

}  // namespace

HidrawBackend::HidrawBackend() { hid_init(); }

HidrawBackend::~HidrawBackend() = default;  // hid_exit would pull the library from under other users

bool HidrawBackend::Owns(const std::string& path) const { return path.rfind("/dev/", 0) == 0; }

std::vector<HidDeviceInfo> HidrawBackend::Enumerate() {
    std::vector<HidDeviceInfo> out;
    std::set<std::string> seen;
    hid_device_info* list = hid_enumerate(0, 0);
    // hidapi lists one entry per top-level collection (and per Pointer collection
    // inside a mouse), all with the node's path: one node is one interface, and what
    // it holds comes from its descriptor, not from those entries.
    for (hid_device_info* d = list; d; d = d->next) {
        if (!d->path || !seen.insert(d->path).second) continue;
        HidDeviceInfo info;
        info.path = d->path;
        info.vendorId = d->vendor_id;
        info.productId = d->product_id;
        info.version = d->release_number;
        info.product = OptionalString(d->product_string);
        info.manufacturer = OptionalString(d->manufacturer_string);
        info.interfaceNumber = d->interface_number;
        info.reportDescriptor = ReportDescriptorOf(info.path);
        info.isMouse = hid::RolesOf(info.reportDescriptor).IsMouse();
        info.accessDenied = DeviceNodeAccessDenied(info.path);
        info.physicalDevice = PhysicalDeviceOf(info.path);
        out.push_back(std::move(info));
    }
    hid_free_enumeration(list);
    return out;
}

std::unique_ptr<HidDevice> HidrawBackend::Open(const std::string& path) {
    if (!Owns(path)) return nullptr;
    hid_device* dev = hid_open_path(path.c_str());
    if (!dev) return nullptr;
    return std::make_unique<HidrawDevice>(dev, path);
}

std::unique_ptr<HidWatch> HidrawBackend::Watch() { return std::make_unique<HidrawWatch>(*this); }

}  // namespace pallix
