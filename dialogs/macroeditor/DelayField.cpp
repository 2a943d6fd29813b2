#include "dialogs/macroeditor/DelayField.h"

#include <algorithm>

namespace pallix::delayfield {

QString Validated(const QString& full) {
    const QString text = full.left(8);
    if (text.isEmpty()) return full;
    long long value = 0;
    int digits = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') break;
        value = value * 10 + (c.unicode() - u'0');
        ++digits;
    }
    if (value > kMaxDelayMs) return QString::number(kMaxDelayMs);
    const int valueDigits = value == 0 ? (digits > 0 ? 1 : 0) : static_cast<int>(QString::number(value).size());
    if (valueDigits < text.size()) return full.left(full.size() - 1);
    return full;
}

long long ReadNumber(const QString& full, int maxChars) {
    QString text = full.left(maxChars);
    text.remove(u' ');
    text.remove(u',');
    int i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    int base = 10;
    if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    long long value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].toLower().unicode();
        int d = -1;
        if (c >= u'0' && c <= u'9') d = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f') d = c - u'a' + 10;
        if (d < 0) break;
        value = value * base + d;
        if (value > 1'000'000'000LL) break;  // far beyond any delay; keeps the sum small
    }
    return negative ? -value : value;
}

int UnitMore(long long n) {
    const long long m = std::min<long long>(n, kMaxDelayMs - kUnitMs);
    // ceil for negatives too: C++ division truncates towards zero.
    const long long units = m >= 0 ? (m + kUnitMs - 1) / kUnitMs : m / kUnitMs;
    return static_cast<int>(std::max<long long>(0, kUnitMs * (units + 1)));
}

int UnitLess(long long n) {
    const long long m = std::min<long long>(n, kMaxDelayMs + kUnitMs);
    const long long units = m >= 0 ? m / kUnitMs : (m - kUnitMs + 1) / kUnitMs;
    const long long v = kUnitMs * (units - 1);
    return v < kUnitMs ? 0 : static_cast<int>(v);
}

int DefaultDelayOf(long long n) {
    if (n > kMaxDelayMs) return kMaxDelayMs;
    if (n < kUnitMs) return kUnitMs;
    return static_cast<int>(n / kUnitMs * kUnitMs);
}

}  // namespace pallix::delayfield
