// libFuzzer target: any bytes given as a report descriptor, and any report read
// against what they declare, must parse or be refused without reading out of bounds.
#include <cstddef>
#include <cstdint>

#include "device/HidInterfaceRoles.h"

using namespace pallix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first byte splits the input into a descriptor and a report.
    if (size == 0) return 0;
    const std::size_t split = std::min<std::size_t>(data[0], size - 1);
    const std::span<const std::uint8_t> descriptor(data + 1 + split, size - 1 - split);
    const auto parsed = hid::ParseReportDescriptor(descriptor);
    if (!parsed) return 0;
    hid::RolesOf(*parsed);
    const hid::SideButtonDecoder decoder(*parsed);
    decoder.Held(data + 1, split);
    for (const hid::Field& f : parsed->fields)
        for (std::uint32_t e = 0; e < f.count && e < 64; ++e) (void)f.UsageOf(e);
    return 0;
}
