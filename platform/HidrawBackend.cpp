#include "platform/HidrawBackend.h"

#include "common/Utf8.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <map>
#include <set>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <hidapi.h>
#include <libudev.h>

#include "platform/DeviceNodeAccess.h"
#include "platform/HidWatchBase.h"

namespace pallix {

namespace {

constexpr unsigned short kGenericDesktop = 0x0001;
constexpr unsigned short kUsageMouse = 0x0002;
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

// The USB (or other bus) device a hidraw node belongs to, so that every interface
// of a mouse counts as a mouse interface.
std::string PhysicalDeviceOf(const std::string& devnode) {
    const std::size_t slash = devnode.rfind('/');
    const std::string node = slash == std::string::npos ? devnode : devnode.substr(slash + 1);
    const std::string link = "/sys/class/hidraw/" + node + "/device";
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
    std::map<std::string, std::size_t> byPath;
    std::set<std::string> mouseDevices;
    hid_device_info* list = hid_enumerate(0, 0);
    // hidapi lists one entry per top-level collection, all with the same path.
    for (hid_device_info* d = list; d; d = d->next) {
        if (!d->path) continue;
        const std::string path = d->path;
        const bool mouseCollection = d->usage_page == kGenericDesktop && d->usage == kUsageMouse;
        if (mouseCollection) mouseDevices.insert(PhysicalDeviceOf(path));
        auto it = byPath.find(path);
        if (it != byPath.end()) {
            out[it->second].isMouse = out[it->second].isMouse || mouseCollection;
            continue;
        }
        byPath[path] = out.size();
        out.push_back({path, d->vendor_id, d->product_id, d->release_number, OptionalString(d->product_string),
                       OptionalString(d->manufacturer_string), mouseCollection});
    }
    hid_free_enumeration(list);
    for (HidDeviceInfo& info : out) {
        if (!info.isMouse && mouseDevices.count(PhysicalDeviceOf(info.path))) info.isMouse = true;
        info.accessDenied = DeviceNodeAccessDenied(info.path);
    }
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
