#include "app/texts/ExtraTexts.h"

#include <array>
#include <fstream>
#include <iterator>

#include "common/Placeholders.h"
#include "common/Utf8.h"
#include "device/AccessHelp.h"

namespace pallix::texts {
namespace {

constexpr std::uintmax_t kMaxFileBytes = 64 * 1024;

struct Entry {
    std::string_view key;
    std::string_view english;
};

constexpr Entry kEntries[kExtraTextCount] = {
    {"no-access", kNoAccessText},
    {"select-mouse", "More than one Gamer Mouse connected!  Please select one mouse."},
    {"application-files", "Application Files"},
    {"macro-files", "Mouse Macro Files"},
    {"all-files", "All Files"},
    {"performance-unavailable", "The performance settings are not available in this version."},
    {"macro-editor-unavailable", "The macro editor is not available in this version."},
    {"lighting-unavailable", "The lighting settings are not available in this version."},
};

using Table = std::array<std::string, kExtraTextCount>;

const Table& English() {
    static const Table table = [] {
        Table t;
        for (int i = 0; i < kExtraTextCount; ++i) t[static_cast<std::size_t>(i)] = std::string(kEntries[i].english);
        return t;
    }();
    return table;
}

Table& InUse() {
    static Table table = English();
    return table;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::string Unescape(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == 'n' || s[i + 1] == '\\')) {
            out += s[i + 1] == 'n' ? '\n' : '\\';
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

int IndexOfKey(std::string_view key) {
    for (int i = 0; i < kExtraTextCount; ++i)
        if (kEntries[i].key == key) return i;
    return -1;
}

const std::string kEmpty;

}  // namespace

std::string_view ExtraTextKey(int index) {
    return index >= 0 && index < kExtraTextCount ? kEntries[index].key : std::string_view();
}

const std::string& EnglishExtraText(int index) {
    return index >= 0 && index < kExtraTextCount ? English()[static_cast<std::size_t>(index)] : kEmpty;
}

const std::string& Extra(int index) {
    return index >= 0 && index < kExtraTextCount ? InUse()[static_cast<std::size_t>(index)] : kEmpty;
}

std::string Extra(int index, std::initializer_list<std::string_view> arguments) {
    return FillPlaceholders(Extra(index), arguments);
}

ExtraTextsRead ParseExtraTexts(std::string_view bytes) {
    ExtraTextsRead read;
    read.opened = true;
    Table table = English();
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    while (!bytes.empty()) {
        const auto end = bytes.find('\n');
        const std::string_view line = Trim(bytes.substr(0, end));
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        if (line.empty() || line.front() == '#') continue;
        const auto equals = line.find('=');
        const int index = equals == std::string_view::npos ? -1 : IndexOfKey(Trim(line.substr(0, equals)));
        const std::string text = equals == std::string_view::npos ? std::string() : Unescape(Trim(line.substr(equals + 1)));
        if (index < 0 || text.empty() || !Utf16Length(text) ||
            PlaceholderMask(text) != PlaceholderMask(kEntries[index].english)) {
            ++read.skipped;
            continue;
        }
        table[static_cast<std::size_t>(index)] = text;
        ++read.taken;
    }
    InUse() = std::move(table);
    return read;
}

ExtraTextsRead LoadExtraTexts(const std::filesystem::path& file) {
    UseEnglishExtraTexts();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec) || std::filesystem::file_size(file, ec) > kMaxFileBytes || ec)
        return {};
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return ParseExtraTexts(bytes);
}

void UseEnglishExtraTexts() { InUse() = English(); }

std::string ExtraTextFileName(std::string_view languageFile) {
    const auto dot = languageFile.rfind('.');
    return std::string(languageFile.substr(0, dot)) + std::string(kExtraTextSuffix);
}

std::string NoAccessNotice(const std::string& path) { return Extra(EXTRA_NO_ACCESS, {path, kUdevRuleName}); }

}  // namespace pallix::texts
