#include "files/state_file.h"

#include <cstdio>

#include "files/token_reader.h"

namespace korvan {

std::string StateFileText(const DeviceImage& image) {
    std::string text;
    text.reserve(kStateFileSize);
    char buf[16];
    for (std::size_t i = 0; i < kImageSize; ++i) {
        std::snprintf(buf, sizeof buf, "%5u ", static_cast<unsigned>(image[i]));
        text += buf;
        if (i % 10 == 9) text += "\r\n";
    }
    return text;
}

std::size_t ReadStateFile(std::istream& in, DeviceImage& image) {
    TokenReader reader(in);
    Token token;
    std::size_t stored = 0;
    while (stored < kImageSize && reader.Next(token) && token.numeric) {
        image[stored++] = static_cast<std::uint8_t>(token.value & 0xFF);
    }
    return stored;
}

}  // namespace korvan
