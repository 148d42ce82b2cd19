// Where the window's picture lands on the printed page: one page, the aspect ratio kept, the
// picture filling either the page height or the page width from the top-left corner.
#pragma once

#include <optional>
#include <string>

namespace korvan {

struct PrintRect {
    int width;
    int height;
};

// `image` W x H pixels onto a printable page of PW x PH printer pixels.
PrintRect FitToPage(int imageWidth, int imageHeight, int pageWidth, int pageHeight);

// The line printed in the message label: the language's prefix, the date, four blanks and the
// time. No line for a language index outside 0..2.
std::optional<std::string> PrintDateLine(unsigned language, const std::string& date,
                                         const std::string& time);

}  // namespace korvan
