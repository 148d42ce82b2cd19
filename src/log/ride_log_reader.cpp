#include "log/ride_log_reader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "log/log_texts.h"
#include "log/ride_log.h"

namespace korvan {

namespace {

// Quoted lines and blank lines before the channel names; a file without names by then is
// not a log.
constexpr std::size_t kMaxPreambleLines = 50;
constexpr std::size_t kBytesPerMegabyte = std::size_t{1} << 20;
constexpr const char* kCaptureDatePrefix = "Capture Date:";
constexpr const char* kMillivoltUnit = "mV";

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) {
        return c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == '"';
    };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

// Splits on tabs into `fields`, reusing its storage.
void SplitTabs(std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return;
        }
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

bool ParseNumber(std::string_view field, double& value) {
    field = Trim(field);
    if (field.empty()) return false;
    if (field.front() == '+') field.remove_prefix(1);
    const auto result = std::from_chars(field.data(), field.data() + field.size(), value);
    return result.ec == std::errc() && result.ptr == field.data() + field.size() &&
           std::isfinite(value);
}

// A logged value in the range of its frame field; foreign logs may hold fractions.
template <typename T>
T Clamped(double v, double max) {
    const double r = std::round(v);
    return static_cast<T>(r < 0 ? 0 : (r > max ? max : r));
}

// Where each value lands in a sample; the index is the channel's place in kLogChannels.
enum Channel : std::size_t {
    kTime,
    kRpm,
    kTps,
    kTpsMv,
    kLambda,
    kAdvance,
    kServoDesired,
    kServoMeasured,
    kBlocking1,
    kBlocking2,
    kClutch,
    kLimiter1,
    kTachoLambda,
    kN2o,
    kChannelsRead
};

void Store(LogSample& s, std::size_t channel, double v) {
    MonitorChannels& c = s.Channels;
    constexpr double kWord = 65535, kByte = 255;
    switch (channel) {
        case kTime:
            s.TimeS = v;
            break;
        case kRpm:
            c.Rpm = Clamped<std::uint16_t>(v, kWord);
            break;
        case kTps:
            c.TpsPercent = Clamped<std::uint8_t>(v, kByte);
            break;
        case kTpsMv:
            c.TpsMv = Clamped<std::uint16_t>(v, kWord);
            break;
        case kLambda:
            c.LambdaMv = Clamped<std::uint16_t>(v, kWord);
            break;
        case kAdvance:
            c.Advance = Clamped<std::uint8_t>(v, kByte);
            break;
        case kServoDesired:
            c.ServoDesiredMv = Clamped<std::uint16_t>(v, kWord);
            break;
        case kServoMeasured:
            c.ServoMeasuredMv = Clamped<std::uint16_t>(v, kWord);
            break;
        case kBlocking1:
            c.Blocking1 = v != 0;
            break;
        case kBlocking2:
            c.Blocking2 = v != 0;
            break;
        case kClutch:
            c.Clutch = v != 0;
            break;
        case kLimiter1:
            c.Limiter1 = v != 0;
            break;
        case kTachoLambda:
            c.TachoLambda = v != 0;
            break;
        case kN2o:
            c.N2o = v != 0;
            break;
        default:
            break;
    }
}

class LineCursor {
  public:
    explicit LineCursor(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        line = text_.substr(pos_, end - pos_);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos_ = end + 1;
        ++number_;
        return true;
    }
    std::size_t Number() const { return number_; }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t number_ = 0;
};

void NoteBadRow(RideLogReadResult& r, std::size_t line, BadRowKind kind, std::string_view column) {
    ++r.badRowCount;
    if (r.badRows.size() < RideLogReadResult::kNamedBadRows)
        r.badRows.push_back({line, kind, std::string(column)});
}

}  // namespace

RideLogReadResult ParseRideLog(std::string_view text, const ReadLimits& limits, bool truncated) {
    RideLogReadResult r;
    r.truncated = truncated;
    if (text.size() > limits.maxBytes) {
        text = text.substr(0, limits.maxBytes);
        r.truncated = true;
    }
    if (r.truncated) {
        // The last line may have been cut in the middle of a number.
        const std::size_t lastBreak = text.rfind('\n');
        text = text.substr(0, lastBreak == std::string_view::npos ? 0 : lastBreak + 1);
    }
    r.bytesRead = text.size();
    // A byte order mark from an editor is not part of the first line.
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());

    LineCursor lines(text);
    std::string_view line;
    bool haveNames = false;
    while (lines.Number() < kMaxPreambleLines && lines.Next(line)) {
        const std::string_view t = Trim(line);
        if (t.empty()) continue;
        if (line.front() == '"') {
            if (t.substr(0, std::strlen(kCaptureDatePrefix)) == kCaptureDatePrefix) {
                r.captureDate = std::string(Trim(t.substr(std::strlen(kCaptureDatePrefix))));
            } else if (r.title.empty()) {
                r.title = std::string(t);
            }
            continue;
        }
        haveNames = true;
        break;
    }
    if (!haveNames) {
        r.refusal = LogRefusal::NoHeader;
        return r;
    }

    std::vector<std::string_view> fields;
    SplitTabs(line, fields);
    std::size_t columnOf[kChannelsRead];
    std::fill(std::begin(columnOf), std::end(columnOf), SIZE_MAX);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string_view name = Trim(fields[i]);
        r.columns.emplace_back(name);
        for (std::size_t ch = 0; ch < kChannelsRead; ++ch) {
            if (columnOf[ch] == SIZE_MAX && SameName(name, kLogChannels[ch].name)) columnOf[ch] = i;
        }
    }
    if (columnOf[kTime] == SIZE_MAX && columnOf[kRpm] == SIZE_MAX) {
        r.refusal = LogRefusal::NoHeader;
        return r;
    }
    if (columnOf[kTime] == SIZE_MAX) {
        r.refusal = LogRefusal::NoTimeColumn;
        return r;
    }
    if (columnOf[kRpm] == SIZE_MAX) {
        r.refusal = LogRefusal::NoRpmColumn;
        return r;
    }

    // The units line, when there is one: its Time field is not a number.
    std::string_view afterNames;
    bool pendingLine = false;
    if (lines.Next(afterNames)) {
        SplitTabs(afterNames, fields);
        double ignored;
        const std::size_t timeColumn = columnOf[kTime];
        if (timeColumn < fields.size() && !ParseNumber(fields[timeColumn], ignored) &&
            Trim(afterNames).substr(0, std::strlen(kMarkPrefix)) != kMarkPrefix) {
            const std::size_t lambdaColumn = columnOf[kLambda];
            if (lambdaColumn < fields.size() &&
                SameName(Trim(fields[lambdaColumn]), kMillivoltUnit)) {
                r.hasLambda = true;
            }
        } else {
            pendingLine = true;  // no units: the line is the first row
        }
    }
    // Without a units line nothing says the Lambda column holds millivolts.
    if (!r.hasLambda) columnOf[kLambda] = SIZE_MAX;
    r.hasTps = columnOf[kTps] != SIZE_MAX;

    std::size_t needed = 0;
    for (std::size_t c : columnOf) {
        if (c != SIZE_MAX) needed = std::max(needed, c + 1);
    }

    std::string_view row = afterNames;
    while (pendingLine || lines.Next(row)) {
        pendingLine = false;
        const std::string_view t = Trim(row);
        if (t.empty()) continue;
        if (t.substr(0, std::strlen(kMarkPrefix)) == kMarkPrefix) {
            r.marks.push_back(r.rows.size());
            continue;
        }
        if (r.rows.size() >= limits.maxRows) {
            r.truncated = true;
            break;
        }
        SplitTabs(row, fields);
        if (fields.size() < needed) {
            NoteBadRow(r, lines.Number(), BadRowKind::Short, {});
            continue;
        }
        LogSample sample;
        bool good = true;
        for (std::size_t ch = 0; ch < kChannelsRead && good; ++ch) {
            if (columnOf[ch] == SIZE_MAX) continue;
            double v;
            if (!ParseNumber(fields[columnOf[ch]], v)) {
                NoteBadRow(r, lines.Number(), BadRowKind::NotANumber, r.columns[columnOf[ch]]);
                good = false;
            } else {
                Store(sample, ch, v);
            }
        }
        if (good) r.rows.push_back(sample);
    }
    if (r.rows.empty()) r.refusal = LogRefusal::NoRows;
    return r;
}

RideLogReadResult ReadRideLogFile(const std::string& path, const ReadLimits& limits) {
    RideLogReadResult r;
    const std::filesystem::path p(path);
    if (!SameName(p.extension().string(), kLogExtension)) {
        r.refusal = LogRefusal::NotMsl;
        return r;
    }
    std::error_code ec;
    if (std::filesystem::is_directory(p, ec)) {
        r.refusal = LogRefusal::CannotOpen;
        r.systemReason = std::strerror(EISDIR);
        return r;
    }
    std::ifstream in(p, std::ios::binary);
    if (!in) {
        r.refusal = LogRefusal::CannotOpen;
        r.systemReason = std::strerror(errno);
        return r;
    }
    // Never more than the limit in memory, however large the file; read in chunks so a small
    // file costs no more than its size.
    constexpr std::size_t kChunk = std::size_t{1} << 20;
    std::string text;
    while (text.size() < limits.maxBytes && in) {
        const std::size_t old = text.size();
        text.resize(old + std::min(kChunk, limits.maxBytes - old));
        in.read(text.data() + old, static_cast<std::streamsize>(text.size() - old));
        text.resize(old + static_cast<std::size_t>(in.gcount()));
    }
    const bool more = text.size() == limits.maxBytes && in.peek() != std::char_traits<char>::eof();
    return ParseRideLog(text, limits, more);
}

std::string RideLogReadResult::RefusalText(const std::string& fileName,
                                           std::uint8_t language) const {
    const char* name = fileName.c_str();
    switch (refusal) {
        case LogRefusal::None:
            return {};
        case LogRefusal::NotMsl:
            return Fill(logtext::kNotMsl, language, name);
        case LogRefusal::CannotOpen:
            return Fill(logtext::kCannotOpen, language, name, systemReason.c_str());
        case LogRefusal::NoHeader:
            return Fill(logtext::kNoHeader, language, name);
        case LogRefusal::NoTimeColumn:
            return Fill(logtext::kNoTimeColumn, language, name);
        case LogRefusal::NoRpmColumn:
            return Fill(logtext::kNoRpmColumn, language, name);
        case LogRefusal::NoRows: {
            std::string text = Fill(logtext::kNoRows, language, name);
            if (badRowCount) text += ' ' + BadRowsText(language);
            return text;
        }
    }
    return {};
}

std::string RideLogReadResult::BadRowsText(std::uint8_t language) const {
    if (badRowCount == 0) return {};
    std::string list;
    for (const BadRow& b : badRows) {
        if (!list.empty()) list += ", ";
        list += b.kind == BadRowKind::Short
                    ? Fill(logtext::kShortRow, language, b.line)
                    : Fill(logtext::kNotANumber, language, b.line, b.column.c_str());
    }
    if (badRowCount > badRows.size()) {
        list += ", " + Fill(logtext::kMoreBadRows, language, badRowCount - badRows.size());
    }
    return Fill(logtext::kBadRows, language, badRowCount, list.c_str());
}

std::string RideLogReadResult::TruncatedText(std::uint8_t language) const {
    if (!truncated) return {};
    return Fill(logtext::kTruncated, language, rows.size(),
                (bytesRead + kBytesPerMegabyte - 1) / kBytesPerMegabyte);
}

}  // namespace korvan
