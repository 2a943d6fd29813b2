#pragma once
// Serves one virtual mouse: its device socket in the virtual-device folder (present
// while plugged), its control socket for `pallix-vmouse send`, the memory file and
// the trace. One thread, one poll loop.
#include <cstdint>
#include <optional>
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

class MouseServer {
public:
    explicit MouseServer(Options options);
    ~MouseServer();
    MouseServer(const MouseServer&) = delete;
    MouseServer& operator=(const MouseServer&) = delete;

    // Loads the memory, opens trace and sockets. False with a message in error.
    bool Start(std::string& error);
    // Until `quit`, SIGTERM or SIGINT. Returns the exit code.
    int Run();

    // A control command (the words after `send`); returns "ok..." or "error: ...".
    std::string Command(const std::vector<std::string>& words);

private:
    struct Client {
        int fd = -1;
        bool control = false;
        bool greeted = false;
        int interfaceNumber = 0;
    };
    // One listening device socket per interface, present while plugged.
    struct Listener {
        int interfaceNumber = 0;
        int fd = -1;
        std::string path;
    };

    bool Plug(std::string& error);
    void Unplug();
    bool Plugged() const { return !listeners_.empty(); }
    void AcceptOn(int listenFd, bool control, int interfaceNumber = 0);
    bool ServeDevice(Client& c);   // false: drop the client
    void ServeControl(Client& c);
    void Broadcast(const std::vector<VirtualMouse::Report>& reports);
    std::string Emit(const VirtualMouse::Event& e);
    void Persist();
    void SetDenyAccess(bool deny);
    void Pause() const;
    std::string Status() const;

    Options options_;
    std::string deviceDir_, controlPath_;
    std::vector<Listener> listeners_;
    VirtualMouse mouse_;
    Trace trace_;
    int controlFd_ = -1;
    int signalFd_ = -1;
    std::vector<Client> clients_;
    bool quit_ = false;
};

}  // namespace pallix::vmouse
