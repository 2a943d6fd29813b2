#include "tools/vmouse/CommandWords.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace pallix::vmouse {

std::vector<std::string> SplitWords(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

std::optional<int> ParseNumber(const std::string& text, int lo, int hi) {
    if (text.empty() || text.size() > 12) return std::nullopt;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, hex ? 16 : 10);
    const std::size_t digit = text[0] == '-' && lo < 0 ? 1 : 0;  // a sign only where negatives count
    if (!end || *end != '\0' || digit >= text.size() || text[digit] < '0' || text[digit] > '9' || v < lo || v > hi)
        return std::nullopt;
    return static_cast<int>(v);
}

std::optional<std::uint8_t> ParseHexByte(const std::string& text) {
    std::string digits = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') ? text.substr(2) : text;
    if (digits.empty() || digits.size() > 2) return std::nullopt;
    const auto v = ParseNumber("0x" + digits, 0, 255);
    if (!v) return std::nullopt;
    return static_cast<std::uint8_t>(*v);
}

std::string Hex16(unsigned value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%04x", value & 0xFFFFu);
    return buf;
}

}  // namespace pallix::vmouse
