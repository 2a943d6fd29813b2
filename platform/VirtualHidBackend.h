#pragma once
// HID interfaces of running pallix-vmouse processes. Each virtual mouse listens on
// a socket in the virtual-device folder; its path is "vhid:" + the socket's name.
#include <string>

#include "device/HidBackend.h"

namespace pallix {

// $XDG_RUNTIME_DIR/pallix-ostrel/vhid (empty when the runtime folder is unusable).
std::string VirtualHidDir();
// Folder of the mice's own files (control sockets, memory files).
std::string VirtualMouseStateDir();

class VirtualHidBackend : public HidBackend {
public:
    // An empty folder means VirtualHidDir().
    explicit VirtualHidBackend(std::string folder = {});

    std::string Name() const override { return "virtual"; }
    bool Owns(const std::string& path) const override;
    std::vector<HidDeviceInfo> Enumerate() override;
    std::unique_ptr<HidDevice> Open(const std::string& path) override;
    std::unique_ptr<HidWatch> Watch() override;

    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
};

}  // namespace pallix
