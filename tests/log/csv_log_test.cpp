#include "log/csv_log.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "log/ride_log_writer.h"
#include "params/defaults.h"

namespace korvan {
namespace {

constexpr std::uint8_t kEnglish = 1;

class StringSink : public LogSink {
  public:
    bool Write(const char* data, std::size_t size) override {
        text.append(data, size);
        return true;
    }
    bool Flush() override { return true; }
    std::string Error() const override { return {}; }
    std::string text;
};

TEST(CsvLog, ByteExactHeaderRowsAndMarkersThatReadBack) {
    StringSink sink;
    RideLogWriter writer(sink, ProgramTitle(), LogFormat::Csv);
    writer.Start("Tue Dec 08 07:57:25 2026");
    RideLogRow row;
    row.TimeMs = 12345;
    row.Channels.Rpm = 5400;
    row.Channels.TpsPercent = 37;
    row.Channels.TpsMv = 1980;
    row.Channels.LambdaMv = 845;
    row.Channels.Advance = 31;
    row.Channels.ServoDesiredMv = 2500;
    row.Channels.ServoMeasuredMv = 2488;
    row.Channels.Clutch = true;
    row.Cell = {4, 6};
    writer.Mark(0);  // before the first row
    writer.AddRow(row);
    writer.Mark(12500);  // after the last row
    writer.Finish();
    EXPECT_EQ(sink.text,
              "Time (s);RPM (rpm);TPS (%);TPS mV (mV);Lambda (mV);Advance (deg);Servo desired "
              "(mV);Servo measured (mV);Blocking1 (on);Blocking2 (on);Clutch (on);Limiter1 "
              "(on);TachoLambda (on);N2O (on);Map RPM column (cell);Map TPS row (cell);Marker\r\n"
              "0.000;;;;;;;;;;;;;;;;MARK 001\r\n"
              "12.345;5400;37;1980;845;31;2500;2488;0;0;1;0;0;0;4;6;\r\n"
              "12.500;;;;;;;;;;;;;;;;MARK 002\r\n");

    const RideLogReadResult r = ParseCsvLog(sink.text);
    ASSERT_TRUE(r.Ok()) << r.RefusalText("f.csv", kEnglish);
    EXPECT_EQ(r.format, LogFormat::Csv);
    EXPECT_EQ(r.badRowCount, 0u);
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_DOUBLE_EQ(r.rows[0].TimeS, 12.345);
    EXPECT_EQ(r.rows[0].Channels, row.Channels);
    EXPECT_EQ(r.rows[0].Cell.RpmColumn, 4);
    EXPECT_EQ(r.rows[0].Cell.TpsRow, 6);
    EXPECT_TRUE(r.HasCells());
    EXPECT_TRUE(r.hasLambda);
    EXPECT_EQ(r.marks, (std::vector<std::size_t>{0, 1}));
}

struct ForeignCase {
    const char* name;
    std::string text;
    std::vector<double> times;
    std::vector<std::uint16_t> rpms;
    bool lambda;  // taken as millivolts
    std::uint16_t firstLambda;
};

void PrintTo(const ForeignCase& c, std::ostream* os) {
    *os << c.name;
}

std::string CaseName(const ::testing::TestParamInfo<ForeignCase>& info) {
    std::string name = info.param.name;
    for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    }
    return name;
}

class CsvForeign : public ::testing::TestWithParam<ForeignCase> {};

TEST_P(CsvForeign, ReadsOtherLoggersSeparatorsAndUnits) {
    const ForeignCase& c = GetParam();
    const RideLogReadResult r = ParseCsvLog(c.text);
    ASSERT_TRUE(r.Ok()) << r.RefusalText("f.csv", kEnglish);
    EXPECT_EQ(r.badRowCount, 0u) << r.BadRowsText(kEnglish);
    std::vector<double> times;
    std::vector<std::uint16_t> rpms;
    for (const LogSample& s : r.rows) {
        times.push_back(s.TimeS);
        rpms.push_back(s.Channels.Rpm);
    }
    EXPECT_EQ(times, c.times);
    EXPECT_EQ(rpms, c.rpms);
    EXPECT_EQ(r.hasLambda, c.lambda);
    EXPECT_EQ(r.rows[0].Channels.LambdaMv, c.firstLambda);
}

INSTANTIATE_TEST_SUITE_P(
    Loggers, CsvForeign,
    ::testing::Values(
        ForeignCase{"commas and a units row",
                    "Time,RPM,Lambda\nsec,rpm,mV\n0.5,1200,900\n1.0,1300,910\n",
                    {0.5, 1.0},
                    {1200, 1300},
                    true,
                    900},
        ForeignCase{"semicolons and decimal commas",
                    "\xEF\xBB\xBFTime [s];RPM [1/min];Lambda [mV]\r\n0,25;1200,4;812,6\r\n",
                    {0.25},
                    {1200},
                    true,
                    813},
        ForeignCase{"tabs, quotes and a lambda ratio",
                    "\"Time\"\t\"rpm\"\t\"Lambda (ratio)\"\n\"1\"\t\"2000\"\t\"0.98\"\n",
                    {1},
                    {2000},
                    false,
                    0},
        ForeignCase{"a quoted separator in a name",
                    "\"Note; free\",Time (s),RPM\n\"a, b\",3,4000\n",
                    {3},
                    {4000},
                    false,
                    0},
        ForeignCase{"blank lines and a marker column",
                    "\n\nTime;RPM;Marker\n1;1000;\n\n2;;lap\n3;1100;\n",
                    {1, 3},
                    {1000, 1100},
                    false,
                    0}),
    CaseName);

TEST(CsvLog, RefusalsAndBadRowsAsTheTextLog) {
    struct Case {
        const char* name;
        std::string text;
        LogRefusal refusal;
        const char* message;
    } cases[] = {
        {"empty", "\r\n\r\n", LogRefusal::NoHeader,
         "f.csv has no line of channel names; it is not a ride log."},
        {"no time", "Clock;RPM\n1;2\n", LogRefusal::NoTimeColumn, "f.csv has no Time column."},
        {"no rpm", "Time;Speed\n1;2\n", LogRefusal::NoRpmColumn, "f.csv has no RPM column."},
        {"bad rows only", "Time;RPM\n1\nx;2\n", LogRefusal::NoRows,
         "f.csv holds no readable row. Bad rows left out (2): line 2 is short, line 3: Time is "
         "not a number"},
        {"times out of range", "Time;RPM\n-0.5;1\n1e308;2\n", LogRefusal::NoRows,
         "f.csv holds no readable row. Bad rows left out (2): line 2: Time is negative, line 3: "
         "Time is too large"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RideLogReadResult r = ParseCsvLog(c.text);
        EXPECT_EQ(r.refusal, c.refusal);
        EXPECT_EQ(r.RefusalText("f.csv", kEnglish), c.message);
    }
}

}  // namespace
}  // namespace korvan
