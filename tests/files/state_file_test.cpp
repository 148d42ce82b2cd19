#include "files/state_file.h"

#include <gtest/gtest.h>

#include <sstream>

namespace korvan {
namespace {

DeviceImage Pattern() {
    DeviceImage image;
    for (std::size_t i = 0; i < kImageSize; ++i) image[i] = static_cast<std::uint8_t>((i * 151 + 7) & 0xFF);
    return image;
}

TEST(StateFile, ThirtyLinesOfTenNumbersWithCrLf) {
    const std::string text = StateFileText(Pattern());
    ASSERT_EQ(text.size(), kStateFileSize);
    for (std::size_t line = 0; line < 30; ++line) {
        EXPECT_EQ(text.substr(line * 62 + 60, 2), "\r\n") << "line " << line;
    }
    EXPECT_EQ(text.substr(0, 12), "    7   158 ");
    EXPECT_EQ(StateFileText(DeviceImage{}).substr(0, 6), "    0 ");
}

TEST(StateFile, RoundTripsEveryByte) {
    const DeviceImage source = Pattern();
    std::istringstream in(StateFileText(source));
    DeviceImage image;
    EXPECT_EQ(ReadStateFile(in, image), kImageSize);
    EXPECT_EQ(image, source);
}

TEST(StateFile, ReaderStopsAtTheEndOrAtAWordAndKeepsTheRest) {
    struct Case {
        const char* what;
        std::string text;
        std::size_t stored;
    } cases[] = {
        {"a short file fills only its count", "1 2 3\n4", 4},
        {"a word stops the reading", "1 2 junk 4 5", 2},
        {"a signed number is a word", "1 -2 3", 1},
        {"an empty file stores nothing", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceImage image;
        image.bytes.fill(0x77);
        std::istringstream in(c.text);
        EXPECT_EQ(ReadStateFile(in, image), c.stored);
        for (std::size_t i = c.stored; i < kImageSize; ++i) ASSERT_EQ(image[i], 0x77) << i;
    }
}

TEST(StateFile, NumbersKeepTheirLowEightBitsAndReadingStopsAt300) {
    std::string text = "256 257 511 4294967295 4294967296";
    for (int i = 0; i < 400; ++i) text += " 9";
    std::istringstream in(text);
    DeviceImage image;
    EXPECT_EQ(ReadStateFile(in, image), kImageSize);
    EXPECT_EQ(image[0], 0);
    EXPECT_EQ(image[1], 1);
    EXPECT_EQ(image[2], 255);
    EXPECT_EQ(image[3], 255);
    EXPECT_EQ(image[4], 0);
    EXPECT_EQ(image[299], 9);
}

}  // namespace
}  // namespace korvan
