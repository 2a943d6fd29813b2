// libFuzzer target: any packet on the device socket, and any feature report the
// virtual mouse is handed, must be decoded or refused without reading out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/VirtualHidProtocol.h"
#include "tools/vmouse/VirtualMouse.h"

using namespace pallix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> packet(data, size);
    const auto m = vhid::Decode(packet);
    if (m) {
        // What decodes must survive a round trip unchanged.
        vhid::Bytes again;
        switch (m->type) {
        case vhid::kInfo: again = vhid::EncodeInfo(m->info); break;
        case vhid::kSetFeature: again = vhid::EncodeSetFeature(m->report); break;
        case vhid::kInput: again = vhid::EncodeInput(m->report); break;
        case vhid::kGetResult: again = vhid::EncodeGetResult(m->status, m->report); break;
        default: again.assign(packet.begin(), packet.end()); break;
        }
        if (again != vhid::Bytes(packet.begin(), packet.end())) std::abort();
    }

    static vmouse::VirtualMouse mouse(0x1802, vmouse::VirtualMouse::FactoryMemory(0x1802));
    if (m && m->type == vhid::kSetFeature) mouse.SetFeature(m->report);
    if (m && m->type == vhid::kGetFeature) {
        const auto reply = mouse.GetFeature(m->reportId, m->length);
        if (reply && reply->size() > m->length) std::abort();
    }
    return 0;
}
