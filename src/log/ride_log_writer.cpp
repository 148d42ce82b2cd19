#include "log/ride_log_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <iomanip>
#include <locale>
#include <sstream>
#include <utility>

#include "log/log_text_lines.h"

namespace korvan {

namespace {

using logtext::AppendInt;
using logtext::AppendSeconds;
using logtext::kMsPerSecond;

constexpr std::size_t kPendingReserve = 4096;

// The tab-separated text log.
class MslEncoder : public LogEncoder {
  public:
    void Header(std::string& out, const std::string& title, const LogHeader& header) override {
        QuotedLine(out, title);
        QuotedLine(out, "Capture Date: " + header.captureDate);
        if (!header.unitVersion.empty()) QuotedLine(out, "Unit: " + header.unitVersion);
        if (!header.tuneFile.empty()) QuotedLine(out, "Tune: " + header.tuneFile);
        for (std::size_t i = 0; i < kLogChannelCount; ++i) {
            if (i) out += '\t';
            out += kLogChannels[i].name;
        }
        out += kLineEnd;
        for (std::size_t i = 0; i < kLogChannelCount; ++i) {
            if (i) out += '\t';
            out += kLogChannels[i].unit;
        }
        out += kLineEnd;
    }
    void Row(std::string& out, const RideLogRow& row) override {
        RideLogWriter::AppendRow(out, row);
        out += kLineEnd;
    }
    void Mark(std::string& out, unsigned number, std::uint32_t) override {
        out += MarkText(number);
        out += kLineEnd;
    }

  private:
    // A header line in quotes; a quote or line break inside would end it early.
    static void QuotedLine(std::string& out, std::string text) {
        for (char& c : text) {
            if (c == '"' || c == '\r' || c == '\n') c = ' ';
        }
        out += '"' + text + '"' + kLineEnd;
    }
};

}  // namespace

std::unique_ptr<LogEncoder> MakeMslEncoder() {
    return std::make_unique<MslEncoder>();
}

std::unique_ptr<LogEncoder> MakeLogEncoder(LogFormat format) {
    switch (format) {
        case LogFormat::Mlg:
            return MakeMlgEncoder();
        case LogFormat::Csv:
            return MakeCsvEncoder();
        case LogFormat::Msl:
            break;
    }
    return MakeMslEncoder();
}

RideLogWriter::RideLogWriter(LogSink& sink, std::string programTitle, LogFormat format)
    : sink_(sink), programTitle_(std::move(programTitle)), encoder_(MakeLogEncoder(format)) {
    pending_.reserve(kPendingReserve);
}

bool RideLogWriter::Start(const LogHeader& header) {
    encoder_->Header(pending_, programTitle_, header);
    return FlushPending(0);
}

bool RideLogWriter::Start(const std::string& captureDate) {
    LogHeader header;
    header.captureDate = captureDate;
    return Start(header);
}

void RideLogWriter::AppendRow(std::string& out, const RideLogRow& row) {
    const MonitorChannels& c = row.Channels;
    AppendSeconds(out, row.TimeMs);
    const unsigned values[] = {c.Rpm,       c.TpsPercent,     c.TpsMv,           c.LambdaMv,
                               c.Advance,   c.ServoDesiredMv, c.ServoMeasuredMv, c.Blocking1,
                               c.Blocking2, c.Clutch,         c.Limiter1,        c.TachoLambda,
                               c.N2o};
    for (unsigned v : values) {
        out.push_back('\t');
        AppendInt(out, v);
    }
    out.push_back('\t');
    AppendInt(out, row.Cell.RpmColumn);
    out.push_back('\t');
    AppendInt(out, row.Cell.TpsRow);
}

bool RideLogWriter::AddRow(const RideLogRow& row) {
    if (failed_) return false;
    encoder_->Row(pending_, row);
    ++rows_;
    ++rowsPending_;
    return Tick(row.TimeMs);
}

bool RideLogWriter::Mark(std::uint32_t nowMs) {
    if (failed_) return false;
    encoder_->Mark(pending_, ++marks_, nowMs);
    return FlushPending(nowMs);
}

bool RideLogWriter::Tick(std::uint32_t nowMs) {
    if (failed_) return false;
    // A clock that went back (a new recording's time base) flushes too.
    if (nowMs >= lastFlushMs_ && nowMs - lastFlushMs_ < kFlushIntervalMs) return true;
    return FlushPending(nowMs);
}

bool RideLogWriter::Finish() {
    return failed_ ? false : FlushPending(lastFlushMs_);
}

bool RideLogWriter::FlushPending(std::uint32_t nowMs) {
    if (failed_) return false;
    lastFlushMs_ = nowMs;
    if (!pending_.empty() && !sink_.Write(pending_.data(), pending_.size())) {
        failed_ = true;
    } else if (!sink_.Flush()) {
        failed_ = true;
    }
    if (failed_) {
        error_ = sink_.Error();
        pending_.clear();
        return false;
    }
    pending_.clear();
    rowsFlushed_ += rowsPending_;
    rowsPending_ = 0;
    return true;
}

RideLogRow RowOfSample(const LogSample& sample, bool logHasCells, const DeviceImage& image,
                       bool tpsAxisInUse) {
    RideLogRow row;
    // The readers keep times within 0..kMaxLogTimeS, so they fit.
    const double ms = std::round(sample.TimeS * kMsPerSecond);
    row.TimeMs = ms <= 0 ? 0 : (ms >= 4294967295.0 ? 4294967295u : static_cast<std::uint32_t>(ms));
    row.Channels = sample.Channels;
    row.Cell =
        logHasCells ? sample.Cell : CellOf(image, LiveValuesOf(sample.Channels), tpsAxisInUse);
    return row;
}

namespace {

constexpr const char* kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// "Tue Dec 08 07:57:25 2026" in local time, in English whatever the locale.
std::string DateText(std::int64_t unixTime) {
    const std::time_t t = static_cast<std::time_t>(unixTime);
    std::tm tm{};
#ifdef _WIN32
    const bool converted = localtime_s(&tm, &t) == 0;
#else
    const bool converted = localtime_r(&t, &tm) != nullptr;
#endif
    if (!converted || tm.tm_wday < 0 || tm.tm_wday > 6 || tm.tm_mon < 0 || tm.tm_mon > 11)
        return {};
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s %s %02d %02d:%02d:%02d %d", kDayNames[tm.tm_wday],
                  kMonthNames[tm.tm_mon], tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                  tm.tm_year + 1900);
    return buf;
}

// The time of such a text (local time), or 0 when it is not one.
std::int64_t TimeOfDate(const std::string& text) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    std::tm tm{};
    in >> std::get_time(&tm, "%a %b %d %H:%M:%S %Y");
    if (in.fail()) return 0;
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    return t == static_cast<std::time_t>(-1) ? 0 : static_cast<std::int64_t>(t);
}

// Collects everything in one string.
class StringSink : public LogSink {
  public:
    explicit StringSink(std::string& out) : out_(out) {}
    bool Write(const char* data, std::size_t size) override {
        out_.append(data, size);
        return true;
    }
    bool Flush() override { return true; }
    std::string Error() const override { return {}; }

  private:
    std::string& out_;
};

}  // namespace

LogHeader LogHeaderOf(const RideLogReadResult& log) {
    LogHeader h;
    h.captureDate = log.captureDate;
    h.unixTime = log.captureTime != 0 ? log.captureTime : TimeOfDate(log.captureDate);
    if (h.captureDate.empty() && h.unixTime != 0) h.captureDate = DateText(h.unixTime);
    h.unitVersion = log.unitVersion;
    h.tuneFile = log.tuneFile;
    return h;
}

std::string EncodeRideLog(const RideLogReadResult& log, LogFormat format, const LogHeader& header,
                          const DeviceImage& image, bool tpsAxisInUse) {
    std::string out;
    StringSink sink(out);
    RideLogWriter writer(sink, ProgramTitle(), format);
    writer.Start(header);
    const bool hasCells = log.HasCells();
    std::size_t mark = 0;
    std::uint32_t lastMs = 0;
    for (std::size_t i = 0; i < log.rows.size(); ++i) {
        const RideLogRow row = RowOfSample(log.rows[i], hasCells, image, tpsAxisInUse);
        // A marker takes the time of the row it precedes.
        for (; mark < log.marks.size() && log.marks[mark] <= i; ++mark) writer.Mark(row.TimeMs);
        writer.AddRow(row);
        lastMs = row.TimeMs;
    }
    for (; mark < log.marks.size(); ++mark) writer.Mark(lastMs);
    writer.Finish();
    return out;
}

}  // namespace korvan
