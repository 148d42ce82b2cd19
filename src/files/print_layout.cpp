#include "files/print_layout.h"

#include <cstdint>

namespace korvan {

namespace {
// a * b / c rounded to the nearest integer, in 64 bits so large printer resolutions cannot
// overflow.
int MulDivRounded(int a, int b, int c) {
    if (c == 0) return 0;
    const std::int64_t p = static_cast<std::int64_t>(a) * b;
    return static_cast<int>((p + c / 2) / c);
}
}  // namespace

PrintRect FitToPage(int w, int h, int pw, int ph) {
    if (w <= 0 || h <= 0) return {0, 0};
    const int width = MulDivRounded(w, ph, h);
    if (width < pw) return {width, ph};
    return {pw, MulDivRounded(h, pw, w)};
}

std::optional<std::string> PrintDateLine(unsigned language, const std::string& date,
                                         const std::string& time) {
    // German prints with the English prefix.
    const char* prefix = nullptr;
    switch (language) {
        case 0:
            prefix = "Datum a čas tisku:  ";
            break;
        case 1:
        case 2:
            prefix = "Date and Time of printing:  ";
            break;
        default:
            return std::nullopt;
    }
    return std::string(prefix) + date + "    " + time;
}

}  // namespace korvan
