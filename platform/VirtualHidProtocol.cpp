#include "platform/VirtualHidProtocol.h"

#include <algorithm>
#include <initializer_list>

namespace pallix::vhid {

namespace {

void Put16(Bytes& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutString(Bytes& out, const std::optional<std::string>& s) {
    if (!s) return;
    const std::size_t n = std::min(s->size(), kMaxString);
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), s->begin(), s->begin() + static_cast<std::ptrdiff_t>(n));
}

// Header bytes followed by a report, cut to kMaxReport.
Bytes Tagged(std::initializer_list<std::uint8_t> head, std::span<const std::uint8_t> report) {
    Bytes out(head);
    const auto n = static_cast<std::ptrdiff_t>(std::min(report.size(), kMaxReport));
    out.insert(out.end(), report.begin(), report.begin() + n);
    return out;
}

// Bounds-checked reader over one packet.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}
    bool U8(std::uint8_t& v) {
        if (pos_ + 1 > data_.size()) return false;
        v = data_[pos_++];
        return true;
    }
    bool U16(std::uint16_t& v) {
        std::uint8_t lo = 0, hi = 0;
        if (!U8(lo) || !U8(hi)) return false;
        v = static_cast<std::uint16_t>(lo | (hi << 8));
        return true;
    }
    bool String(std::string& s) {
        std::uint8_t n = 0;
        if (!U8(n) || n > kMaxString || pos_ + n > data_.size()) return false;
        s.assign(data_.begin() + static_cast<std::ptrdiff_t>(pos_),
                 data_.begin() + static_cast<std::ptrdiff_t>(pos_ + n));
        pos_ += n;
        return true;
    }
    bool Take(std::size_t n, std::vector<std::uint8_t>& out) {
        if (pos_ + n > data_.size()) return false;
        out.assign(data_.begin() + static_cast<std::ptrdiff_t>(pos_), data_.begin() + static_cast<std::ptrdiff_t>(pos_ + n));
        pos_ += n;
        return true;
    }
    std::span<const std::uint8_t> Rest() const { return data_.subspan(pos_); }
    bool AtEnd() const { return pos_ == data_.size(); }

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

bool ValidReport(std::span<const std::uint8_t> r) { return !r.empty() && r.size() <= kMaxReport; }

// Flags of kInfo: which strings follow, and whether the mouse refuses the client.
constexpr std::uint8_t kHasProduct = 0x01;
constexpr std::uint8_t kHasManufacturer = 0x02;
constexpr std::uint8_t kAccessDenied = 0x04;

bool DecodeInfo(Reader& in, DeviceInfo& info) {
    std::uint8_t flags = 0;
    std::uint16_t length = 0;
    if (!in.U16(info.vendorId) || !in.U16(info.productId) || !in.U16(info.version) || !in.U8(flags) ||
        !in.U8(info.interfaceNumber) || !in.U16(length) || length > kMaxDescriptor ||
        (flags & ~(kHasProduct | kHasManufacturer | kAccessDenied)))
        return false;
    info.accessDenied = (flags & kAccessDenied) != 0;
    if (!in.Take(length, info.reportDescriptor)) return false;
    if (flags & kHasProduct) {
        std::string s;
        if (!in.String(s)) return false;
        info.product = std::move(s);
    }
    if (flags & kHasManufacturer) {
        std::string s;
        if (!in.String(s)) return false;
        info.manufacturer = std::move(s);
    }
    return in.AtEnd();
}

}  // namespace

Bytes EncodeHello() { return {kHello, kProtocolVersion}; }

Bytes EncodeSetFeature(std::span<const std::uint8_t> report) { return Tagged({kSetFeature}, report); }

Bytes EncodeGetFeature(std::uint8_t reportId, std::uint8_t length) { return {kGetFeature, reportId, length}; }

Bytes EncodeInfo(const DeviceInfo& info) {
    Bytes out{kInfo};
    Put16(out, info.vendorId);
    Put16(out, info.productId);
    Put16(out, info.version);
    out.push_back(static_cast<std::uint8_t>((info.product ? kHasProduct : 0) | (info.manufacturer ? kHasManufacturer : 0) |
                                            (info.accessDenied ? kAccessDenied : 0)));
    out.push_back(info.interfaceNumber);
    const std::size_t n = std::min(info.reportDescriptor.size(), kMaxDescriptor);
    Put16(out, static_cast<std::uint16_t>(n));
    out.insert(out.end(), info.reportDescriptor.begin(), info.reportDescriptor.begin() + static_cast<std::ptrdiff_t>(n));
    PutString(out, info.product);
    PutString(out, info.manufacturer);
    return out;
}

Bytes EncodeSetResult(Status status, std::uint8_t taken) { return {kSetResult, status, taken}; }

Bytes EncodeGetResult(Status status, std::span<const std::uint8_t> report) {
    return Tagged({kGetResult, status}, report);
}

Bytes EncodeInput(std::span<const std::uint8_t> report) { return Tagged({kInput}, report); }

Bytes EncodeError(ErrorCode code) { return {kError, code}; }

std::optional<Message> Decode(std::span<const std::uint8_t> packet) {
    if (packet.empty() || packet.size() > kMaxMessage) return std::nullopt;
    Reader in(packet.subspan(1));
    Message m;
    m.type = static_cast<Type>(packet[0]);
    switch (packet[0]) {
    case kHello:
        if (!in.U8(m.version) || !in.AtEnd()) return std::nullopt;
        return m;
    case kSetFeature:
    case kInput:
        if (!ValidReport(in.Rest())) return std::nullopt;
        m.report.assign(in.Rest().begin(), in.Rest().end());
        return m;
    case kGetFeature:
        if (!in.U8(m.reportId) || !in.U8(m.length) || !in.AtEnd()) return std::nullopt;
        if (m.length == 0 || m.length > kMaxReport) return std::nullopt;
        return m;
    case kInfo:
        if (!DecodeInfo(in, m.info)) return std::nullopt;
        return m;
    case kSetResult: {
        std::uint8_t status = 0;
        if (!in.U8(status) || status > kFailed || !in.U8(m.length) || !in.AtEnd()) return std::nullopt;
        m.status = static_cast<Status>(status);
        return m;
    }
    case kGetResult: {
        std::uint8_t status = 0;
        if (!in.U8(status) || status > kFailed) return std::nullopt;
        m.status = static_cast<Status>(status);
        if (in.Rest().size() > kMaxReport || (m.status == kOk && in.Rest().empty())) return std::nullopt;
        m.report.assign(in.Rest().begin(), in.Rest().end());
        return m;
    }
    case kError: {
        std::uint8_t code = 0;
        if (!in.U8(code) || !in.AtEnd()) return std::nullopt;
        m.error = static_cast<ErrorCode>(code);
        return m;
    }
    default:
        return std::nullopt;
    }
}

bool IsValidName(const std::string& name) {
    if (name.empty() || name.size() > 64 || name[0] == '.') return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
               c == '-' || c == '.';
    });
}

std::string InterfaceSocketName(const std::string& name, int interfaceNumber) {
    return interfaceNumber == 0 ? name : name + "@" + std::to_string(interfaceNumber);
}

bool SplitSocketName(const std::string& socketName, std::string& name, int& interfaceNumber) {
    const std::size_t at = socketName.find('@');
    name = socketName.substr(0, at);
    interfaceNumber = 0;
    if (!IsValidName(name)) return false;
    if (at == std::string::npos) return true;
    const std::string digits = socketName.substr(at + 1);
    if (digits.empty() || digits.size() > 2 || (digits.size() == 2 && digits[0] == '0') ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    interfaceNumber = std::stoi(digits);
    return interfaceNumber > 0;
}

}  // namespace pallix::vhid
