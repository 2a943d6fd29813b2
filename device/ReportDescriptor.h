#pragma once
// What a HID report descriptor says: its top-level collections, whether its reports
// are numbered, and where each field of each report lies. Parsed from the bytes a
// device gives, so nothing about an interface has to be guessed. Any byte sequence
// gives a result or nullopt; sizes are bounded.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pallix::hid {

inline constexpr std::size_t kMaxDescriptorSize = 4096;  // the kernel's limit

enum class ReportType : std::uint8_t { kInput, kOutput, kFeature };

// A usage with its page: page << 16 | id.
using Usage = std::uint32_t;
constexpr Usage MakeUsage(std::uint16_t page, std::uint16_t id) { return (Usage{page} << 16) | id; }

struct TopLevelCollection {
    Usage usage = 0;
    std::uint16_t Page() const { return static_cast<std::uint16_t>(usage >> 16); }
    std::uint16_t Id() const { return static_cast<std::uint16_t>(usage & 0xFFFF); }
};

struct Field {
    ReportType type = ReportType::kInput;
    std::uint8_t reportId = 0;      // 0 in a descriptor without report ids
    int collection = -1;            // index into collections, -1 outside every one
    std::uint32_t bitOffset = 0;    // after the report id byte
    std::uint32_t bitSize = 0;      // of one element
    std::uint32_t count = 0;
    bool constant = false;
    bool variable = false;          // one usage per element; else an array of usage indices
    std::int32_t logicalMinimum = 0;
    std::vector<Usage> usages;      // listed usages, in order
    Usage usageMinimum = 0, usageMaximum = 0;  // a range, when usages is empty
    bool hasRange = false;

    // The usage of element i of a variable field (the last one repeats), 0 if none.
    Usage UsageOf(std::uint32_t element) const;
};

struct ReportDescriptor {
    bool numbered = false;
    std::vector<TopLevelCollection> collections;
    std::vector<Field> fields;

    // Data bits of a report (without the id byte), 0 when there is no such report.
    std::uint32_t ReportBits(ReportType type, std::uint8_t reportId) const;
    // The distinct report ids of this type with a field in collection c, in order.
    std::vector<std::uint8_t> ReportIds(int collection, ReportType type) const;
};

// nullopt, with the reason in error, when the bytes are not a descriptor.
std::optional<ReportDescriptor> ParseReportDescriptor(std::span<const std::uint8_t> bytes, std::string* error = nullptr);

}  // namespace pallix::hid
