#pragma once
// Serves one virtual mouse over sockets: a device socket per interface in the
// virtual-device folder (present while plugged), besides what MouseHost keeps.
// One thread, one poll loop.
#include <string>
#include <vector>

#include "tools/vmouse/MouseHost.h"

namespace pallix::vmouse {

class MouseServer : public MouseHost {
public:
    explicit MouseServer(Options options);
    ~MouseServer() override;

    // Loads the memory, opens trace and sockets. False with a message in error.
    bool Start(std::string& error);
    // Until `quit`, SIGTERM or SIGINT. Returns the exit code.
    int Run();

private:
    struct Client {
        int fd = -1;
        bool greeted = false;
        int interfaceNumber = 0;
    };
    // One listening device socket per interface, present while plugged.
    struct Listener {
        int interfaceNumber = 0;
        int fd = -1;
        std::string path;
    };

    bool Plugged() const override { return !listeners_.empty(); }
    bool Plug(std::string& error) override;
    void Unplug() override;
    void SendInput(int interfaceNumber, const Bytes& report) override;
    std::optional<std::string> FrontEndCommand(const std::vector<std::string>& words) override;

    bool ServeDevice(Client& c);  // false: drop the client
    void SetDenyAccess(bool deny);

    std::string deviceDir_;
    std::vector<Listener> listeners_;
    std::vector<Client> clients_;
};

}  // namespace pallix::vmouse
