// korvan2-cli map as a script runs it: the real executable, its own settings folder, real
// files, and the bytes it writes compared with what the map text says.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <functional>

#include "cli_process.h"
#include "files/atomic_write.h"
#include "files/parameter_file.h"
#include "params/binding.h"
#include "params/defaults.h"
#include "params/map_text.h"

namespace korvan::test {
namespace {

class MapCli : public ::testing::Test {
  protected:
    std::string Path(const char* name) const { return cli_.Path(name); }

    CliResult Cli(const std::vector<std::string>& args, const std::string& input = {}) const {
        return cli_.Run(args, {input, {}});
    }

    // A tune: the default set changed by `change`, normalised, written as `name`.
    DeviceImage Tune(const char* name, const std::function<void(DeviceImage&)>& change,
                     bool extendedMonitor = false) const {
        DeviceImage image = DefaultImage();
        change(image);
        NormalizeImage(image);
        EXPECT_TRUE(WriteFileAtomically(Path(name), ParameterFileText(image, extendedMonitor)).ok);
        return image;
    }

    static std::string Read(const std::string& path) {
        std::string text;
        EXPECT_TRUE(ReadWholeFile(path, text).ok) << path;
        return text;
    }

  private:
    CliProcess cli_;
};

void ThrottleMap(DeviceImage& image) {
    image[field::TpsMapa] = 1;
    const std::uint8_t axis[kAxisPoints] = {8, 12, 18, 25, 33, 42, 55, 70, 90, 120};
    for (int k = 0; k < kAxisPoints; ++k) image[field::RpmAdv + k] = axis[k];
    for (int i = 0; i < kMapRows * kMapColumns; ++i)
        image[field::Advance + i] = static_cast<std::uint8_t>(i * 13 % 61);
}

TEST_F(MapCli, PrintsTheMapInUseWithItsAxes) {
    const DeviceImage map = Tune("map.ign", ThrottleMap);
    const CliResult full = Cli({"map", Path("map.ign")});
    EXPECT_EQ(full.code, 0) << full.err;
    EXPECT_EQ(full.out, FormatMapText(map, MapRect::WholeMap(), true));
    EXPECT_EQ(full.out.substr(0, 21), "\t800\t1200\t1800\t2500\t3");
    EXPECT_EQ(full.err, "");

    // Without the throttle axis the map is its one curve.
    const DeviceImage curve = Tune("curve.ign", [](DeviceImage&) {});
    const CliResult one = Cli({"map", Path("curve.ign")});
    EXPECT_EQ(one.code, 0) << one.err;
    EXPECT_EQ(one.out, FormatMapText(curve, MapRect::WholeMap(false), true));
    EXPECT_EQ(std::count(one.out.begin(), one.out.end(), '\n'), 2);
}

// The map printed, edited as a spreadsheet would, and set back: the new file is the old one
// with exactly the edited cells, "Extended Monitor" kept.
TEST_F(MapCli, SetFromWritesTheOldFileWithTheNewMap) {
    const DeviceImage map = Tune("map.ign", ThrottleMap, true);
    std::string text = Cli({"map", Path("map.ign")}).out;
    // The 20 % row (line 6), its second cell (1200 rpm) becomes 12,4 -> 12.
    std::size_t at = 0;
    for (int line = 0; line < 5; ++line) at = text.find("\r\n", at) + 2;
    const std::size_t cell = text.find('\t', text.find('\t', at) + 1) + 1;
    text.replace(cell, text.find('\t', cell) - cell, "12,4");
    ASSERT_TRUE(WriteFileAtomically(Path("map.tsv"), text).ok);

    const CliResult run =
        Cli({"map", Path("map.ign"), "--set-from", Path("map.tsv"), "-o", Path("new.ign")});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Paste 10 x 10 cells\n");
    DeviceImage expected = map;
    expected[AdvanceIndex(4, 1)] = 12;
    EXPECT_EQ(Read(Path("new.ign")), ParameterFileText(expected, true));

    // Quiet, from standard input, to standard output.
    const CliResult piped = Cli({"-q", "map", Path("map.ign"), "--set-from", "-"}, text);
    EXPECT_EQ(piped.code, 0) << piped.err;
    EXPECT_EQ(piped.err, "");
    EXPECT_EQ(piped.out, ParameterFileText(expected, true));
}

TEST_F(MapCli, ABlockWithHeadersLandsWhereTheyPoint) {
    const DeviceImage map = Tune("map.ign", ThrottleMap);
    ASSERT_TRUE(WriteFileAtomically(Path("block.csv"), "TPS;2500;3300\n40 %;1,5;2\n60;3;4\n").ok);
    ASSERT_TRUE(WriteFileAtomically(Path("plain.txt"), "7\t8\n").ok);
    ASSERT_TRUE(WriteFileAtomically(Path("one.txt"), "21\n").ok);

    const CliResult block =
        Cli({"map", Path("map.ign"), "--set-from", Path("block.csv"), "-o", Path("b.ign")});
    EXPECT_EQ(block.code, 0) << block.err;
    DeviceImage expected = map;
    expected[AdvanceIndex(6, 3)] = 2;  // 1,5 rounds up
    expected[AdvanceIndex(6, 4)] = 2;
    expected[AdvanceIndex(7, 3)] = 3;
    expected[AdvanceIndex(7, 4)] = 4;
    EXPECT_EQ(Read(Path("b.ign")), ParameterFileText(expected, false));

    const CliResult plain = Cli({"map", Path("map.ign"), "--set-from", Path("plain.txt")});
    EXPECT_EQ(plain.code, 0) << plain.err;
    expected = map;
    expected[AdvanceIndex(0, 0)] = 7;
    expected[AdvanceIndex(0, 1)] = 8;
    EXPECT_EQ(plain.out, ParameterFileText(expected, false));

    const CliResult one = Cli({"map", Path("map.ign"), "--set-from", Path("one.txt")});
    EXPECT_EQ(one.code, 0) << one.err;
    EXPECT_EQ(one.err, "Paste 21° into 10 x 10 cells\n");
}

struct Refusal {
    const char* what;
    std::vector<std::string> args;  // "MAP" the tune, "TEXT" the text file, "OLD" the old output
    std::string text;               // the text file's content
    int code;
    std::string err;  // a piece of standard error
};

TEST_F(MapCli, RefusalsNameTheCauseAndWriteNothing) {
    Tune("map.ign", ThrottleMap);
    ASSERT_TRUE(WriteFileAtomically(Path("old.ign"), "the file that was there").ok);
    ASSERT_TRUE(WriteFileAtomically(Path("partly.ign"),
                                    ParameterFileText(DefaultImage(), false) + "NONSENSE 1\r\n")
                    .ok);
    ASSERT_EQ(::mkfifo(Path("pipe.tsv").c_str(), 0600), 0);
    const Refusal cases[] = {
        {"a cell that is no number",
         {"--language", "de", "map", "MAP", "--set-from", "TEXT", "-o", "OLD"},
         "1\t2\r\n3\tx\r\n",
         2,
         "Zeile 2 %, Spalte 1200 U/min: „x“ ist keine Zahl"},
        {"out of range",
         {"map", "MAP", "--set-from", "TEXT", "-o", "OLD"},
         "61\t2\r\n",
         2,
         "Row 0 %, column 800 rpm: 61 is outside 0 to 60°"},
        {"too wide",
         {"map", "MAP", "--set-from", "TEXT", "-o", "OLD"},
         "1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\n",
         2,
         "The block of 11 x 1 cells does not fit the map from row 0 %, column 800 rpm"},
        {"another RPM axis",
         {"map", "MAP", "--set-from", "TEXT", "-o", "OLD"},
         "\t1000\t2000\n0\t1\t2\n",
         2,
         "The header row (1000 2000) does not match the map's RPM points"},
        {"empty",
         {"map", "MAP", "--set-from", "TEXT", "-o", "OLD"},
         "\r\n",
         2,
         "The map text is empty"},
        {"a pipe",
         {"map", "MAP", "--set-from", "PIPE", "-o", "OLD"},
         "",
         2,
         "pipe.tsv is not a regular file (it is a pipe or a device)"},
        {"a missing text",
         {"map", "MAP", "--set-from", "NONE", "-o", "OLD"},
         "",
         2,
         "none.tsv: there is no such file"},
        {"a partly understood tune",
         {"map", "PARTLY", "--set-from", "TEXT", "-o", "OLD"},
         "1\n",
         2,
         "only partly understood"},
        {"output without a map text", {"map", "MAP", "-o", "OLD"}, "", 1, "--set-from"},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteFileAtomically(Path("text.tsv"), c.text).ok);
        std::vector<std::string> args;
        for (const std::string& a : c.args) {
            args.push_back(a == "MAP"      ? Path("map.ign")
                           : a == "TEXT"   ? Path("text.tsv")
                           : a == "OLD"    ? Path("old.ign")
                           : a == "PIPE"   ? Path("pipe.tsv")
                           : a == "NONE"   ? Path("none.tsv")
                           : a == "PARTLY" ? Path("partly.ign")
                                           : a);
        }
        const CliResult run = Cli(args);
        EXPECT_EQ(run.code, c.code) << run.err;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(Read(Path("old.ign")), "the file that was there");
    }
    // The partly understood tune is taken when the user says so.
    ASSERT_TRUE(WriteFileAtomically(Path("text.tsv"), "1\n").ok);
    const CliResult accepted =
        Cli({"map", Path("partly.ign"), "--accept-ignored", "--set-from", Path("text.tsv")});
    EXPECT_EQ(accepted.code, 0) << accepted.err;
}

TEST_F(MapCli, TenMegabytesOnStandardInputAreRefusedWhole) {
    Tune("map.ign", ThrottleMap);
    const CliResult run = Cli({"map", Path("map.ign"), "--set-from", "-", "-o", Path("new.ign")},
                              std::string(10 * 1024 * 1024, '1'));
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "standard input is too large for a map (10485760 bytes, at most 65536)\n");
    struct stat st {};
    EXPECT_NE(::stat(Path("new.ign").c_str(), &st), 0);
}

TEST_F(MapCli, HelpDescribesTheCommand) {
    const CliResult help = Cli({"--help"});
    EXPECT_NE(help.out.find("map"), std::string::npos);
    const CliResult mapHelp = Cli({"map", "--help"});
    EXPECT_EQ(mapHelp.code, 0);
    EXPECT_NE(mapHelp.out.find("--set-from"), std::string::npos);
    EXPECT_NE(mapHelp.out.find("standard input"), std::string::npos);
}

}  // namespace
}  // namespace korvan::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
