#pragma once
// UTF-8 checks for text that other places hold as UTF-16.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pallix {

// How many UTF-16 code units the text takes; nullopt when it is not valid UTF-8
// (overlong forms, surrogates and code points above U+10FFFF are invalid).
std::optional<std::size_t> Utf16Length(std::string_view utf8);

// Appends code point c as UTF-8; a value above U+10FFFF appends nothing.
void AppendUtf8(std::string& out, char32_t c);

}  // namespace pallix
