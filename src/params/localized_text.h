// A text in the program's three languages, picked by the language index at the moment it is
// shown (0 Czech, 1 English, 2 German). Texts are UTF-8.
#pragma once

#include <cstdint>

namespace korvan {

struct LocalizedText {
    const char* czech;
    const char* english;
    const char* german;

    const char* In(std::uint8_t language) const {
        return language == 0 ? czech : (language == 2 ? german : english);
    }
};

}  // namespace korvan
