#include "log/log_reading.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

namespace korvan::logread {

namespace {

constexpr const char* kCaptureDatePrefix = "Capture Date:";
constexpr const char* kUnitPrefix = "Unit:";
constexpr const char* kTunePrefix = "Tune:";
constexpr double kMsPerSecond = 1000;
constexpr long long kMaxTimeBackMs = static_cast<long long>(kMaxTimeBackS * kMsPerSecond);
// A foreign header's title may be anything; it is shown, so it is kept short.
constexpr std::size_t kMaxHeaderText = 200;

// A logged value in the range of its frame field; foreign logs may hold fractions.
template <typename T>
T Clamped(double v, double min, double max) {
    const double r = std::round(v);
    return static_cast<T>(r < min ? min : (r > max ? max : r));
}

std::string HeaderText(std::string_view text) {
    return std::string(Trim(text.substr(0, kMaxHeaderText)));
}

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) {
        return c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == '"';
    };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

void SplitFields(std::string_view line, char separator, std::vector<std::string_view>& fields) {
    fields.clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t at = line.find(separator, start);
        if (at == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return;
        }
        fields.push_back(line.substr(start, at - start));
        start = at + 1;
    }
}

bool ParseNumber(std::string_view field, double& value, bool decimalComma) {
    field = Trim(field);
    if (field.empty()) return false;
    if (field.front() == '+') field.remove_prefix(1);
    std::string withPoint;
    if (decimalComma && field.find(',') != std::string_view::npos) {
        withPoint.assign(field);
        std::replace(withPoint.begin(), withPoint.end(), ',', '.');
        field = withPoint;
    }
    const auto result = std::from_chars(field.data(), field.data() + field.size(), value);
    return result.ec == std::errc() && result.ptr == field.data() + field.size() &&
           std::isfinite(value);
}

void StoreChannel(LogSample& s, std::size_t channel, double v) {
    MonitorChannels& c = s.Channels;
    constexpr double kWord = 65535, kByte = 255;
    switch (channel) {
        case kChannelTime:
            s.TimeS = v;
            break;
        case kChannelRpm:
            c.Rpm = Clamped<std::uint16_t>(v, 0, kWord);
            break;
        case kChannelTps:
            c.TpsPercent = Clamped<std::uint8_t>(v, 0, kByte);
            break;
        case kChannelTpsMv:
            c.TpsMv = Clamped<std::uint16_t>(v, 0, kWord);
            break;
        case kChannelLambda:
            c.LambdaMv = Clamped<std::uint16_t>(v, 0, kWord);
            break;
        case kChannelAdvance:
            c.Advance = Clamped<std::uint8_t>(v, 0, kByte);
            break;
        case kChannelServoDesired:
            c.ServoDesiredMv = Clamped<std::uint16_t>(v, 0, kWord);
            break;
        case kChannelServoMeasured:
            c.ServoMeasuredMv = Clamped<std::uint16_t>(v, 0, kWord);
            break;
        case kChannelBlocking1:
            c.Blocking1 = v != 0;
            break;
        case kChannelBlocking2:
            c.Blocking2 = v != 0;
            break;
        case kChannelClutch:
            c.Clutch = v != 0;
            break;
        case kChannelLimiter1:
            c.Limiter1 = v != 0;
            break;
        case kChannelTachoLambda:
            c.TachoLambda = v != 0;
            break;
        case kChannelN2o:
            c.N2o = v != 0;
            break;
        case kChannelMapRpmColumn:
            s.Cell.RpmColumn = Clamped<int>(v, -1, kMapColumns - 1);
            break;
        case kChannelMapTpsRow:
            s.Cell.TpsRow = Clamped<int>(v, -1, kMapRows - 1);
            break;
        default:
            break;
    }
}

void NoteHeaderLine(RideLogReadResult& r, std::string_view line) {
    const std::string_view t = Trim(line);
    if (t.empty()) return;
    for (const auto& [prefix, target] :
         {std::pair<std::string_view, std::string*>{kCaptureDatePrefix, &r.captureDate},
          {kUnitPrefix, &r.unitVersion},
          {kTunePrefix, &r.tuneFile}}) {
        if (StartsWith(t, prefix)) {
            *target = HeaderText(t.substr(prefix.size()));
            return;
        }
    }
    if (r.title.empty()) r.title = HeaderText(t);
}

bool RowCollector::Room() {
    if (r_.rows.size() < limits_.maxRows) return true;
    r_.truncated = true;
    return false;
}

void RowCollector::Add(const LogSample& sample, std::size_t position) {
    const double t = sample.TimeS;
    if (!std::isfinite(t)) return Bad(position, BadRowKind::NotANumber, kTimeChannel);
    if (t < 0) return Bad(position, BadRowKind::TimeNegative);
    if (t > kMaxLogTimeS) return Bad(position, BadRowKind::TimeTooLarge);
    // In whole milliseconds, as every writer keeps times: a row kept here is kept again when
    // its log is read back from what this program wrote.
    const long long ms = std::llround(t * kMsPerSecond);
    if (!r_.rows.empty() && ms < latestMs_ - kMaxTimeBackMs)
        return Bad(position, BadRowKind::TimeBack);
    latestMs_ = r_.rows.empty() ? ms : std::max(latestMs_, ms);
    r_.rows.push_back(sample);
}

void RowCollector::Bad(std::size_t position, BadRowKind kind, std::string_view column) {
    ++r_.badRowCount;
    if (r_.badRows.size() < RideLogReadResult::kNamedBadRows)
        r_.badRows.push_back({position, kind, std::string(column)});
}

void RowCollector::Finish() {
    r_.hasTps = r_.HasChannel(kChannelTps);
    r_.hasLambda = r_.HasChannel(kChannelLambda);
    if (r_.rows.empty()) r_.refusal = LogRefusal::NoRows;
}

std::string_view BeginTextLog(std::string_view text, const ReadLimits& limits, bool truncated,
                              LogFormat format, RideLogReadResult& r) {
    r.format = format;
    r.truncated = truncated;
    if (text.size() > limits.maxBytes) {
        text = text.substr(0, limits.maxBytes);
        r.truncated = true;
    }
    if (r.truncated) {
        const std::size_t lastBreak = text.rfind('\n');
        text = text.substr(0, lastBreak == std::string_view::npos ? 0 : lastBreak + 1);
    }
    r.bytesRead = text.size();
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
    return text;
}

}  // namespace korvan::logread
