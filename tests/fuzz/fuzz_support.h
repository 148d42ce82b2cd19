// What the three fuzz targets share: a way to fail loudly, start images that show every stray
// write, and a second, deliberately simple tokenizer that the readers' results are held against.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "params/device_image.h"

// A broken invariant names itself and aborts; libFuzzer then keeps the input as a crash file.
#define FUZZ_CHECK(condition, what)                                                           \
    do {                                                                                      \
        if (!(condition)) {                                                                   \
            std::fprintf(stderr, "broken invariant: %s (%s:%d)\n", what, __FILE__, __LINE__); \
            std::abort();                                                                     \
        }                                                                                     \
    } while (0)

namespace korvan::fuzz {

// Two start images that differ in every byte, and whose neighbouring bytes differ too, so that
// a write to a byte the input does not address, or a result that depends on the byte's old
// value, shows up in at least one of them.
inline DeviceImage StartImage(bool complement) {
    DeviceImage image;
    for (std::size_t i = 0; i < kImageSize; ++i) {
        const auto v = static_cast<std::uint8_t>(i * 7 + 3);
        image[i] = complement ? static_cast<std::uint8_t>(~v) : v;
    }
    return image;
}

inline bool IsFileSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The text's tokens as the file formats define them: maximal runs of anything but the six
// white-space characters. No length limit: a token too long for the reader is simply long here.
inline std::vector<std::string> SplitTokens(const std::string& text) {
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsFileSpace(text[i])) ++i;
        const std::size_t start = i;
        while (i < text.size() && !IsFileSpace(text[i])) ++i;
        if (i > start) tokens.push_back(text.substr(start, i - start));
    }
    return tokens;
}

inline bool IsNumber(const std::string& token) {
    if (token.empty()) return false;
    for (char c : token) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// The number's value modulo `modulus`, however many digits it has.
inline unsigned NumberModulo(const std::string& token, unsigned modulus) {
    unsigned v = 0;
    for (char c : token) v = (v * 10u + static_cast<unsigned>(c - '0')) % modulus;
    return v;
}

}  // namespace korvan::fuzz
