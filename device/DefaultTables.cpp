#include "device/DefaultTables.h"

namespace pallix {

void CDefaultTables::RewriteForModel(int model) {
    model_ = model;
    deviceWide_ = DeviceWideDefaults(model);
    for (int p = 0; p < memmap::kProfileCount; ++p) {
        blocks_[static_cast<std::size_t>(p)] = ProfileBlockDefaults(p, model);
        directories_[static_cast<std::size_t>(p)] = DirectoryDefaults(p);
    }
}

const std::vector<AddressValue>& CDefaultTables::ProfileBlock(int profile) const {
    return profile >= 0 && profile < memmap::kProfileCount ? blocks_[static_cast<std::size_t>(profile)] : empty_;
}

const std::vector<AddressValue>& CDefaultTables::Directory(int profile) const {
    return profile >= 0 && profile < memmap::kProfileCount ? directories_[static_cast<std::size_t>(profile)] : empty_;
}

}  // namespace pallix
