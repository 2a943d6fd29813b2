#pragma once
// Parsing of pallix-vmouse's command line and control commands.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pallix::vmouse {

std::vector<std::string> SplitWords(const std::string& text);
// Decimal or 0x-hex, within [lo, hi].
std::optional<int> ParseNumber(const std::string& text, int lo, int hi);
// One or two hex digits, optional 0x.
std::optional<std::uint8_t> ParseHexByte(const std::string& text);
std::string Hex16(unsigned value);  // "0x1802"

}  // namespace pallix::vmouse
