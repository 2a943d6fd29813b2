#pragma once
// Finds the mouse among the HID interfaces of the registered backends, keeps a
// table of up to 127 of them, exchanges feature and input reports with an entry,
// and reports arrival and removal to one registered receiver.
//
// Strings are UTF-8. Pointers returned by the table accessors stay valid until the
// next CreateDeviceTable; those of the string helpers until their next call.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "device/HidBackend.h"

namespace pallix {

struct SUsbId {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// Receives DBT_DEVICEARRIVAL (0x8000) and DBT_DEVICEREMOVECOMPLETE (0x8004), on the
// thread that runs the watch scheduler.
class HidNotifyReceiver {
public:
    virtual ~HidNotifyReceiver() = default;
    virtual void OnDeviceChange(std::uint32_t event, const std::string& path) = 0;
};

// Where "Open failed" and the device list go (text, caption). The default writes to
// stderr.
using HidMessageSink = std::function<void(const std::string& text, const std::string& caption)>;

// An open table entry (the counterpart of a file handle); -1 is invalid.
enum class HidHandle : int {};
inline constexpr HidHandle kInvalidHidHandle{-1};

class CHidClient {
public:
    static constexpr int kMaxDevices = 127;
    static constexpr std::uint16_t kNone16 = 0xFFFF;
    enum class InterfaceClass { Mouse, Hid };

    explicit CHidClient(std::vector<std::shared_ptr<HidBackend>> backends = {});
    virtual ~CHidClient();
    // Copies the table and the kept receiver; open handles are shared, a live
    // registration is not (only the original owns it).
    CHidClient(const CHidClient& other);
    CHidClient& operator=(const CHidClient& other);

    void AddBackend(std::shared_ptr<HidBackend> backend);
    void SetMessageSink(HidMessageSink sink);
    void SetWatchScheduler(std::shared_ptr<HidWatchScheduler> scheduler);

    // 1 when at least one backend is registered.
    int LoadDll();

    int CreateDeviceTable(std::uint16_t vid, std::uint16_t pid, bool flag);
    int CreateDeviceTable(const SUsbId* ids, int idCount);
    int CreateDeviceTable(const SUsbId* ids, int idCount, std::uint16_t minVersion, std::uint16_t maxVersion);
    int CreateDeviceTable(const SUsbId* ids, int idCount, std::uint16_t minVersion, std::uint16_t maxVersion,
                          std::uint16_t version);
    int CreateDeviceTable(const SUsbId* ids, int idCount, const std::uint16_t* versions, int versionCount);
    int CreateDeviceTable(const std::uint16_t* versions, int versionCount);

    int GetRecognizedDevices() const { return count_; }
    const char* GetDevice(int i) const;
    const char* GetDeviceName(int i) const;
    const char* GetVendorName(int i) const;
    const char* GetDeviceID(int i) const;
    std::uint16_t GetDeviceVID(int i) const;
    std::uint16_t GetDevicePID(int i) const;
    std::uint16_t GetDeviceVer(int i) const;
    // The entry is there but this user may not open it (see AccessHelp.h).
    bool GetDeviceAccessDenied(int i) const;
    // The entry's USB interface number (-1: none or no entry), its report descriptor
    // and the device it belongs to (shared by the interfaces of one mouse).
    int GetDeviceInterface(int i) const;
    const std::vector<std::uint8_t>* GetDeviceReportDescriptor(int i) const;
    const char* GetPhysicalDevice(int i) const;
    InterfaceClass GetInterfaceClass() const { return class_; }

    HidHandle Open(int i);
    int Close(HidHandle handle);
    int Write(int i, const std::uint8_t* report, int length);
    int Read(int i, std::uint8_t* report, int length);
    // timeoutMs -1 waits until a report arrives; on a timeout length becomes 0 and
    // the result is 0.
    int ReadInputReport(int i, std::uint8_t* buffer, int& length, int timeoutMs = -1);
    // Up to 256 bytes (one input report) from an open handle; waits at most
    // timeoutMs (-1: until one arrives). 0 on failure, timeout or bad handle.
    int Read(HidHandle handle, std::uint8_t* buffer, int timeoutMs = -1);

    const char* Id2ProductString(HidHandle handle);
    const char* Id2ManufactureString(HidHandle handle);
    static const char* Id2String(std::uint16_t vid, std::uint16_t pid);

    int RegisterNotify(HidNotifyReceiver* receiver);
    int UnRegisterNotify();
    int ReRegisterNotify(HidNotifyReceiver* receiver);
    int RecoverRegisterNotify();
    bool IsRegistered() const { return registered_; }
    // Runs the watches once and delivers what changed; the scheduler calls it.
    void PollNotifications();

    static int IsCorvexProduct(std::uint16_t vid, std::uint16_t pid);
    // Types 0-4 as described in the class notes; the text also goes to the sink.
    std::string ShowCurrentTable(int type);
    // Device-registry repair has no counterpart on Linux: does nothing, returns 0.
    int ModifyDeviceRegistry(bool flag);

private:
    struct Entry {
        std::string path;
        std::string name;
        std::string vendor;
        std::string id;
        std::uint16_t version = 0, vid = 0, pid = 0;
        bool accessDenied = false;
        int interfaceNumber = -1;
        std::vector<std::uint8_t> reportDescriptor;
        std::string physical;
    };
    using Accept = std::function<bool(const HidDeviceInfo&)>;

    const Entry* At(int i) const;
    int Build(InterfaceClass cls, bool filterCol03, const Accept& accept);
    bool EnsureTable();
    std::unique_ptr<HidDevice> OpenEntry(int i, bool reportFailure);
    HidBackend* BackendFor(const std::string& path) const;
    HidDevice* DeviceOf(HidHandle handle) const;
    int Register(HidNotifyReceiver* receiver);
    int Unregister();

    std::vector<std::shared_ptr<HidBackend>> backends_;
    HidMessageSink sink_;
    std::shared_ptr<HidWatchScheduler> scheduler_;
    InterfaceClass class_ = InterfaceClass::Mouse;
    std::vector<Entry> table_;
    int count_ = 0;

    std::map<HidHandle, std::shared_ptr<HidDevice>> handles_;
    int nextHandle_ = 1;

    bool registered_ = false;
    HidNotifyReceiver* active_ = nullptr;   // receiver of the live registration
    HidNotifyReceiver* kept_ = nullptr;     // the receiver RecoverRegisterNotify restores
    std::vector<std::unique_ptr<HidWatch>> watches_;

    std::string productBuffer_;
    std::string manufacturerBuffer_;
};

}  // namespace pallix
