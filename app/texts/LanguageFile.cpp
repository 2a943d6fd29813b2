#include "app/texts/LanguageFile.h"

#include <climits>
#include <fstream>
#include <iterator>
#include <optional>

#include "common/Utf8.h"
#include "macro/MacroTexts.h"

namespace pallix::texts {
namespace {

constexpr std::size_t kWindowBytes = 2048;  // one read of a line

void AppendUtf16(std::string& out, char16_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

// UTF-8 to UTF-16LE bytes; malformed input becomes U+FFFD.
std::string ToUtf16(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        ++i;
        for (int k = 0; k < extra; ++k, ++i) {
            if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
                extra = -1;
                break;
            }
            c = (c << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
        }
        if (extra < 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c >= 0x10000) {
            c -= 0x10000;
            AppendUtf16(out, static_cast<char16_t>(0xD800 + (c >> 10)));
            AppendUtf16(out, static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            AppendUtf16(out, static_cast<char16_t>(c));
        }
    }
    return out;
}

class LineReader {
public:
    explicit LineReader(std::string_view bytes) : bytes_(bytes), pos_(2) {}

    // The next line as UTF-8; nullopt at the end of the file or on a line without
    // CR LF inside one read window (status_ tells which).
    std::optional<std::string> Next() {
        const std::size_t units = (bytes_.size() - pos_) / 2;
        if (units == 0) {
            status_ = LanguageFileStatus::OutOfLines;
            return std::nullopt;
        }
        const std::size_t window = std::min(units, kWindowBytes / 2);
        std::size_t end = window;
        bool crlf = false;
        for (std::size_t k = 0; k + 1 < window; ++k) {
            if (Unit(k) == u'\r' && Unit(k + 1) == u'\n') {
                end = k;
                crlf = true;
                break;
            }
        }
        if (!crlf && window < units) {
            status_ = LanguageFileStatus::LineTooLong;
            return std::nullopt;
        }
        std::string line = Decode(end);
        pos_ += (crlf ? end + 2 : end) * 2;
        return line;
    }

    LanguageFileStatus Status() const { return status_; }

private:
    char16_t Unit(std::size_t k) const {
        const std::size_t at = pos_ + 2 * k;
        return static_cast<char16_t>(static_cast<unsigned char>(bytes_[at]) |
                                     (static_cast<unsigned char>(bytes_[at + 1]) << 8));
    }

    // A NUL ends the text, as it ends a C string; lone surrogates become U+FFFD.
    std::string Decode(std::size_t count) const {
        std::string out;
        for (std::size_t k = 0; k < count; ++k) {
            const char16_t u = Unit(k);
            if (u == 0) break;
            if (u >= 0xD800 && u <= 0xDBFF && k + 1 < count && Unit(k + 1) >= 0xDC00 && Unit(k + 1) <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (Unit(k + 1) - 0xDC00));
                ++k;
            } else if (u >= 0xD800 && u <= 0xDFFF) {
                AppendUtf8(out, 0xFFFD);
            } else {
                AppendUtf8(out, u);
            }
        }
        return out;
    }

    std::string_view bytes_;
    std::size_t pos_;
    LanguageFileStatus status_ = LanguageFileStatus::Loaded;
};

// Leading blanks, an optional sign, then digits up to the first other character.
std::int32_t ToNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX + 1LL) value = INT_MAX + 1LL;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<std::int32_t>(value);
}

std::string Cut(const std::string& text, int capacity) { return macro::CutToCharacters(text, capacity - 1); }

}  // namespace

LanguageFileStatus ParseLanguageFile(std::string_view bytes, std::string_view ownName, TextTables& t) {
    if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
        static_cast<unsigned char>(bytes[1]) != 0xFE)
        return LanguageFileStatus::NoByteOrderMark;
    LineReader reader(bytes);
    bool ok = true;
    auto text = [&](std::string& entry, int capacity) {
        if (!ok) return;
        auto line = reader.Next();
        if (!line) ok = false;
        else entry = Cut(*line, capacity);
    };
    auto number = [&](std::int32_t& entry) {
        std::string line;
        text(line, kUiStringCapacity);
        if (ok) entry = ToNumber(line);
    };
    for (FontSpec& font : t.fonts) {
        text(font.face, kFaceCapacity);
        number(font.height);
        number(font.width);
        number(font.weight);
    }
    number(t.unusedNumber);
    for (std::string& s : t.ui) text(s, kUiStringCapacity);
    for (std::string& s : t.messages) text(s, kMessageCapacity);
    text(t.unusedLine, kUiStringCapacity);
    text(t.messageBoxCaption, kCaptionCapacity);
    for (std::string& s : t.unitWords) text(s, kUnitWordCapacity);
    for (std::string& s : t.functionNames) text(s, kNameCapacity);
    for (std::string& s : t.commandNames) text(s, kNameCapacity);
    for (std::string& s : t.ledCaptions) text(s, kNameCapacity);
    std::string last;
    text(last, kUiStringCapacity);
    if (!ok) return reader.Status();
    return last == ownName ? LanguageFileStatus::Loaded : LanguageFileStatus::WrongLastLine;
}

LanguageFileStatus ReadLanguageFile(const std::filesystem::path& file, std::string_view ownName,
                                    TextTables& tables) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return LanguageFileStatus::CannotOpen;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || size > kMaxLanguageFileBytes) return LanguageFileStatus::CannotOpen;
    std::ifstream in(file, std::ios::binary);
    if (!in) return LanguageFileStatus::CannotOpen;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return LanguageFileStatus::CannotOpen;
    return ParseLanguageFile(bytes, ownName, tables);
}

std::string EncodeLanguageFile(const TextTables& t, std::string_view ownName) {
    std::string out = "\xFF\xFE";
    auto line = [&](std::string_view text) { out += ToUtf16(text) + ToUtf16("\r\n"); };
    for (const FontSpec& font : t.fonts) {
        line(font.face);
        line(std::to_string(font.height));
        line(std::to_string(font.width));
        line(std::to_string(font.weight));
    }
    line(std::to_string(t.unusedNumber));
    for (const std::string& s : t.ui) line(s);
    for (const std::string& s : t.messages) line(s);
    line(t.unusedLine);
    line(t.messageBoxCaption);
    for (const std::string& s : t.unitWords) line(s);
    for (const std::string& s : t.functionNames) line(s);
    for (const std::string& s : t.commandNames) line(s);
    for (const std::string& s : t.ledCaptions) line(s);
    line(ownName);
    return out;
}

const char* LanguageFileStatusName(LanguageFileStatus status) {
    switch (status) {
    case LanguageFileStatus::Loaded: return "loaded";
    case LanguageFileStatus::CannotOpen: return "cannot open";
    case LanguageFileStatus::NoByteOrderMark: return "no byte-order mark";
    case LanguageFileStatus::OutOfLines: return "out of lines";
    case LanguageFileStatus::LineTooLong: return "line too long";
    case LanguageFileStatus::WrongLastLine: return "wrong last line";
    }
    return "?";
}

}  // namespace pallix::texts
