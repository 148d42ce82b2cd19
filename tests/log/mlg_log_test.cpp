#include "log/mlg_log.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "log/ride_log_writer.h"
#include "params/defaults.h"

namespace korvan {
namespace {

constexpr std::uint8_t kEnglish = 1;

// ---- An MLG reader of its own, written from the published layout alone, so that the
// export is checked against the format and not against the program's reader. ----

struct PlainField {
    int type = 0;
    std::string name, units, category;
    int style = 0;
    float scale = 0, transform = 0;
    int digits = 0;
};
struct PlainLog {
    std::string magic;
    int version = 0;
    std::uint32_t timestamp = 0;
    std::uint32_t infoAt = 0, dataAt = 0;
    int recordLength = 0;
    std::vector<PlainField> fields;
    std::string info;
    std::vector<std::vector<double>> rows;
    std::vector<std::pair<std::size_t, std::string>> markers;  // row before which, text
    std::vector<int> counters;
    int badChecksums = 0;
};

std::uint32_t Big(const std::string& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

std::string CText(const std::string& b, std::size_t at, std::size_t size) {
    const std::string field = b.substr(at, size);
    return field.substr(0, field.find('\0'));
}

PlainLog ReadPlainMlg(const std::string& b) {
    PlainLog log;
    log.magic = b.substr(0, 6);
    log.version = static_cast<int>(Big(b, 6, 2));
    log.timestamp = Big(b, 8, 4);
    log.infoAt = Big(b, 12, 4);
    log.dataAt = Big(b, 16, 4);
    log.recordLength = static_cast<int>(Big(b, 20, 2));
    const int count = static_cast<int>(Big(b, 22, 2));
    const int sizes[] = {1, 1, 2, 2, 4, 4, 8, 4};
    for (int i = 0; i < count; ++i) {
        const std::size_t at = 24 + 89 * static_cast<std::size_t>(i);
        PlainField f;
        f.type = static_cast<unsigned char>(b[at]);
        f.name = CText(b, at + 1, 34);
        f.units = CText(b, at + 35, 10);
        f.style = static_cast<unsigned char>(b[at + 45]);
        std::uint32_t bits = Big(b, at + 46, 4);
        std::memcpy(&f.scale, &bits, 4);
        bits = Big(b, at + 50, 4);
        std::memcpy(&f.transform, &bits, 4);
        f.digits = static_cast<signed char>(b[at + 54]);
        f.category = CText(b, at + 55, 34);
        log.fields.push_back(f);
    }
    log.info = CText(b, log.infoAt, log.dataAt - log.infoAt);
    std::size_t at = log.dataAt;
    while (at < b.size()) {
        const int type = static_cast<unsigned char>(b[at]);
        log.counters.push_back(static_cast<unsigned char>(b[at + 1]));
        if (type == 1) {
            log.markers.push_back({log.rows.size(), CText(b, at + 4, 50)});
            at += 4 + 50;
            continue;
        }
        std::size_t v = at + 4;
        unsigned sum = 0;
        for (int i = 0; i < log.recordLength; ++i) sum += static_cast<unsigned char>(b[v + i]);
        if ((sum & 0xFF) != static_cast<unsigned char>(b[v + log.recordLength])) ++log.badChecksums;
        std::vector<double> row;
        for (const PlainField& f : log.fields) {
            const int size = sizes[f.type];
            double raw = 0;
            const std::uint32_t u = Big(b, v, size > 4 ? 4 : size);
            if (f.type == 0 || f.type == 2 || f.type == 4) raw = u;
            if (f.type == 1) raw = static_cast<signed char>(u);
            if (f.type == 3) raw = static_cast<std::int16_t>(u);
            if (f.type == 5) raw = static_cast<std::int32_t>(u);
            row.push_back((raw + f.transform) * static_cast<double>(f.scale));
            v += static_cast<std::size_t>(size);
        }
        log.rows.push_back(row);
        at += 4 + static_cast<std::size_t>(log.recordLength) + 1;
    }
    return log;
}

RideLogRow Row(std::uint32_t ms, std::uint16_t rpm, std::uint8_t tps, int column, int tpsRow) {
    RideLogRow r;
    r.TimeMs = ms;
    MonitorChannels& c = r.Channels;
    c.Rpm = rpm;
    c.TpsPercent = tps;
    c.TpsMv = static_cast<std::uint16_t>(500 + tps * 40);
    c.LambdaMv = static_cast<std::uint16_t>(600 + rpm % 400);
    c.Advance = static_cast<std::uint8_t>(10 + ms % 40);
    c.ServoDesiredMv = 4999;
    c.ServoMeasuredMv = 65535;
    c.Blocking1 = ms % 2;
    c.Clutch = ms % 3 == 0;
    c.N2o = true;
    r.Cell = {column, tpsRow};
    return r;
}

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

std::string WrittenMlg(const std::vector<RideLogRow>& rows, std::size_t markBefore) {
    StringSink sink;
    RideLogWriter writer(sink, "Korvan2 2.0", LogFormat::Mlg);
    LogHeader header;
    header.captureDate = "Tue Dec 08 07:57:25 2026";
    header.unixTime = 1796716645;
    header.unitVersion = "K2 1.07";
    header.tuneFile = "track.ign";
    writer.Start(header);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i == markBefore) writer.Mark(rows[i].TimeMs);
        writer.AddRow(rows[i]);
    }
    writer.Mark(rows.back().TimeMs);
    writer.Finish();
    return sink.text;
}

TEST(MlgLog, AReaderWrittenFromTheLayoutReadsTheExport) {
    const std::vector<RideLogRow> rows = {
        Row(0, 0, 0, -1, -1),
        Row(330, 5400, 37, 4, 6),
        // 12 hours: beyond what a 16-bit block timestamp or a single-precision second holds.
        Row(43200123, 65535, 255, 9, 9),
    };
    const PlainLog log = ReadPlainMlg(WrittenMlg(rows, 1));

    EXPECT_EQ(log.magic, std::string("MLVLG\0", 6));
    EXPECT_EQ(log.version, 2);
    EXPECT_EQ(log.timestamp, 1796716645u);
    ASSERT_EQ(log.fields.size(), kLogChannelCount);
    int recordLength = 0;
    const int sizes[] = {1, 1, 2, 2, 4, 4, 8, 4};
    for (std::size_t i = 0; i < kLogChannelCount; ++i) {
        const PlainField& f = log.fields[i];
        SCOPED_TRACE(f.name);
        EXPECT_EQ(f.name, kLogChannels[i].name);
        EXPECT_EQ(f.units, kLogChannels[i].unit);
        EXPECT_EQ(f.transform, 0.0f);  // so either order of scale and transform agrees
        EXPECT_EQ(f.style, 0);
        EXPECT_FALSE(f.category.empty());
        recordLength += sizes[f.type];
    }
    EXPECT_EQ(log.recordLength, recordLength);
    EXPECT_EQ(log.fields[kChannelTime].digits, 3);
    EXPECT_EQ(log.info,
              "Korvan2 2.0\nCapture Date: Tue Dec 08 07:57:25 2026\nUnit: K2 1.07\nTune: "
              "track.ign");
    EXPECT_EQ(log.dataAt, log.infoAt + log.info.size() + 1);

    EXPECT_EQ(log.badChecksums, 0);
    ASSERT_EQ(log.rows.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        const std::vector<double>& got = log.rows[i];
        const MonitorChannels& c = rows[i].Channels;
        EXPECT_NEAR(got[kChannelTime], rows[i].TimeMs / 1000.0, 0.01);
        const auto d = [](auto v) { return static_cast<double>(v); };
        const double expected[] = {0,
                                   d(c.Rpm),
                                   d(c.TpsPercent),
                                   d(c.TpsMv),
                                   d(c.LambdaMv),
                                   d(c.Advance),
                                   d(c.ServoDesiredMv),
                                   d(c.ServoMeasuredMv),
                                   d(c.Blocking1),
                                   d(c.Blocking2),
                                   d(c.Clutch),
                                   d(c.Limiter1),
                                   d(c.TachoLambda),
                                   d(c.N2o),
                                   d(rows[i].Cell.RpmColumn),
                                   d(rows[i].Cell.TpsRow)};
        for (std::size_t ch = kChannelRpm; ch < kLogChannelCount; ++ch)
            EXPECT_EQ(got[ch], expected[ch]) << kLogChannels[ch].name;
    }
    ASSERT_EQ(log.markers.size(), 2u);
    EXPECT_EQ(log.markers[0], (std::pair<std::size_t, std::string>{1, "MARK 001"}));
    EXPECT_EQ(log.markers[1], (std::pair<std::size_t, std::string>{3, "MARK 002"}));
    // One rolling counter over data and marker blocks.
    for (std::size_t i = 0; i < log.counters.size(); ++i)
        EXPECT_EQ(log.counters[i], static_cast<int>(i));
}

TEST(MlgLog, ProgramReaderKeepsEveryValueMarkerAndHeaderLine) {
    std::vector<RideLogRow> rows;
    for (std::uint32_t i = 0; i < 300; ++i)
        rows.push_back(Row(i * 330 + i % 7, static_cast<std::uint16_t>(800 + i * 37),
                           static_cast<std::uint8_t>(i % 102), static_cast<int>(i % 11) - 1,
                           static_cast<int>(i % 10)));
    const RideLogReadResult r = ParseMlgLog(WrittenMlg(rows, 100));
    ASSERT_TRUE(r.Ok()) << r.RefusalText("f.mlg", kEnglish);
    EXPECT_EQ(r.format, LogFormat::Mlg);
    EXPECT_EQ(r.title, "Korvan2 2.0");
    EXPECT_EQ(r.captureDate, "Tue Dec 08 07:57:25 2026");
    EXPECT_EQ(r.captureTime, 1796716645);
    EXPECT_EQ(r.unitVersion, "K2 1.07");
    EXPECT_EQ(r.tuneFile, "track.ign");
    EXPECT_EQ(r.badRowCount, 0u);
    EXPECT_TRUE(r.HasCells());
    EXPECT_TRUE(r.hasLambda);
    ASSERT_EQ(r.rows.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(std::llround(r.rows[i].TimeS * 1000), rows[i].TimeMs) << i;
        EXPECT_EQ(r.rows[i].Channels, rows[i].Channels) << i;
        EXPECT_EQ(r.rows[i].Cell.RpmColumn, rows[i].Cell.RpmColumn) << i;
        EXPECT_EQ(r.rows[i].Cell.TpsRow, rows[i].Cell.TpsRow) << i;
    }
    EXPECT_EQ(r.marks, (std::vector<std::size_t>{100, 300}));
}

// Builds MLG bytes field by field, to break one thing at a time.
struct MlgBuilder {
    struct Field {
        std::uint8_t type;
        std::string name, units;
        float scale = 1, transform = 0;
    };
    std::string magic = std::string("MLVLG\0", 6);
    int version = 2;
    std::vector<Field> fields = {{4, "Time", "s", 0.001f}, {2, "RPM", "rpm"}};
    int recordLengthDelta = 0;
    long long fieldCount = -1;  // -1: as many as there are
    long long dataOffsetDelta = 0;
    std::string info = "Other Logger 9";
    std::string blocks;

    static void Put(std::string& s, std::uint64_t v, int bytes) {
        for (int i = bytes - 1; i >= 0; --i) s.push_back(static_cast<char>(v >> (8 * i)));
    }
    static void PutF(std::string& s, float f) {
        std::uint32_t bits;
        std::memcpy(&bits, &f, 4);
        Put(s, bits, 4);
    }
    int RecordLength() const {
        const int sizes[] = {1, 1, 2, 2, 4, 4, 8, 4};
        int n = 0;
        for (const Field& f : fields) n += f.type < 8 ? sizes[f.type] : 1;
        return n + recordLengthDelta;
    }
    // A data block of raw values, each already in its field's bytes.
    void Data(const std::string& values, int checksumDelta = 0) {
        blocks.push_back(0);
        blocks.push_back(0);
        Put(blocks, 0, 2);
        blocks += values;
        unsigned sum = 0;
        for (char c : values) sum += static_cast<unsigned char>(c);
        blocks.push_back(static_cast<char>(sum + static_cast<unsigned>(checksumDelta)));
    }
    void Row(std::uint32_t ms, std::uint16_t rpm, int checksumDelta = 0) {
        std::string v;
        Put(v, ms, 4);
        Put(v, rpm, 2);
        Data(v, checksumDelta);
    }
    void Marker(const std::string& text) {
        blocks.push_back(1);
        blocks.push_back(0);
        Put(blocks, 0, 2);
        std::string t = text;
        t.resize(50, '\0');
        blocks += t;
    }
    std::string Bytes() const {
        std::string b = magic;
        Put(b, static_cast<std::uint64_t>(version), 2);
        Put(b, 0, 4);
        const std::size_t infoAt = 24 + 89 * fields.size();
        Put(b, infoAt, 4);
        Put(b,
            static_cast<std::uint64_t>(static_cast<long long>(infoAt + info.size() + 1) +
                                       dataOffsetDelta),
            4);
        Put(b, static_cast<std::uint64_t>(RecordLength()), 2);
        Put(b,
            static_cast<std::uint64_t>(fieldCount < 0 ? static_cast<long long>(fields.size())
                                                      : fieldCount),
            2);
        for (const Field& f : fields) {
            b.push_back(static_cast<char>(f.type));
            std::string name = f.name, units = f.units;
            name.resize(34, '\0');
            units.resize(10, '\0');
            b += name + units;
            b.push_back(0);
            PutF(b, f.scale);
            PutF(b, f.transform);
            b.push_back(0);
            b += std::string(34, '\0');
        }
        b += info;
        b.push_back('\0');
        return b + blocks;
    }
};

// A case's name as a test name: letters and digits, words joined by underscores.
template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    std::string name = info.param.name;
    for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    }
    return name;
}

struct RefusalCase {
    const char* name;
    std::function<void(MlgBuilder&)> change;
    LogRefusal refusal;
    const char* message;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class MlgRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(MlgRefusal, NamesTheFileAndWhatIsWrong) {
    const RefusalCase& c = GetParam();
    MlgBuilder b;
    b.Row(0, 1000);
    c.change(b);
    const std::string bytes = b.Bytes();
    const RideLogReadResult r = ParseMlgLog(bytes);
    EXPECT_EQ(r.refusal, c.refusal);
    EXPECT_TRUE(r.rows.empty());
    EXPECT_EQ(r.RefusalText("ride.mlg", kEnglish), c.message);
    for (std::uint8_t language : {0, 2}) {
        const std::string text = r.RefusalText("ride.mlg", language);
        EXPECT_NE(text.find("ride.mlg"), std::string::npos) << text;
        EXPECT_EQ(text.find('%'), std::string::npos) << text;  // every mark filled
    }
}

INSTANTIATE_TEST_SUITE_P(
    BadHeaders, MlgRefusal,
    ::testing::Values(
        RefusalCase{"wrong magic", [](MlgBuilder& b) { b.magic = std::string("MLVLX\0", 6); },
                    LogRefusal::NotMlg,
                    "ride.mlg is not an MLG log (it does not start with MLVLG)."},
        RefusalCase{"text file", [](MlgBuilder& b) { b.magic = "Time\tR"; }, LogRefusal::NotMlg,
                    "ride.mlg is not an MLG log (it does not start with MLVLG)."},
        RefusalCase{"version 1", [](MlgBuilder& b) { b.version = 1; }, LogRefusal::MlgVersion,
                    "ride.mlg is an MLG log of version 1; only version 2 is read."},
        RefusalCase{"no fields", [](MlgBuilder& b) { b.fieldCount = 0; }, LogRefusal::MlgFieldCount,
                    "ride.mlg names 0 channels; an MLG log has 1 to 1000."},
        RefusalCase{"ten thousand fields", [](MlgBuilder& b) { b.fieldCount = 10000; },
                    LogRefusal::MlgFieldCount,
                    "ride.mlg names 10000 channels; an MLG log has 1 to 1000."},
        RefusalCase{"more fields than bytes", [](MlgBuilder& b) { b.fieldCount = 900; },
                    LogRefusal::MlgDamaged,
                    "ride.mlg is damaged: its header points outside the file."},
        RefusalCase{"data beyond the end", [](MlgBuilder& b) { b.dataOffsetDelta = 1000000; },
                    LogRefusal::MlgDamaged,
                    "ride.mlg is damaged: its header points outside the file."},
        RefusalCase{"data inside the fields", [](MlgBuilder& b) { b.dataOffsetDelta = -200; },
                    LogRefusal::MlgDamaged,
                    "ride.mlg is damaged: its header points outside the file."},
        RefusalCase{"unknown type", [](MlgBuilder& b) { b.fields[1].type = 12; },
                    LogRefusal::MlgFieldType, "ride.mlg: the channel RPM has an unknown type 12."},
        RefusalCase{
            "record length", [](MlgBuilder& b) { b.recordLengthDelta = 3; },
            LogRefusal::MlgRecordLength,
            "ride.mlg: the record length of 9 bytes does not match its channels (6 bytes)."},
        RefusalCase{"no time", [](MlgBuilder& b) { b.fields[0].name = "Clock"; },
                    LogRefusal::NoTimeColumn, "ride.mlg has no Time column."},
        RefusalCase{"no rpm", [](MlgBuilder& b) { b.fields[1].name = "Speed"; },
                    LogRefusal::NoRpmColumn, "ride.mlg has no RPM column."},
        RefusalCase{"no rows", [](MlgBuilder& b) { b.blocks.clear(); }, LogRefusal::NoRows,
                    "ride.mlg holds no readable row."}),
    CaseName<RefusalCase>);

struct RecordCase {
    const char* name;
    std::function<void(MlgBuilder&)> blocks;
    std::vector<std::uint16_t> rpms;  // the rows kept
    std::size_t marks;
    const char* badText;
};

void PrintTo(const RecordCase& c, std::ostream* os) {
    *os << c.name;
}

class MlgRecords : public ::testing::TestWithParam<RecordCase> {};

TEST_P(MlgRecords, BadOnesAreCountedSkippedAndNamed) {
    const RecordCase& c = GetParam();
    MlgBuilder b;
    c.blocks(b);
    const RideLogReadResult r = ParseMlgLog(b.Bytes());
    ASSERT_TRUE(r.Ok()) << r.RefusalText("f.mlg", kEnglish);
    std::vector<std::uint16_t> rpms;
    for (const LogSample& s : r.rows) rpms.push_back(s.Channels.Rpm);
    EXPECT_EQ(rpms, c.rpms);
    EXPECT_EQ(r.marks.size(), c.marks);
    EXPECT_EQ(r.BadRowsText(kEnglish), c.badText);
    EXPECT_FALSE(r.truncated);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, MlgRecords,
    ::testing::Values(
        RecordCase{"clean",
                   [](MlgBuilder& b) {
                       b.Row(0, 1000);
                       b.Marker("MARK 001");
                       b.Row(100, 1100);
                   },
                   {1000, 1100},
                   1,
                   ""},
        RecordCase{"bad checksums",
                   [](MlgBuilder& b) {
                       b.Row(0, 1000);
                       b.Row(100, 1100, 1);
                       b.Row(200, 1200);
                       b.Row(300, 1300, -1);
                   },
                   {1000, 1200},
                   0,
                   "Bad rows left out (2): record 2: bad checksum, record 4: bad checksum"},
        RecordCase{"cut short",
                   [](MlgBuilder& b) {
                       b.Row(0, 1000);
                       b.Row(100, 1100);
                       b.blocks.resize(b.blocks.size() - 3);
                   },
                   {1000},
                   0,
                   "Bad rows left out (1): record 2 is cut short"},
        RecordCase{"marker cut short",
                   [](MlgBuilder& b) {
                       b.Row(0, 1000);
                       b.Marker("x");
                       b.blocks.resize(b.blocks.size() - 10);
                   },
                   {1000},
                   0,
                   "Bad rows left out (1): record 2 is cut short"},
        RecordCase{"unknown block",
                   [](MlgBuilder& b) {
                       b.Row(0, 1000);
                       b.blocks += std::string("\x07\x00\x00\x00", 4);
                       b.Row(100, 1100);
                   },
                   {1000},
                   0,
                   "Bad rows left out (1): record 2: unknown kind of block, the rest of the file "
                   "is left out"},
        RecordCase{"times out of range",
                   [](MlgBuilder& b) {
                       b.fields[0] = {5, "Time", "s", 0.001f};  // signed
                       b.Row(5000, 1000);
                       b.Row(static_cast<std::uint32_t>(-1000), 1100);  // -1 s
                       b.Row(3000, 1200);                               // 2 s back
                       b.Row(4500, 1300);                               // 0.5 s back: kept
                   },
                   {1000, 1300},
                   0,
                   "Bad rows left out (2): record 2: Time is negative, record 3: Time goes back "
                   "more than 1 s"}),
    CaseName<RecordCase>);

TEST(MlgLog, ForeignFieldsTypesScalesAndTransforms) {
    MlgBuilder b;
    b.fields = {
        {7, "Time", "s"},                // seconds as float
        {3, "Lambda", "mV", 2, 100},     // (raw + 100) * 2
        {6, "Odometer", "m"},            // not ours: skipped, but its bytes counted
        {1, "Advance", "deg", 0.5f, 0},  // halves of degrees, signed
        {2, "rpm", "RPM"},               // any case
        {0, "TPS", "%"},
    };
    std::string v;
    MlgBuilder::PutF(v, 12.5f);
    MlgBuilder::Put(v, static_cast<std::uint16_t>(static_cast<std::int16_t>(-50)), 2);
    MlgBuilder::Put(v, 123456789012ULL, 8);
    v.push_back(static_cast<char>(61));
    MlgBuilder::Put(v, 7000, 2);
    v.push_back(static_cast<char>(101));
    b.Data(v);
    const RideLogReadResult r = ParseMlgLog(b.Bytes());
    ASSERT_TRUE(r.Ok()) << r.RefusalText("f.mlg", kEnglish);
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_DOUBLE_EQ(r.rows[0].TimeS, 12.5);
    EXPECT_EQ(r.rows[0].Channels.LambdaMv, 100);  // (-50 + 100) * 2
    EXPECT_EQ(r.rows[0].Channels.Advance, 31);    // 30.5 rounds up
    EXPECT_EQ(r.rows[0].Channels.Rpm, 7000);
    EXPECT_EQ(r.rows[0].Channels.TpsPercent, 101);  // a sensor error stays one
    EXPECT_EQ(r.title, "Other Logger 9");
    EXPECT_TRUE(r.HasChannel(kChannelLambda));
    EXPECT_FALSE(r.HasCells());

    // A lambda in another unit is not taken for millivolts.
    b.fields[1].units = "AFR";
    EXPECT_FALSE(ParseMlgLog(b.Bytes()).hasLambda);
}

TEST(MlgLog, LimitsStopReadingWithoutCallingTheCutDamage) {
    MlgBuilder b;
    for (std::uint32_t i = 0; i < 100; ++i) b.Row(i * 100, static_cast<std::uint16_t>(1000 + i));
    const std::string bytes = b.Bytes();
    const std::size_t header = bytes.size() - 100 * 11;
    struct Case {
        const char* name;
        ReadLimits limits;
        std::size_t rows;
    } cases[] = {
        {"row cap", {1 << 20, 40}, 40},
        {"byte cap inside a record", {header + 10 * 11 + 5, 5000}, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RideLogReadResult r = ParseMlgLog(bytes, c.limits);
        ASSERT_TRUE(r.Ok());
        EXPECT_EQ(r.rows.size(), c.rows);
        EXPECT_TRUE(r.truncated);
        EXPECT_EQ(r.badRowCount, 0u);
        EXPECT_LE(r.bytesRead, c.limits.maxBytes);
        EXPECT_FALSE(r.TruncatedText(kEnglish).empty());
    }
}

}  // namespace
}  // namespace korvan
