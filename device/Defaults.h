#pragma once
// The default values the system writes on a restore, and that a fresh mouse holds.
// Model 0x1802 selects the second column of the model-dependent values; any other
// model gets the 0x1801 values.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace pallix {

struct AddressValue {
    int address = 0;
    std::uint8_t value = 0;
    friend bool operator==(const AddressValue&, const AddressValue&) = default;
};

inline constexpr int kProfileBlockDefaultCount = 53;
inline constexpr int kDirectoryDefaultCount = 36;

// Offsets of a profile block that carry defaults, in table order (0-12, 14-21, 23-54).
const std::array<int, kProfileBlockDefaultCount>& ProfileBlockDefaultOffsets();

// Addresses 129 and 140.
std::vector<AddressValue> DeviceWideDefaults(int model);
// The 53 pairs of one profile block, in table order.
std::vector<AddressValue> ProfileBlockDefaults(int profile, int model);
// The 36 (all zero) pairs of one profile's nine directory entries.
std::vector<AddressValue> DirectoryDefaults(int profile);

// Fills a whole memory image: zero, then every default of every table.
void FillDefaultMemory(std::span<std::uint8_t> memory, int model);

}  // namespace pallix
