#pragma once
// The address lists the bulk transfers work from.
#include <vector>

namespace pallix {

class CIcRK44;
class CDefaultTables;

struct AddressList {
    static constexpr int kCapacity = 16384;
    std::vector<int> addresses;
    int position = 0;
    int Count() const { return static_cast<int>(addresses.size()); }
};

// 129, 140, then the 53 profile-block addresses of profiles 0-4: 267 addresses.
AddressList BuildLoadList();
inline constexpr int kLoadListSize = 267;

// The dirty profile-block bytes of the profile, then the dirty bytes of each macro
// slot whose first byte (the script length the slot starts with) is dirty.
AddressList BuildApplyList(const CIcRK44& memory, int profile);

// Sets the profile's block and directory bytes in the cache to the defaults and
// lists every byte that must be written for that.
AddressList SetCacheToDefaults(CIcRK44& memory, const CDefaultTables& tables, int profile);

}  // namespace pallix
