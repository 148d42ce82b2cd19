#include "params/localized_text.h"

namespace korvan {

namespace {

template <typename Args, typename TextOf>
std::string FillMarks(std::string_view pattern, const Args& args, TextOf textOf) {
    std::string out;
    out.reserve(pattern.size() + 16);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const std::size_t n = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (n < args.size()) {
                out += textOf(*(args.begin() + n));
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

}  // namespace

std::string FillPattern(std::string_view pattern, std::initializer_list<TextArg> args) {
    return FillMarks(pattern, args,
                     [](const TextArg& a) -> const std::string& { return a.Text(); });
}

std::string FillPattern(std::string_view pattern, const std::vector<std::string>& args) {
    return FillMarks(pattern, args, [](const std::string& a) -> const std::string& { return a; });
}

}  // namespace korvan
