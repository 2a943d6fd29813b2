#include "device/TransferLists.h"

#include <algorithm>

#include "device/CIcRK44.h"
#include "device/DefaultTables.h"
#include "device/Defaults.h"
#include "device/MemoryMap.h"

namespace pallix {

using namespace memmap;

AddressList BuildLoadList() {
    AddressList list;
    list.addresses.reserve(kLoadListSize);
    list.addresses.push_back(kDeviceSettingsAddress);
    list.addresses.push_back(kProfileByteAddress);
    for (int p = 0; p < kProfileCount; ++p)
        for (int offset : ProfileBlockDefaultOffsets()) list.addresses.push_back(ProfileBlock(p) + offset);
    return list;
}

AddressList BuildApplyList(const CIcRK44& memory, int profile) {
    AddressList list;
    if (profile < 0 || profile >= kProfileCount) return list;
    for (int offset : ProfileBlockDefaultOffsets()) {
        const int address = ProfileBlock(profile) + offset;
        if (memory.Entry(address).dirty) list.addresses.push_back(address);
    }
    for (int k = 0; k < kButtonCount; ++k) {
        const int slot = MacroSlot(profile, k);
        const CacheEntry& first = memory.Entry(slot);
        if (!first.dirty) continue;
        // Never past the slot, whatever the first byte says.
        const int span = std::min((first.value & 0xFF) + 4, kMacroSlotSize);
        for (int address = slot; address < slot + span; ++address)
            if (memory.Entry(address).dirty) list.addresses.push_back(address);
    }
    return list;
}

AddressList SetCacheToDefaults(CIcRK44& memory, const CDefaultTables& tables, int profile) {
    AddressList list;
    auto apply = [&](const std::vector<AddressValue>& table) {
        for (const auto& [address, value] : table) {
            CacheEntry& e = memory.Entry(address);
            const bool clean = e.valid && e.value == value;
            if (!clean || e.dirty) {
                e.value = value;
                e.dirty = 1;
                list.addresses.push_back(address);
            }
        }
    };
    apply(tables.ProfileBlock(profile));
    apply(tables.Directory(profile));
    return list;
}

}  // namespace pallix
