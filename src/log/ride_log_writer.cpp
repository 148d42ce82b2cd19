#include "log/ride_log_writer.h"

#include <charconv>
#include <cstdio>
#include <utility>

namespace korvan {

namespace {

constexpr std::uint32_t kMsPerSecond = 1000;
constexpr std::size_t kPendingReserve = 4096;

// Integers through to_chars: no locale can put a separator into them.
template <typename Int>
void AppendInt(std::string& out, Int value) {
    char buf[24];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, result.ptr);
}

// Whole milliseconds as seconds with three decimals: "12.345".
void AppendSeconds(std::string& out, std::uint32_t ms) {
    AppendInt(out, ms / kMsPerSecond);
    const unsigned frac = ms % kMsPerSecond;
    const char digits[3] = {static_cast<char>('0' + frac / 100),
                            static_cast<char>('0' + frac / 10 % 10),
                            static_cast<char>('0' + frac % 10)};
    out.push_back('.');
    out.append(digits, sizeof digits);
}

}  // namespace

RideLogWriter::RideLogWriter(LogSink& sink, std::string programTitle)
    : sink_(sink), programTitle_(std::move(programTitle)) {
    pending_.reserve(kPendingReserve);
}

bool RideLogWriter::Start(const std::string& captureDate) {
    pending_ += '"' + programTitle_ + '"' + kLineEnd;
    pending_ += "\"Capture Date: " + captureDate + '"' + kLineEnd;
    for (std::size_t i = 0; i < kLogChannelCount; ++i) {
        if (i) pending_ += '\t';
        pending_ += kLogChannels[i].name;
    }
    pending_ += kLineEnd;
    for (std::size_t i = 0; i < kLogChannelCount; ++i) {
        if (i) pending_ += '\t';
        pending_ += kLogChannels[i].unit;
    }
    pending_ += kLineEnd;
    return FlushPending(0);
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
    AppendRow(pending_, row);
    pending_ += kLineEnd;
    ++rows_;
    ++rowsPending_;
    return Tick(row.TimeMs);
}

bool RideLogWriter::Mark(std::uint32_t nowMs) {
    if (failed_) return false;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%s %03u", kMarkPrefix, ++marks_);
    pending_ += buf;
    pending_ += kLineEnd;
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

}  // namespace korvan
