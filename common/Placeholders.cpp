#include "common/Placeholders.h"

namespace pallix {

std::string FillPlaceholders(std::string_view text, std::initializer_list<std::string_view> arguments) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const auto n = static_cast<std::size_t>(next - '0');
        if (text[i] == '%' && next >= '1' && next <= '9' && n <= arguments.size()) {
            out += *(arguments.begin() + (n - 1));
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

unsigned PlaceholderMask(std::string_view text) {
    unsigned mask = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '%' && text[i + 1] >= '1' && text[i + 1] <= '9') mask |= 1u << (text[i + 1] - '0');
    return mask;
}

}  // namespace pallix
