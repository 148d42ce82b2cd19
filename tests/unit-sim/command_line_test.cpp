#include "unit-sim/command_line.h"

#include <gtest/gtest.h>

namespace korvan::sim {
namespace {

TEST(CommandLine, AcceptsEveryOptionInBothSpellings) {
    UnitConfig c;
    ASSERT_EQ(ParseCommandLine({"--link",
                                "/tmp/unit",
                                "--pages=/tmp/p.txt",
                                "--read-enable",
                                "0",
                                "--format-version=14",
                                "--bike-mask",
                                "0x000008",
                                "--version-text",
                                "Tuned by hand",
                                "--drop-every",
                                "3",
                                "--corrupt-every=4",
                                "--delay-ms",
                                "250",
                                "--noise",
                                "--drift-map",
                                "--seed=9",
                                "--hangup-after",
                                "5",
                                "--rpm",
                                "6500",
                                "--tps",
                                "101",
                                "--tps-mv=700",
                                "--verbose"},
                               c),
              "");
    EXPECT_EQ(c.linkPath, "/tmp/unit");
    EXPECT_EQ(c.pagesFile, "/tmp/p.txt");
    EXPECT_EQ(c.readEnable, 0);
    EXPECT_EQ(c.formatVersion, 14);
    EXPECT_EQ(c.bikeMask, 0x000008u);
    EXPECT_EQ(c.versionText, "Tuned by hand");
    EXPECT_EQ(c.dropEvery, 3u);
    EXPECT_EQ(c.corruptEvery, 4u);
    EXPECT_EQ(c.delayMs, 250u);
    EXPECT_TRUE(c.noise);
    EXPECT_TRUE(c.driftMap);
    EXPECT_EQ(c.noiseSeed, 9u);
    EXPECT_EQ(c.hangupAfter, 5u);
    EXPECT_EQ(c.rpm, 6500);
    EXPECT_EQ(c.tpsPercent, 101);
    EXPECT_EQ(c.tpsMv, 700);
    EXPECT_EQ(c.verbosity, Verbosity::Verbose);

    UnitConfig d;
    ASSERT_EQ(ParseCommandLine({}, d), "");
    EXPECT_FALSE(d.readEnable || d.formatVersion || d.bikeMask || d.versionText || d.rpm ||
                 d.tpsPercent || d.tpsMv);
    EXPECT_EQ(d.dropEvery + d.corruptEvery + d.delayMs + d.hangupAfter, 0u);
}

TEST(CommandLine, BikeMaskIsHexWithOrWithoutPrefix) {
    struct Case {
        const char* text;
        std::uint32_t mask;
    } cases[] = {{"0x000008", 0x8}, {"FFFFFF", 0xFFFFFF}, {"0X1f", 0x1F}, {"200", 0x200}};
    for (const Case& k : cases) {
        UnitConfig c;
        ASSERT_EQ(ParseCommandLine({"--bike-mask", k.text}, c), "") << k.text;
        EXPECT_EQ(c.bikeMask, k.mask) << k.text;
    }
}

TEST(CommandLine, RefusesWhatWouldStartAWrongUnit) {
    const std::vector<std::vector<std::string>> cases = {
        {"--read-enable", "256"},
        {"--read-enable", "1x"},
        {"--rpm", "-5"},
        {"--rpm", "70000"},
        {"--tps-mv", "5001"},
        {"--delay-ms", ""},
        {"--hangup-after", "0"},
        {"--bike-mask", "1000000"},  // 25 bits
        {"--bike-mask", "0xG1"},
        {"--version-text", std::string(31, 'x')},
        {"--drop-every"},  // value missing
        {"--noise=1"},
        {"--nosie"},
        {"positional"},
    };
    for (const auto& args : cases) {
        UnitConfig c;
        EXPECT_NE(ParseCommandLine(args, c), "") << args[0];
    }
}

}  // namespace
}  // namespace korvan::sim
