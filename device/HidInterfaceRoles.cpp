#include "device/HidInterfaceRoles.h"

#include <algorithm>

#include "device/ReportFormat.h"

namespace pallix::hid {

namespace {

constexpr std::uint16_t kButtonPage = 0x0009;
constexpr std::uint32_t kMemoryReportBits = 8 * (report::kFeatureSize - 1);
constexpr std::uint32_t kEventReportBits = 8 * (report::kEventReportSize - 1);
constexpr std::size_t kMaxArrayIndex = 256;

bool IsSideButton(Usage u) {
    return (u >> 16) == kButtonPage && ((u & 0xFFFF) == 4 || (u & 0xFFFF) == 5);
}

// Bits [bit, bit + size) of the data, little-endian as HID lays them out.
std::uint32_t Bits(const std::uint8_t* data, std::size_t bytes, std::uint32_t bit, std::uint32_t size) {
    std::uint32_t value = 0;
    for (std::uint32_t i = 0; i < size && i < 32; ++i) {
        const std::uint32_t at = bit + i;
        if (at / 8 >= bytes) break;
        if (data[at / 8] & (1u << (at % 8))) value |= 1u << i;
    }
    return value;
}

}  // namespace

InterfaceRoles RolesOf(const ReportDescriptor& d) {
    InterfaceRoles roles;
    roles.parsed = true;
    roles.numbered = d.numbered;
    for (std::size_t c = 0; c < d.collections.size(); ++c) {
        const int index = static_cast<int>(c);
        const Usage usage = d.collections[c].usage;
        if (usage == kMouseCollection) {
            roles.mouseCollections.push_back(index + 1);
            for (std::uint8_t id : d.ReportIds(index, ReportType::kFeature))
                if (id == 0 && d.ReportBits(ReportType::kFeature, 0) == kMemoryReportBits) roles.memory = true;
        }
        if (usage == kEventCollection) {
            for (std::uint8_t id : d.ReportIds(index, ReportType::kInput))
                if (id == report::kEventReportId && d.ReportBits(ReportType::kInput, id) == kEventReportBits)
                    roles.events = true;
        }
    }
    return roles;
}

bool IsMemoryInterface(const InterfaceRoles& roles, int interfaceNumber) {
    constexpr int kSkippedInterface = 1, kSkippedCollection = 3;
    if (!roles.memory) return false;
    return std::any_of(roles.mouseCollections.begin(), roles.mouseCollections.end(), [&](int c) {
        return !(interfaceNumber == kSkippedInterface && c == kSkippedCollection);
    });
}

InterfaceRoles RolesOf(std::span<const std::uint8_t> descriptor) {
    if (descriptor.empty()) return {};
    const auto parsed = ParseReportDescriptor(descriptor);
    return parsed ? RolesOf(*parsed) : InterfaceRoles{};
}

SideButtonDecoder::SideButtonDecoder(const ReportDescriptor& d) : numbered_(d.numbered) {
    for (std::size_t c = 0; c < d.collections.size(); ++c) {
        if (d.collections[c].usage != kMouseCollection) continue;
        for (std::uint8_t id : d.ReportIds(static_cast<int>(c), ReportType::kInput)) {
            Report r;
            r.id = id;
            r.bytes = (d.ReportBits(ReportType::kInput, id) + 7) / 8;
            for (const Field& f : d.fields) {
                if (f.type != ReportType::kInput || f.reportId != id || f.constant || f.bitSize == 0) continue;
                if (f.variable) {
                    for (std::uint32_t e = 0; e < f.count; ++e) {
                        const Usage u = f.UsageOf(e);
                        if (!IsSideButton(u)) continue;
                        Spot s;
                        s.bit = f.bitOffset + e * f.bitSize;
                        s.size = f.bitSize;
                        s.button = static_cast<std::uint8_t>(u & 0xFFFF);
                        r.spots.push_back(s);
                    }
                    continue;
                }
                // An array: each element holds the index of a usage that is down.
                Spot s;
                s.array = true;
                s.bit = f.bitOffset;
                s.size = f.bitSize;
                s.count = f.count;
                s.logicalMinimum = f.logicalMinimum;
                bool any = false;
                const std::size_t span = f.usages.empty() && f.hasRange
                                             ? std::min<std::size_t>(f.usageMaximum - f.usageMinimum + 1, kMaxArrayIndex)
                                             : std::min(f.usages.size(), kMaxArrayIndex);
                for (std::size_t i = 0; i < span; ++i) {
                    const Usage u = f.UsageOf(static_cast<std::uint32_t>(i));
                    s.arrayButtons.push_back(IsSideButton(u) ? static_cast<std::uint8_t>(u & 0xFFFF) : 0);
                    any = any || IsSideButton(u);
                }
                if (any) r.spots.push_back(std::move(s));
            }
            if (!r.spots.empty()) reports_.push_back(std::move(r));
        }
    }
}

std::optional<std::uint8_t> SideButtonDecoder::Held(const std::uint8_t* data, std::size_t length) const {
    if (!data) return std::nullopt;
    const std::uint8_t id = numbered_ ? (length ? data[0] : 0) : 0;
    const auto it = std::find_if(reports_.begin(), reports_.end(), [id](const Report& r) { return r.id == id; });
    if (it == reports_.end() || (numbered_ && length == 0)) return std::nullopt;
    const std::uint8_t* body = numbered_ ? data + 1 : data;
    const std::size_t bytes = numbered_ ? length - 1 : length;
    if (bytes < it->bytes) return std::nullopt;  // not this report: too short
    std::uint8_t held = 0;
    auto mark = [&held](std::uint8_t button) { held |= button == 4 ? kButton4 : button == 5 ? kButton5 : 0; };
    for (const Spot& s : it->spots) {
        if (!s.array) {
            if (Bits(body, bytes, s.bit, s.size)) mark(s.button);
            continue;
        }
        for (std::uint32_t e = 0; e < s.count; ++e) {
            const std::int64_t index = std::int64_t{Bits(body, bytes, s.bit + e * s.size, s.size)} - s.logicalMinimum;
            if (index >= 0 && index < static_cast<std::int64_t>(s.arrayButtons.size()))
                mark(s.arrayButtons[static_cast<std::size_t>(index)]);
        }
    }
    return held;
}

}  // namespace pallix::hid
