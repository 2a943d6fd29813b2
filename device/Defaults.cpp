#include "device/Defaults.h"

#include <algorithm>

#include "device/ButtonFunctions.h"
#include "device/MemoryMap.h"

namespace pallix {

namespace {

using namespace memmap;

struct ModelValues {
    std::uint8_t control;
    std::array<std::uint8_t, kLevelCount> sensitivity;
    std::uint8_t deviceSettings;
};

constexpr ModelValues kModel1801Values{0x40, {9, 18, 36, 56}, 0x50};
constexpr ModelValues kModel1802Values{0x41, {4, 8, 12, 20}, 0x70};

// Five profiles, profile 0 current.
constexpr std::uint8_t kDefaultProfileByte = 0x50;

// Lighting zone 0, and zones 1-3, per profile.
constexpr std::array<std::uint8_t, kProfileCount> kFirstZoneLighting{33, 37, 38, 35, 39};
constexpr std::array<std::uint8_t, kProfileCount> kOtherZoneLighting{17, 21, 22, 19, 23};

const ModelValues& ValuesFor(int model) {
    return model == kModel1802 ? kModel1802Values : kModel1801Values;
}

// The default byte at one offset of a profile block.
std::uint8_t BlockDefault(int profile, int offset, const ModelValues& m) {
    if (offset == kControlOffset) return m.control;
    if (offset >= kSensitivityOffset && offset < kSensitivityOffset + kLevelCount)
        return m.sensitivity[offset - kSensitivityOffset];
    if (offset >= kSensitivityCopyOffset && offset < kSensitivityCopyOffset + kLevelCount)
        return m.sensitivity[offset - kSensitivityCopyOffset];
    if (offset == kLightingOffset) return kFirstZoneLighting[profile];
    if (offset > kLightingOffset && offset < kLightingOffset + kLightingZones)
        return kOtherZoneLighting[profile];
    if (offset >= kButtonTypeOffset && offset < kButtonTypeOffset + kButtonCount)
        return kStandardFunctions[kFactoryFunctions[offset - kButtonTypeOffset]].function.type;
    const int paramEnd = kButtonParamOffset + kButtonParamCount * kButtonCount;
    if (offset >= kButtonParamOffset && offset < paramEnd) {
        const int rel = offset - kButtonParamOffset;
        return kStandardFunctions[kFactoryFunctions[rel / kButtonParamCount]]
            .function.params[rel % kButtonParamCount];
    }
    return 0;
}

std::array<int, kProfileBlockDefaultCount> MakeOffsets() {
    std::array<int, kProfileBlockDefaultCount> offsets{};
    int n = 0;
    for (int o = 0; o <= 12; ++o) offsets[n++] = o;
    for (int o = 14; o <= 21; ++o) offsets[n++] = o;
    for (int o = 23; o <= 54; ++o) offsets[n++] = o;
    return offsets;
}

}  // namespace

const std::array<int, kProfileBlockDefaultCount>& ProfileBlockDefaultOffsets() {
    static const auto offsets = MakeOffsets();
    return offsets;
}

std::vector<AddressValue> DeviceWideDefaults(int model) {
    return {{kDeviceSettingsAddress, ValuesFor(model).deviceSettings},
            {kProfileByteAddress, kDefaultProfileByte}};
}

std::vector<AddressValue> ProfileBlockDefaults(int profile, int model) {
    std::vector<AddressValue> out;
    if (profile < 0 || profile >= kProfileCount) return out;
    const ModelValues& m = ValuesFor(model);
    out.reserve(kProfileBlockDefaultCount);
    for (int offset : ProfileBlockDefaultOffsets())
        out.push_back({ProfileBlock(profile) + offset, BlockDefault(profile, offset, m)});
    return out;
}

std::vector<AddressValue> DirectoryDefaults(int profile) {
    std::vector<AddressValue> out;
    if (profile < 0 || profile >= kProfileCount) return out;
    out.reserve(kDirectoryDefaultCount);
    for (int a = DirectoryEntry(profile, 0); a < DirectoryEntry(profile, kDirectoryEntries); ++a)
        out.push_back({a, 0});
    return out;
}

void FillDefaultMemory(std::span<std::uint8_t> memory, int model) {
    std::fill(memory.begin(), memory.end(), std::uint8_t{0});
    auto put = [&](const std::vector<AddressValue>& table) {
        for (const auto& [address, value] : table)
            if (address >= 0 && static_cast<std::size_t>(address) < memory.size()) memory[address] = value;
    };
    put(DeviceWideDefaults(model));
    for (int p = 0; p < kProfileCount; ++p) {
        put(ProfileBlockDefaults(p, model));
        put(DirectoryDefaults(p));
    }
}

}  // namespace pallix
