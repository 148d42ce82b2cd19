#include "params/localized_text.h"

namespace korvan {

std::string FillPattern(std::string_view pattern, std::initializer_list<TextArg> args) {
    std::string out;
    out.reserve(pattern.size() + 16);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const std::size_t n = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (n < args.size()) {
                out += (args.begin() + n)->Text();
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

}  // namespace korvan
