#pragma once
// The arithmetic behind the editor's two delay fields: what a typed text becomes,
// the number reader of the unit buttons, the unit steps and the default delay.
#include <QString>

namespace pallix::delayfield {

inline constexpr int kMaxDelayMs = 5000;
inline constexpr int kUnitMs = 25;

// The text after a change: at most 8 characters are read; a value above 5000 gives
// "5000"; a text that is not exactly its value's digits (a leading zero, a character
// that is no digit) loses its last character. Empty stays empty.
QString Validated(const QString& text);

// Reads a number as the unit buttons and ADJUST DELAY TIME do: decimal, or hex with
// "0x"; an optional sign; spaces and commas ignored; stops at the first other
// character. `maxChars` characters are looked at. 0 when nothing is readable.
long long ReadNumber(const QString& text, int maxChars);

int UnitMore(long long n);   // 25 * (ceil(min(n, 4975) / 25) + 1)
int UnitLess(long long n);   // 25 * (floor(min(n, 5025) / 25) - 1), 0 below 25
// "Configure the delay timing": 5000 above 5000, 25 below 25, else down to a
// multiple of 25.
int DefaultDelayOf(long long n);

}  // namespace pallix::delayfield
