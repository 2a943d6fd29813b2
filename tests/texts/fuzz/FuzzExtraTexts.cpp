// libFuzzer target: any bytes as a file of extra texts. Every entry afterwards is
// valid UTF-8 with the places of its English text, and filling them never fails.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/texts/ExtraTexts.h"
#include "common/Placeholders.h"
#include "common/Utf8.h"

using namespace pallix;
using namespace pallix::texts;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ExtraTextsRead read = ParseExtraTexts(std::string_view(reinterpret_cast<const char*>(data), size));
    if (read.taken < 0 || read.skipped < 0) std::abort();
    for (int i = 0; i < kExtraTextCount; ++i) {
        const std::string& text = Extra(i);
        if (text.empty() || !Utf16Length(text)) std::abort();
        if (PlaceholderMask(text) != PlaceholderMask(EnglishExtraText(i))) std::abort();
        if (Extra(i, {"%1%2", "x"}).empty()) std::abort();
    }
    return 0;
}
