#include "files/state_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <sstream>

#include "files/atomic_write.h"
#include "files/settings.h"
#include "null_device.h"

namespace korvan {
namespace {

DeviceImage Pattern() {
    DeviceImage image;
    for (std::size_t i = 0; i < kImageSize; ++i)
        image[i] = static_cast<std::uint8_t>((i * 151 + 7) & 0xFF);
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

class StateFileOnDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/korvan-state-XXXXXX";
        dir_ = mkdtemp(tmpl);
        path_ = dir_ + "/_Korvan2.ini";
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string dir_;
    std::string path_;
};

TEST_F(StateFileOnDisk, WhatIsUnderstoodAtStart) {
    const std::string full = StateFileText(Pattern());
    struct Case {
        const char* what;
        std::string content;  // empty with `make` unset: no file
        bool present, understood;
        std::size_t numbers;
        std::function<void(const std::string&)> make;
    } cases[] = {
        {"a state file as written", full, true, true, kImageSize, {}},
        {"no file", "", false, true, 0, [](const std::string&) {}},
        {"an empty file holds nothing to lose", "", true, true, 0, {}},
        // Only the first 300 numbers count, whatever follows them.
        {"over the read limit",
         full + std::string(2 * kMaxReadSize, '#'),
         true,
         true,
         kImageSize,
         {}},
        {"a hand-edited note at the top", "# my race tune\r\n" + full, true, false, 0, {}},
        {"cut short", full.substr(0, 620), true, false, 100, {}},
        {"a folder", "", false, false, 0,
         [](const std::string& p) { std::filesystem::create_directory(p); }},
        {"a link to a null device", "", false, true, 0,
         [this](const std::string& p) {
             const std::string device = test::PrivateNullDevice(dir_);
             std::filesystem::create_symlink(device.empty() ? "/dev/null" : device, p);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(path_);
        if (c.make) {
            c.make(path_);
        } else {
            ASSERT_TRUE(WriteFileAtomically(path_, c.content).ok);
        }
        DeviceImage image;
        image.bytes.fill(0x77);
        const StateFileLoad load = LoadStateFile(path_, image);
        EXPECT_EQ(load.present, c.present);
        EXPECT_EQ(load.understood, c.understood);
        EXPECT_EQ(load.numbers, c.numbers);
        for (std::size_t i = 0; i < kImageSize; ++i) {
            ASSERT_EQ(image[i], i < c.numbers ? Pattern()[i] : 0x77) << i;
        }
    }
}

TEST_F(StateFileOnDisk, ANumberCutByTheReadLimitIsNotRead) {
    // 299 numbers, then blanks up to one byte before the limit, then a number across it.
    std::string text;
    for (int i = 0; i < 299; ++i) text += "1 ";
    text += std::string(kMaxReadSize - 1 - text.size(), ' ') + "123";
    ASSERT_TRUE(WriteFileAtomically(path_, text).ok);
    DeviceImage image;
    image.bytes.fill(0x77);
    const StateFileLoad load = LoadStateFile(path_, image);
    EXPECT_EQ(load.numbers, 299u);
    EXPECT_EQ(image[299], 0x77);  // not 1, the first digit of 123
    EXPECT_FALSE(load.understood);
}

TEST_F(StateFileOnDisk, AFileNotUnderstoodIsKeptBesideItself) {
    setenv("TZ", "UTC", 1);
    tzset();
    const std::time_t when = 1796727600;  // 2026-12-08 11:00:00 UTC
    EXPECT_EQ(KeptStateFileName(path_, when), path_ + ".unreadable-20261208-110000");

    const std::string garbage = "not numbers at all";
    ASSERT_TRUE(WriteFileAtomically(path_, garbage).ok);
    std::string kept;
    ASSERT_TRUE(KeepStateFile(path_, when, kept).ok);
    EXPECT_EQ(kept, path_ + ".unreadable-20261208-110000");
    std::string second;
    ASSERT_TRUE(KeepStateFile(path_, when, second).ok);  // the same second: a name of its own
    EXPECT_EQ(second, kept + "-2");

    // The save that follows replaces the state file; the kept copy keeps the old content.
    ASSERT_TRUE(SaveStateFile(path_, Pattern()).ok);
    std::string text;
    ASSERT_TRUE(ReadWholeFile(kept, text).ok);
    EXPECT_EQ(text, garbage);
    ASSERT_TRUE(ReadWholeFile(path_, text).ok);
    EXPECT_EQ(text, StateFileText(Pattern()));

    std::filesystem::create_directory(dir_ + "/folder");
    EXPECT_FALSE(KeepStateFile(dir_ + "/folder", when, kept).ok);
    EXPECT_FALSE(KeepStateFile(dir_ + "/none", when, kept).ok);
}

}  // namespace
}  // namespace korvan
