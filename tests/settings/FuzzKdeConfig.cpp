// libFuzzer target: any bytes as a KDE configuration file, the entry set in it.
// Aborts when setting loses the value, is not idempotent, ignores a lock, or
// changes another entry.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/pointer/KdeConfigText.h"

#define FUZZ_CHECK(condition) \
    do {                      \
        if (!(condition)) std::abort(); \
    } while (0)

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pallix;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const KdeEntry before = FindKdeEntry(text, "KDE", "WheelScrollLines");
    const auto after = SetKdeEntry(text, "KDE", "WheelScrollLines", "7");
    FUZZ_CHECK(after.has_value() == !before.locked);
    if (!after) return 0;
    const KdeEntry back = FindKdeEntry(*after, "KDE", "WheelScrollLines");
    FUZZ_CHECK(back.value == "7" && !back.locked);
    FUZZ_CHECK(SetKdeEntry(*after, "KDE", "WheelScrollLines", "7") == *after);
    // Other entries keep their values.
    FUZZ_CHECK(FindKdeEntry(*after, "KDE", "DoubleClickInterval").value ==
               FindKdeEntry(text, "KDE", "DoubleClickInterval").value);
    FUZZ_CHECK(FindKdeEntry(*after, "General", "WheelScrollLines").value ==
               FindKdeEntry(text, "General", "WheelScrollLines").value);
    return 0;
}
