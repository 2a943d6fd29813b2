#pragma once
// What every front end of the virtual mouse shares: the firmware model, its memory
// file, the trace, the control socket for `pallix-vmouse send` and the signals that
// stop it. A front end (device sockets, a USB gadget) brings the wire and plugging.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tools/vmouse/Trace.h"
#include "tools/vmouse/VirtualMouse.h"

namespace pallix::vmouse {

struct Options {
    std::string name = "vmouse";
    int model = memmap::kModel1802;
    std::string memoryPath;  // empty: <state folder>/<name>.mem
    std::string tracePath;
    int latencyMs = 0;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::optional<std::string> product;
    std::optional<std::string> manufacturer;
    Faults faults;
    bool startUnplugged = false;
    bool denyAccess = false;  // refuse clients as a node closed to the user would
    bool resetMemory = false;
    Layout layout = Layout::kStandard;
};

// Control socket of the mouse with this name.
std::string ControlSocketPath(const std::string& name);

class MouseHost {
public:
    explicit MouseHost(Options options);
    virtual ~MouseHost();
    MouseHost(const MouseHost&) = delete;
    MouseHost& operator=(const MouseHost&) = delete;

    // A control command (the words after `send`); returns "ok..." or "error: ...".
    std::string Command(const std::vector<std::string>& words);

protected:
    // Loads the memory, opens the trace, the control socket and the signal fd.
    bool StartHost(std::string& error);

    virtual bool Plugged() const = 0;
    virtual bool Plug(std::string& error) = 0;
    virtual void Unplug() = 0;
    // Puts one input report on the wire of this interface.
    virtual void SendInput(int interfaceNumber, const Bytes& report) = 0;
    // Words only this front end knows; nullopt: unknown.
    virtual std::optional<std::string> FrontEndCommand(const std::vector<std::string>&) { return std::nullopt; }

    // Feature reports in the 9-byte form (id first) as they arrived on an interface:
    // traced, applied to the memory interface only, the memory saved when it changed.
    bool SetFeature(int interfaceNumber, std::span<const std::uint8_t> report);
    std::optional<Bytes> GetFeature(int interfaceNumber, std::uint8_t reportId, std::size_t length);
    // After each feature report: true when the vanish fault wants the mouse unplugged.
    bool VanishDue() { return mouse_.CountReportForVanish(); }
    // The configured latency, before a feature report is answered.
    void Pause() const;
    void AcceptControl();  // one `send` connection, served at once
    void TraceLine(const char* what, int interfaceNumber, std::span<const std::uint8_t> bytes, bool failed = false);

    int ControlFd() const { return controlFd_; }
    int SignalFd() const { return signalFd_; }
    bool QuitRequested() const { return quit_; }

    Options options_;
    VirtualMouse mouse_;

private:
    void Persist();
    std::string Status() const;

    std::string controlPath_;
    Trace trace_;
    int controlFd_ = -1;
    int signalFd_ = -1;
    bool quit_ = false;
};

}  // namespace pallix::vmouse
