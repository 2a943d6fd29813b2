#pragma once
// The per-user settings store every deliverable shares: typed values under one
// key. No value is cached: every read sees what any process last wrote.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pallix {

// ReadDword's answer for a value that is missing or unreadable (-1 as a DWORD).
inline constexpr std::uint32_t kDwordMissing = 0xFFFFFFFFu;

// Longest string value, in UTF-16 units: what the readers' 2048-character buffer
// holds. Longer text is refused by WriteString rather than cut.
inline constexpr std::size_t kMaxStringUnits = 2048;

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // 1 on success, 0 when the store can be neither opened nor created.
    virtual int WriteDword(std::string_view name, std::uint32_t value) = 0;
    // The value; kDwordMissing when missing or unreadable; when the store itself is
    // missing it is created, the value written as 0, and 0 returned.
    virtual std::uint32_t ReadDword(std::string_view name) = 0;
    // Text is UTF-8 here. 1 on success; 0 (and the stored value untouched) when the
    // text is not valid UTF-8, longer than kMaxStringUnits, or the store fails.
    virtual int WriteString(std::string_view name, std::string_view text) = 0;
    // 1 and the exact text when the value was read; 0 otherwise (text untouched).
    virtual int ReadString(std::string_view name, std::string& text) = 0;
    // 1 when a value was deleted.
    virtual int DeleteValue(std::string_view name) = 0;
};

}  // namespace pallix
