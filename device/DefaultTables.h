#pragma once
// The default tables a restore writes: the two device-wide bytes, 53 profile-block
// bytes and 36 directory bytes per profile. They start with the values of model
// 0x1801; the model-dependent entries are rewritten after each load.
#include <array>
#include <vector>

#include "device/Defaults.h"
#include "device/MemoryMap.h"

namespace pallix {

class CDefaultTables {
public:
    CDefaultTables() { RewriteForModel(memmap::kModel1801); }

    void RewriteForModel(int model);
    int Model() const { return model_; }

    const std::vector<AddressValue>& DeviceWide() const { return deviceWide_; }
    // Empty for a profile outside 0..4.
    const std::vector<AddressValue>& ProfileBlock(int profile) const;
    const std::vector<AddressValue>& Directory(int profile) const;

private:
    int model_ = memmap::kModel1801;
    std::vector<AddressValue> deviceWide_;
    std::array<std::vector<AddressValue>, memmap::kProfileCount> blocks_;
    std::array<std::vector<AddressValue>, memmap::kProfileCount> directories_;
    std::vector<AddressValue> empty_;
};

}  // namespace pallix
