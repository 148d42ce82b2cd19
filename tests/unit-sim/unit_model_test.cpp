#include "unit-sim/unit_model.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "files/state_file.h"
#include "params/defaults.h"
#include "unit-sim/unit_pages.h"

namespace korvan::sim {
namespace {

// The tool's own conversion of a raw sensor value.
unsigned ToMv(unsigned raw) {
    return raw * 5000u / 8184u;
}
unsigned Word(const DeviceFrame& f, std::size_t at) {
    return f[at] | (f[at + 1] << 8);
}

DeviceFrame Request(std::uint8_t command, const std::vector<std::uint8_t>& payload = {}) {
    std::uint8_t page[kPageSize] = {};
    std::copy(payload.begin(), payload.end(), page);
    return BuildFrame(command, page);
}

std::vector<std::uint8_t> Pattern(std::uint8_t seed) {
    std::vector<std::uint8_t> p(kPageSize);
    for (std::size_t i = 0; i < kPageSize; ++i) p[i] = static_cast<std::uint8_t>(seed + 7 * i);
    p[field::NoReading - field::P] = 0;  // as a parameter page, one that allows reading
    return p;
}

std::vector<std::uint8_t> Payload(const DeviceFrame& f) {
    return {f.begin() + kFramePayloadOffset, f.begin() + kFrameCheckOffset};
}
std::vector<std::uint8_t> PageOf(const DeviceImage& image, std::size_t p) {
    return {image.Page(p), image.Page(p) + kPageSize};
}

TEST(UnitPages, DefaultsAreAValidUnitWithTheFactorySet) {
    const DeviceImage pages = DefaultUnitPages();
    const IdentityTexts texts = DecodeIdentity(pages);
    EXPECT_EQ(texts.VersionString, "SIM01");
    EXPECT_EQ(texts.DateString, "14. 3.2024");
    EXPECT_EQ(texts.TimeString, "09:05");
    EXPECT_EQ(pages[field::ReadEnable], 1);
    EXPECT_EQ(pages[field::FormatVersion], 15);
    for (std::uint8_t t = 0; t < 24; ++t) EXPECT_TRUE(BikeTypeSupported(pages, t)) << int(t);

    DeviceImage expected;
    SetDefaults(expected);
    EXPECT_EQ(PageOf(pages, 1), PageOf(expected, 1));
    EXPECT_EQ(PageOf(pages, 2), PageOf(expected, 2));
    EXPECT_EQ(pages[field::BikeType], 0);
}

TEST(UnitPages, MonthCodesAreTheLowByteOfTheLetterSum) {
    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::uint8_t codes[] = {25, 13, 32, 35, 39, 45, 43, 29, 40, 38, 51, 12};
    for (int m = 0; m < 12; ++m) EXPECT_EQ(MonthCode(months[m]), codes[m]) << months[m];
}

TEST(UnitPages, IdentityOptionsAndDumpFile) {
    UnitConfig config;
    config.readEnable = 0;
    config.formatVersion = 14;
    config.bikeMask = 0x000008;
    config.versionText = "Race map v2";
    DeviceImage pages;
    ASSERT_EQ(StartPages(config, pages), "");
    EXPECT_EQ(pages[field::ReadEnable], 0);
    EXPECT_EQ(pages[field::FormatVersion], 14);
    EXPECT_EQ(pages[field::BikeMask], 0x08);
    EXPECT_EQ(pages[field::BikeMask + 1], 0);
    EXPECT_EQ(pages[field::BikeMask + 2], 0);
    EXPECT_TRUE(BikeTypeSupported(pages, 3));
    EXPECT_FALSE(BikeTypeSupported(pages, 0));
    EXPECT_EQ(DecodeIdentity(pages).VersionString, "Race map v2");

    // A dump is taken whole, and the options still win over it.
    DeviceImage dumped = DefaultUnitPages();
    for (std::size_t i = 0; i < kImageSize; ++i) dumped[i] = static_cast<std::uint8_t>(i * 13);
    char dir[] = "/tmp/korvan-sim-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string full = std::string(dir) + "/full.txt";
    const std::string half = std::string(dir) + "/half.txt";
    std::ofstream(full) << StateFileText(dumped);
    std::ofstream(half) << StateFileText(dumped).substr(0, 900);

    UnitConfig fromFile;
    fromFile.pagesFile = full;
    fromFile.versionText = "";  // empty text: back to the name-and-number form
    ASSERT_EQ(StartPages(fromFile, pages), "");
    DeviceImage expected = dumped;
    for (std::size_t i = 0; i < field::VersionTextLength; ++i) expected[field::VersionText + i] = 0;
    EXPECT_EQ(pages, expected);

    fromFile.pagesFile = half;
    EXPECT_NE(StartPages(fromFile, pages), "");
    fromFile.pagesFile = std::string(dir) + "/missing.txt";
    EXPECT_NE(StartPages(fromFile, pages), "");
    std::remove(full.c_str());
    std::remove(half.c_str());
    rmdir(dir);
}

TEST(UnitModel, AnswersEveryCommandWithThePageItHolds) {
    UnitModel unit(DefaultUnitPages(), {});
    const DeviceImage start = unit.Pages();

    struct Step {
        std::uint8_t request;
        std::uint8_t seed;  // payload sent with the request; 0 = zeros
        std::uint8_t answer;
        std::size_t page;
    } steps[] = {
        {0x00, 99, 0x80, 0},  // the tool's page 0 is not taken
        {0x40, 0, 0xC0, 0},  {0x41, 0, 0xC1, 1},
        {0x42, 0, 0xC2, 2},  {0x01, 11, 0x81, 1},  // stored and echoed
        {0x02, 22, 0x82, 2}, {0x41, 33, 0xC1, 1},  // a verify's payload is not stored
        {0x42, 44, 0xC2, 2},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(int(s.request));
        const auto answer = unit.Answer(
            Request(s.request, s.seed ? Pattern(s.seed) : std::vector<std::uint8_t>{}), 0);
        ASSERT_TRUE(answer);
        EXPECT_EQ((*answer)[0], s.answer);
        EXPECT_TRUE(FrameCheckOk(answer->data()));
        EXPECT_EQ(Payload(*answer), PageOf(unit.Pages(), s.page));
    }
    EXPECT_EQ(PageOf(unit.Pages(), 0), PageOf(start, 0));
    EXPECT_EQ(PageOf(unit.Pages(), 1), Pattern(11));
    EXPECT_EQ(PageOf(unit.Pages(), 2), Pattern(22));
}

TEST(UnitModel, IgnoresBadFramesWithoutCountingThem) {
    UnitConfig config;
    config.dropEvery = 2;
    UnitModel unit(DefaultUnitPages(), config);
    const DeviceImage start = unit.Pages();

    DeviceFrame badCheck = Request(0x01, Pattern(5));
    badCheck[kFrameCheckOffset] ^= 0x80;
    struct Case {
        DeviceFrame frame;
        RequestFate fate;
    } cases[] = {{badCheck, RequestFate::BadCheck},
                 {Request(0x03), RequestFate::Unknown},
                 {Request(0x31), RequestFate::Unknown},
                 {Request(0x80), RequestFate::Unknown},
                 {Request(0xB0), RequestFate::Unknown}};
    for (const Case& c : cases) {
        EXPECT_FALSE(unit.Answer(c.frame, 0));
        EXPECT_EQ(unit.LastFate(), c.fate);
    }
    EXPECT_EQ(unit.Pages(), start);
    EXPECT_EQ(unit.Requests(), 0u);
    // So the first real request is still number 1 and answered; number 2 is dropped.
    EXPECT_TRUE(unit.Answer(Request(0x30), 0));
    EXPECT_FALSE(unit.Answer(Request(0x30), 0));
}

TEST(UnitModel, DropsAndCorruptsByCountFromStart) {
    UnitConfig config;
    config.dropEvery = 3;
    config.corruptEvery = 2;
    UnitModel unit(DefaultUnitPages(), config);
    // Requests 3 and 6 are dropped; of the answers that remain every second one goes bad.
    const char* expected = "ACDACDAC";  // A answered, C corrupted, D dropped
    for (const char* e = expected; *e; ++e) {
        SCOPED_TRACE(e - expected + 1);
        const auto answer = unit.Answer(Request(0x30), 0);
        ASSERT_EQ(answer.has_value(), *e != 'D');
        if (answer) {
            EXPECT_EQ(FrameCheckOk(answer->data()), *e == 'A');
        }
    }

    // A dropped program request never reached the unit: nothing was stored.
    UnitConfig dropFirst;
    dropFirst.dropEvery = 1;
    UnitModel lossy(DefaultUnitPages(), dropFirst);
    EXPECT_FALSE(lossy.Answer(Request(0x01, Pattern(1)), 0));
    EXPECT_EQ(lossy.Pages(), DefaultUnitPages());
}

TEST(UnitModel, ADriftingMapReadsOneHigherAtEveryReadOfTheMap) {
    UnitConfig config;
    config.driftMap = true;
    UnitModel unit(DefaultUnitPages(), config);
    const std::uint8_t start = DefaultUnitPages()[field::Advance];
    const auto firstCell = [&](std::uint8_t request) {
        return (*unit.Answer(Request(request),
                             0))[kFramePayloadOffset + field::Advance - kMapPageNumber * kPageSize];
    };
    EXPECT_EQ(firstCell(0x42), start);
    EXPECT_EQ(firstCell(0x42), start + 1);  // a read's verification finds another value
    firstCell(0x41);                        // the parameters do not move it
    EXPECT_EQ(firstCell(0x42), start + 2);
}

TEST(UnitModel, NoReadingInProgrammedParametersStopsReadingForGood) {
    UnitModel unit(DefaultUnitPages(), {});
    const auto readEnable = [&] { return (*unit.Answer(Request(0x40), 0))[1 + field::ReadEnable]; };
    EXPECT_EQ(readEnable(), 1);

    std::vector<std::uint8_t> params = PageOf(DefaultUnitPages(), 1);
    params[field::NoReading - field::P] = 1;
    ASSERT_TRUE(unit.Answer(Request(0x01, params), 0));
    EXPECT_EQ(readEnable(), 0);
    // The identity that a program operation gets is the same one.
    EXPECT_EQ((*unit.Answer(Request(0x00), 0))[1 + field::ReadEnable], 0);

    params[field::NoReading - field::P] = 0;
    ASSERT_TRUE(unit.Answer(Request(0x01, params), 0));
    EXPECT_EQ(readEnable(), 0);
}

TEST(UnitModel, MonitorFrameLayout) {
    UnitConfig config;
    config.rpm = 4321;
    config.tpsPercent = 37;
    config.tpsMv = 1234;
    UnitModel unit(DefaultUnitPages(), config);

    const auto frame = unit.Answer(Request(0x30), 5000);
    ASSERT_TRUE(frame);
    EXPECT_EQ((*frame)[0], 0xB0);
    EXPECT_TRUE(FrameCheckOk(frame->data()));
    EXPECT_EQ(Word(*frame, 1), 4321u);
    EXPECT_EQ(ToMv(Word(*frame, 3)), 1234u);
    EXPECT_EQ((*frame)[29], 37);
    const unsigned lambda = ToMv(Word(*frame, 5));
    EXPECT_GE(lambda, 100u);
    EXPECT_LE(lambda, 1000u);
    // Servo wanted at 4321 rpm: between 4000 rpm (2300 mV) and 6000 rpm (2400 mV).
    const unsigned desired = ToMv(Word(*frame, 9));
    EXPECT_GE(desired, 2300u);
    EXPECT_LE(desired, 2400u);
    EXPECT_LE(std::abs(int(ToMv(Word(*frame, 7))) - int(desired)), 40);
    // Single-curve map (the default): row 9 at the column nearest to 43 hundred rpm (40).
    EXPECT_EQ((*frame)[30], unit.Pages()[AdvanceIndex(9, 3)]);
    for (std::size_t b = 31; b <= 39; ++b) EXPECT_LE((*frame)[b], 1) << b;
    for (std::size_t b = 40; b <= 100; ++b) EXPECT_EQ((*frame)[b], 0) << b;
    // The programming count is zero and counts only the map page.
    EXPECT_EQ(Word(*frame, 11), 0u);
    unit.Answer(Request(0x01, PageOf(unit.Pages(), 1)), 0);
    unit.Answer(Request(0x02, PageOf(unit.Pages(), 2)), 0);
    unit.Answer(Request(0x02, PageOf(unit.Pages(), 2)), 0);
    EXPECT_EQ(Word(*unit.Answer(Request(0x30), 0), 11), 2u);
}

TEST(UnitModel, AdvanceComesFromTheCellUnderTheEngine) {
    // A map over speed and throttle where every cell holds its own index.
    DeviceImage pages = DefaultUnitPages();
    pages[field::TpsMapa] = 1;
    for (int i = 0; i < 100; ++i) pages[field::Advance + i] = static_cast<std::uint8_t>(i);

    struct Case {
        std::uint16_t rpm;
        std::uint8_t tps;
        int row, column;
    } cases[] = {
        {999, 0, 0, 0},   // below the first breakpoint: column 0
        {1500, 1, 0, 0},  // ties go to the lower breakpoint
        {1599, 3, 1, 0},  // hundreds are truncated
        {1600, 4, 2, 1},   {10000, 90, 8, 9},
        {30000, 91, 9, 9},  // beyond the 8-bit axis: above the last breakpoint
        {5000, 101, 9, 4},  // sensor error reads as above every throttle row
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.rpm) + " rpm " + std::to_string(c.tps) + " %");
        UnitConfig config;
        config.rpm = c.rpm;
        config.tpsPercent = c.tps;
        UnitModel unit(pages, config);
        const auto frame = unit.Answer(Request(0x30), 1234);
        EXPECT_EQ((*frame)[30], 10 * c.row + c.column);
        EXPECT_EQ((*frame)[29], c.tps);
    }
}

TEST(EngineSim, MillivoltsSurviveTheToolsConversion) {
    for (unsigned mv = 0; mv <= kMaxSensorMv; ++mv) {
        ASSERT_EQ(ToMv(RawFromMillivolts(static_cast<std::uint16_t>(mv))), mv) << mv;
    }
    EXPECT_EQ(RawFromMillivolts(800), 1310);
    EXPECT_EQ(RawFromMillivolts(5000), 8184);
}

TEST(EngineSim, ThrottleFromAFixedSensorVoltageFollowsTheCalibration) {
    const DeviceImage pages = DefaultUnitPages();  // 700 mV closed, 3790 mV open
    struct Case {
        std::uint16_t mv;
        int percent;
    } cases[] = {{0, 0}, {700, 0}, {2245, 50}, {3790, 100}, {4500, 100}};
    for (const Case& c : cases) {
        const EngineState s = EngineSim(EngineHold{{}, {}, c.mv}).At(0, pages);
        EXPECT_EQ(s.tpsPercent, c.percent) << c.mv;
        EXPECT_EQ(s.tpsMv, c.mv);
    }
    // And the other way round: a fixed opening gives the calibrated voltage.
    EXPECT_EQ(EngineSim(EngineHold{{}, 50, {}}).At(0, pages).tpsMv, 2245);
}

TEST(EngineSim, SweepsSlowlyThroughItsRanges) {
    const DeviceImage pages = DefaultUnitPages();
    const EngineSim engine;
    EngineState prev = engine.At(0, pages);
    unsigned lowRpm = 65535, highRpm = 0, lowTps = 255, highTps = 0;
    // One sample per monitor request (330 ms) over two minutes.
    for (std::int64_t ms = 330; ms < 120000; ms += 330) {
        const EngineState s = engine.At(ms, pages);
        ASSERT_GE(s.rpm, kRpmLow);
        ASSERT_LE(s.rpm, kRpmHigh);
        ASSERT_LE(s.tpsPercent, 100);
        ASSERT_GE(s.lambdaMv, kLambdaLowMv);
        ASSERT_LE(s.lambdaMv, kLambdaHighMv);
        // Slow enough for the eye and the cursor to follow.
        ASSERT_LE(std::abs(int(s.rpm) - int(prev.rpm)), 300) << ms;
        ASSERT_LE(std::abs(int(s.tpsPercent) - int(prev.tpsPercent)), 4) << ms;
        lowRpm = std::min<unsigned>(lowRpm, s.rpm);
        highRpm = std::max<unsigned>(highRpm, s.rpm);
        lowTps = std::min<unsigned>(lowTps, s.tpsPercent);
        highTps = std::max<unsigned>(highTps, s.tpsPercent);
        prev = s;
    }
    EXPECT_LE(lowRpm, 1000u);
    EXPECT_GE(highRpm, 11800u);
    EXPECT_LE(lowTps, 2u);
    EXPECT_GE(highTps, 98u);
}

}  // namespace
}  // namespace korvan::sim
