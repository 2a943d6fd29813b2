#include "device/ReportDescriptor.h"

#include <algorithm>
#include <map>
#include <utility>

namespace pallix::hid {

namespace {

constexpr std::size_t kMaxFields = 1024;
constexpr std::size_t kMaxUsages = 1024;     // listed usages of one main item
constexpr std::size_t kMaxCollections = 256;
constexpr int kMaxDepth = 32;
constexpr int kMaxPushes = 16;
constexpr std::uint32_t kMaxReportBits = 8 * kMaxDescriptorSize;

// Item tags (type bits included): main, global, local.
enum : std::uint8_t {
    kInput = 0x80, kOutput = 0x90, kFeature = 0xB0, kCollection = 0xA0, kEndCollection = 0xC0,
    kUsagePage = 0x04, kLogicalMinimum = 0x14, kLogicalMaximum = 0x24, kPhysicalMinimum = 0x34,
    kPhysicalMaximum = 0x44, kUnitExponent = 0x54, kUnit = 0x64, kReportSize = 0x74, kReportId = 0x84,
    kReportCount = 0x94, kPush = 0xA4, kPop = 0xB4,
    kUsage = 0x08, kUsageMinimum = 0x18, kUsageMaximum = 0x28,
};

struct Globals {
    std::uint16_t usagePage = 0;
    std::int32_t logicalMinimum = 0;
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint8_t reportId = 0;
};

struct Locals {
    std::vector<Usage> usages;
    Usage minimum = 0, maximum = 0;
    bool hasMinimum = false, hasMaximum = false;
};

// A short usage takes the current page; a 4-byte one carries its own.
Usage Extend(std::uint32_t value, std::size_t size, std::uint16_t page) {
    return size == 4 ? value : MakeUsage(page, static_cast<std::uint16_t>(value));
}

bool Fail(std::string* error, std::string text) {
    if (error) *error = std::move(text);
    return false;
}

class Parser {
public:
    explicit Parser(std::string* error) : error_(error) {}

    bool Run(std::span<const std::uint8_t> bytes) {
        if (bytes.size() > kMaxDescriptorSize) return Fail(error_, "descriptor longer than 4096 bytes");
        std::size_t pos = 0;
        while (pos < bytes.size()) {
            const std::uint8_t prefix = bytes[pos];
            if (prefix == 0xFE) {  // long item: size, tag, data; nothing here uses one
                if (pos + 2 >= bytes.size()) return Fail(error_, "truncated long item");
                const std::size_t size = bytes[pos + 1];
                if (pos + 3 + size > bytes.size()) return Fail(error_, "truncated long item");
                pos += 3 + size;
                continue;
            }
            const std::size_t size = (prefix & 0x03) == 3 ? 4 : (prefix & 0x03);
            if (pos + 1 + size > bytes.size()) return Fail(error_, "truncated item at byte " + std::to_string(pos));
            std::uint32_t value = 0;
            for (std::size_t i = 0; i < size; ++i) value |= std::uint32_t{bytes[pos + 1 + i]} << (8 * i);
            std::int32_t signedValue = static_cast<std::int32_t>(value);
            if (size == 1) signedValue = static_cast<std::int8_t>(value);
            if (size == 2) signedValue = static_cast<std::int16_t>(value);
            if (!Item(static_cast<std::uint8_t>(prefix & 0xFC), value, signedValue, size)) return false;
            pos += 1 + size;
        }
        if (depth_ != 0) return Fail(error_, "collection not closed");
        return true;
    }

    ReportDescriptor Take() { return std::move(out_); }

private:
    bool Item(std::uint8_t tag, std::uint32_t value, std::int32_t signedValue, std::size_t size) {
        switch (tag) {
        case kUsagePage: globals_.usagePage = static_cast<std::uint16_t>(value); return true;
        case kLogicalMinimum: globals_.logicalMinimum = signedValue; return true;
        case kLogicalMaximum: case kPhysicalMinimum: case kPhysicalMaximum: case kUnitExponent: case kUnit:
            return true;
        case kReportSize:
            if (value > 32 * 8) return Fail(error_, "report size too large");
            globals_.reportSize = value;
            return true;
        case kReportCount:
            if (value > kMaxReportBits) return Fail(error_, "report count too large");
            globals_.reportCount = value;
            return true;
        case kReportId:
            if (value == 0 || value > 0xFF) return Fail(error_, "report id must be 1-255");
            globals_.reportId = static_cast<std::uint8_t>(value);
            out_.numbered = true;
            return true;
        case kPush:
            if (stack_.size() >= kMaxPushes) return Fail(error_, "too many pushes");
            stack_.push_back(globals_);
            return true;
        case kPop:
            if (stack_.empty()) return Fail(error_, "pop without push");
            globals_ = stack_.back();
            stack_.pop_back();
            return true;
        case kUsage:
            if (locals_.usages.size() >= kMaxUsages) return Fail(error_, "too many usages");
            locals_.usages.push_back(Extend(value, size, globals_.usagePage));
            return true;
        case kUsageMinimum:
            locals_.minimum = Extend(value, size, globals_.usagePage);
            locals_.hasMinimum = true;
            return true;
        case kUsageMaximum:
            locals_.maximum = Extend(value, size, globals_.usagePage);
            locals_.hasMaximum = true;
            return true;
        case kCollection: return Collection();
        case kEndCollection:
            if (depth_ == 0) return Fail(error_, "end collection without collection");
            if (--depth_ == 0) current_ = -1;
            locals_ = {};
            return true;
        case kInput: return Main(ReportType::kInput, value);
        case kOutput: return Main(ReportType::kOutput, value);
        case kFeature: return Main(ReportType::kFeature, value);
        default:
            // Other local items (designators, strings, delimiters) and reserved tags
            // carry nothing this reader needs; the kernel passes them over too.
            return true;
        }
    }

    bool Collection() {
        if (depth_ >= kMaxDepth) return Fail(error_, "collections nested too deep");
        if (depth_ == 0) {
            if (out_.collections.size() >= kMaxCollections) return Fail(error_, "too many collections");
            const Usage usage = !locals_.usages.empty() ? locals_.usages.front()
                                : locals_.hasMinimum ? locals_.minimum : MakeUsage(globals_.usagePage, 0);
            out_.collections.push_back({usage});
            current_ = static_cast<int>(out_.collections.size()) - 1;
        }
        ++depth_;
        locals_ = {};
        return true;
    }

    bool Main(ReportType type, std::uint32_t flags) {
        Field f;
        f.type = type;
        f.reportId = globals_.reportId;
        f.collection = current_;
        f.bitSize = globals_.reportSize;
        f.count = globals_.reportCount;
        f.constant = (flags & 0x01) != 0;
        f.variable = (flags & 0x02) != 0;
        f.logicalMinimum = globals_.logicalMinimum;
        f.usages = std::move(locals_.usages);
        if (locals_.hasMinimum && locals_.hasMaximum) {
            if (locals_.maximum < locals_.minimum) return Fail(error_, "usage maximum below minimum");
            f.usageMinimum = locals_.minimum;
            f.usageMaximum = locals_.maximum;
            f.hasRange = true;
        }
        locals_ = {};
        const std::uint64_t bits = std::uint64_t{f.bitSize} * f.count;
        std::uint32_t& offset = offsets_[{static_cast<int>(type), f.reportId}];
        if (offset + bits > kMaxReportBits) return Fail(error_, "report longer than 4096 bytes");
        f.bitOffset = offset;
        offset += static_cast<std::uint32_t>(bits);
        if (out_.fields.size() >= kMaxFields) return Fail(error_, "too many fields");
        out_.fields.push_back(std::move(f));
        return true;
    }

    std::string* error_;
    ReportDescriptor out_;
    Globals globals_;
    std::vector<Globals> stack_;
    Locals locals_;
    int depth_ = 0;
    int current_ = -1;
    std::map<std::pair<int, std::uint8_t>, std::uint32_t> offsets_;
};

}  // namespace

Usage Field::UsageOf(std::uint32_t element) const {
    if (!usages.empty()) return usages[std::min<std::size_t>(element, usages.size() - 1)];
    if (!hasRange) return 0;
    const std::uint64_t u = std::uint64_t{usageMinimum} + element;
    return u > usageMaximum ? usageMaximum : static_cast<Usage>(u);
}

std::uint32_t ReportDescriptor::ReportBits(ReportType type, std::uint8_t reportId) const {
    std::uint32_t bits = 0;
    for (const Field& f : fields)
        if (f.type == type && f.reportId == reportId) bits = std::max(bits, f.bitOffset + f.bitSize * f.count);
    return bits;
}

std::vector<std::uint8_t> ReportDescriptor::ReportIds(int collection, ReportType type) const {
    std::vector<std::uint8_t> ids;
    for (const Field& f : fields)
        if (f.collection == collection && f.type == type && std::find(ids.begin(), ids.end(), f.reportId) == ids.end())
            ids.push_back(f.reportId);
    return ids;
}

std::optional<ReportDescriptor> ParseReportDescriptor(std::span<const std::uint8_t> bytes, std::string* error) {
    Parser parser(error);
    if (!parser.Run(bytes)) return std::nullopt;
    return parser.Take();
}

}  // namespace pallix::hid
