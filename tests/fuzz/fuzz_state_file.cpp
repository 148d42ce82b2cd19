// Fuzzes the state file reader: it stores the leading numbers of the input, low 8 bits each,
// into bytes 0, 1, 2 ... and nothing beyond the 300 image bytes or the numbers it found. Its
// own output has to read back to the same image.
#include <sstream>
#include <string>

#include "files/state_file.h"
#include "fuzz_support.h"

namespace {

std::size_t Read(const std::string& text, korvan::DeviceImage& image) {
    std::istringstream in(text, std::ios::in | std::ios::binary);
    return korvan::ReadStateFile(in, image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvan;
    using namespace korvan::fuzz;
    constexpr unsigned kByteModulus = 256;
    const std::string text(reinterpret_cast<const char*>(data), size);

    // What the format says: numbers up to the first other token, at most one per image byte.
    const DeviceImage start = StartImage(false);
    DeviceImage expected = start;
    std::size_t expectedCount = 0;
    for (const std::string& token : SplitTokens(text)) {
        if (expectedCount == kImageSize || !IsNumber(token)) break;
        expected[expectedCount++] = static_cast<std::uint8_t>(NumberModulo(token, kByteModulus));
    }

    DeviceImage image = start;
    const std::size_t stored = Read(text, image);
    FUZZ_CHECK(stored <= kImageSize, "never more than the image's bytes are stored");
    for (std::size_t i = stored; i < kImageSize; ++i) {
        FUZZ_CHECK(image[i] == start[i], "the bytes not reached keep their values");
    }
    FUZZ_CHECK(stored == expectedCount, "the count is that of the leading numbers");
    FUZZ_CHECK(image == expected, "each byte holds the low 8 bits of its number");

    const std::string written = StateFileText(image);
    FUZZ_CHECK(written.size() == kStateFileSize, "the state file has its fixed length");
    DeviceImage back = StartImage(true);
    FUZZ_CHECK(Read(written, back) == kImageSize, "a written state file fills the whole image");
    FUZZ_CHECK(back == image, "a written state file reads back byte for byte");
    return 0;
}
