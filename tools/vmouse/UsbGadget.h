#pragma once
// The device side of a USB gadget through FunctionFS: the same mouse as MouseServer's
// sockets, seen by a kernel through its real USB HID drivers (dummy_hcd in a test VM,
// or a real UDC). Writes the interface descriptors of InterfacesOf(layout) to ep0,
// answers every control request there and sends input reports on each interface's IN
// endpoint. Plugging is the gadget's UDC binding in configfs, when it can be found.
#include <memory>
#include <string>
#include <vector>

#include "tools/vmouse/MouseHost.h"

struct usb_ctrlrequest;

namespace pallix::vmouse {

class EndpointWriter;

class UsbGadget : public MouseHost {
public:
    // ffsDir: where the FunctionFS instance of this gadget's function is mounted.
    UsbGadget(Options options, std::string ffsDir);
    ~UsbGadget() override;

    bool Start(std::string& error);
    int Run();

private:
    bool Plugged() const override { return enabled_; }
    bool Plug(std::string& error) override;
    void Unplug() override;
    void SendInput(int interfaceNumber, const Bytes& report) override;

    bool WriteDescriptors(std::string& error);
    bool ReadEvents();  // false: ep0 failed
    void Setup(const usb_ctrlrequest& request);
    void InterfaceRequest(const usb_ctrlrequest& request);
    void Reply(const usb_ctrlrequest& request, const Bytes& data);
    void Stall(const usb_ctrlrequest& request);
    void Acknowledge();

    std::string ffsDir_;
    std::string udcFile_;  // the gadget's UDC in configfs; empty when not found
    std::string udcName_;  // what to bind it to on `plug`
    std::vector<InterfaceShape> shapes_;
    int ep0_ = -1;
    bool enabled_ = false;
    std::vector<std::unique_ptr<EndpointWriter>> writers_;  // by interface index
};

}  // namespace pallix::vmouse
