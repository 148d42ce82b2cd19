#include "files/map_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "files/atomic_write.h"
#include "params/defaults.h"

namespace korvan {
namespace {

class MapFile : public ::testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/korvan-mapfile-XXXXXX";
        dir_ = mkdtemp(tmpl);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const char* name) const { return dir_ + "/" + name; }

    std::string dir_;
};

DeviceImage MapImage(bool throttleAxis) {
    DeviceImage image = DefaultImage();
    image[field::TpsMapa] = throttleAxis ? 1 : 0;
    for (int i = 0; i < kMapRows * kMapColumns; ++i)
        image[field::Advance + i] = static_cast<std::uint8_t>(i * 7 % 61);
    return image;
}

DeviceImage Scrambled(const DeviceImage& image) {
    DeviceImage other = image;
    for (int i = 0; i < kMapRows * kMapColumns; ++i)
        other[field::Advance + i] = static_cast<std::uint8_t>((image[field::Advance + i] + 9) % 61);
    return other;
}

TEST_F(MapFile, ExportWritesTheAxesAndImportBringsTheMapBack) {
    const DeviceImage image = MapImage(true);
    const std::string path = Path("map.csv");
    ASSERT_TRUE(WriteMapCsv(path, image, ';').ok);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes).ok);
    EXPECT_EQ(bytes, FormatMapText(image, MapRect::WholeMap(), true, ';'));
    EXPECT_EQ(bytes.substr(0, 48), ";1000;2000;3000;4000;5000;6000;7000;8000;9000;10");
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 11);

    DeviceImage back = Scrambled(image);
    const EditOutcome out = ImportMapFile(back, path);
    ASSERT_FALSE(out.refused) << out.reason.In(1);
    EXPECT_EQ(back, image);
    EXPECT_EQ(out.step.In(1), "Import the map from map.csv");
    EXPECT_EQ(out.cells, MapRect::WholeMap());
}

TEST_F(MapFile, WithoutThrottleAxisTheCurveAloneGoesBothWays) {
    const DeviceImage image = MapImage(false);
    const std::string path = Path("curve.csv");
    ASSERT_TRUE(WriteMapCsv(path, image, ',').ok);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes).ok);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 2);
    EXPECT_EQ(bytes.substr(bytes.find('\n') + 1, 4), "100,");

    DeviceImage back = Scrambled(image);
    const DeviceImage scrambled = back;
    ASSERT_FALSE(ImportMapFile(back, path).refused);
    for (int r = 0; r < kMapRows; ++r)
        for (int c = 0; c < kMapColumns; ++c)
            EXPECT_EQ(back[AdvanceIndex(r, c)],
                      (r == kCurveRow ? image : scrambled)[AdvanceIndex(r, c)]);
}

TEST_F(MapFile, ACsvFromASpreadsheetWithDecimalCommasIsTaken) {
    const std::string path = Path("calc.CSV");
    // As LibreOffice saves a sheet in a Czech or German locale: semicolons, decimal commas.
    ASSERT_TRUE(WriteFileAtomically(path, "\xEF\xBB\xBF;3000;4000\n20 %;12,5;13,4\n").ok);
    DeviceImage image = MapImage(true);
    const EditOutcome out = ImportMapFile(image, path);
    ASSERT_FALSE(out.refused) << out.reason.In(1);
    EXPECT_EQ(out.cells, (MapRect{4, 2, 4, 3}));
    EXPECT_EQ(image[AdvanceIndex(4, 2)], 13);
    EXPECT_EQ(image[AdvanceIndex(4, 3)], 13);
}

TEST_F(MapFile, CommasSeparateInACsvOnly) {
    EXPECT_EQ(CommaRuleForFile("/a/map.csv"), CommaRule::Separates);
    EXPECT_EQ(CommaRuleForFile("MAP.CSV"), CommaRule::Separates);
    EXPECT_EQ(CommaRuleForFile("map.tsv"), CommaRule::DecimalWhenAlone);
    EXPECT_EQ(CommaRuleForFile("csv"), CommaRule::DecimalWhenAlone);
}

struct BadFile {
    const char* what;
    std::function<std::string(const std::string& dir)> make;  // returns the path
    std::string reason;                                       // "%s" stands for the path
};

TEST_F(MapFile, WhatIsNoMapTextIsRefusedWithoutBlocking) {
    const BadFile cases[] = {
        {"missing", [](const std::string& d) { return d + "/none.csv"; },
         "%s: there is no such file"},
        {"a folder",
         [](const std::string& d) {
             ::mkdir((d + "/folder.csv").c_str(), 0700);
             return d + "/folder.csv";
         },
         "%s is a folder, not a file"},
        // Opening a pipe for reading waits for a writer: it must not even be opened.
        {"a pipe",
         [](const std::string& d) {
             ::mkfifo((d + "/pipe.csv").c_str(), 0600);
             return d + "/pipe.csv";
         },
         "%s is not a regular file (it is a pipe or a device)"},
        {"a device", [](const std::string&) { return std::string("/dev/zero"); },
         "%s is not a regular file (it is a pipe or a device)"},
        {"too large",
         [](const std::string& d) {
             WriteFileAtomically(d + "/big.csv", std::string(kMaxMapTextSize + 1, '1'));
             return d + "/big.csv";
         },
         "%s is too large for a map (65537 bytes, at most 65536)"},
        {"binary",
         [](const std::string& d) {
             WriteFileAtomically(d + "/prog.csv", std::string("\x7F"
                                                              "ELF\x02\x01\x01\0\0",
                                                              9));
             return d + "/prog.csv";
         },
         "%s is not a text file"},
        {"UTF-16",
         [](const std::string& d) {
             WriteFileAtomically(d + "/wide.csv", std::string("\xFF\xFE"
                                                              "1\0;\0"
                                                              "2\0",
                                                              8));
             return d + "/wide.csv";
         },
         "%s is not a text file"},
        {"a cell out of range",
         [](const std::string& d) {
             WriteFileAtomically(d + "/bad.csv", ";1000;2000\r\n0;12;75\r\n");
             return d + "/bad.csv";
         },
         "%s: Row 0 %, column 2000 rpm: 75 is outside 0 to 60°"},
    };
    for (const BadFile& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = c.make(dir_);
        DeviceImage image = MapImage(true);
        const DeviceImage before = image;
        const EditOutcome out = ImportMapFile(image, path);
        EXPECT_TRUE(out.refused);
        EXPECT_EQ(image, before);
        std::string reason = c.reason;
        reason.replace(reason.find("%s"), 2, path);
        EXPECT_EQ(out.reason.In(1), reason);
        EXPECT_NE(out.reason.In(0), out.reason.In(1));
        EXPECT_NE(out.reason.In(2), out.reason.In(1));
    }
}

TEST_F(MapFile, AFailedExportLeavesWhatWasThere) {
    const DeviceImage image = MapImage(true);
    const MapFileWrite missingFolder = WriteMapCsv(Path("no/such/map.csv"), image, ',');
    EXPECT_FALSE(missingFolder.ok);
    EXPECT_EQ(missingFolder.error.In(1).rfind("Cannot write " + Path("no/such/map.csv"), 0), 0u)
        << missingFolder.error.In(1);

    ASSERT_EQ(::mkdir(Path("taken.csv").c_str(), 0700), 0);
    ASSERT_TRUE(WriteFileAtomically(Path("taken.csv/keep"), "kept").ok);
    const MapFileWrite folder = WriteMapCsv(Path("taken.csv"), image, ',');
    EXPECT_FALSE(folder.ok);
    EXPECT_FALSE(folder.error.In(0).empty());
    std::string kept;
    ASSERT_TRUE(ReadWholeFile(Path("taken.csv/keep"), kept).ok);
    EXPECT_EQ(kept, "kept");
}

}  // namespace
}  // namespace korvan
