#include "log/csv_log.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "log/log_reading.h"
#include "log/log_text_lines.h"
#include "log/ride_log_writer.h"

namespace korvan {

namespace {

using logread::SameName;
using logread::Trim;
using logtext::AppendInt;
using logtext::AppendSeconds;
using logtext::LineCursor;

constexpr char kSeparator = ';';
constexpr std::size_t kMaxPreambleLines = 50;

// ---- Writing ----

class CsvEncoder : public LogEncoder {
  public:
    void Header(std::string& out, const std::string&, const LogHeader&) override {
        // Only the column names: a title line would be taken for the header by spreadsheets.
        for (std::size_t i = 0; i < kLogChannelCount; ++i) {
            out += kLogChannels[i].name;
            out += " (";
            out += kLogChannels[i].unit;
            out += ')';
            out += kSeparator;
        }
        out += kCsvMarkerColumn;
        out += kLineEnd;
    }

    void Row(std::string& out, const RideLogRow& row) override {
        const MonitorChannels& c = row.Channels;
        AppendSeconds(out, row.TimeMs);
        const int values[] = {c.Rpm,       c.TpsPercent,       c.TpsMv,           c.LambdaMv,
                              c.Advance,   c.ServoDesiredMv,   c.ServoMeasuredMv, c.Blocking1,
                              c.Blocking2, c.Clutch,           c.Limiter1,        c.TachoLambda,
                              c.N2o,       row.Cell.RpmColumn, row.Cell.TpsRow};
        for (int v : values) {
            out.push_back(kSeparator);
            AppendInt(out, v);
        }
        out.push_back(kSeparator);  // no marker
        out += kLineEnd;
    }

    void Mark(std::string& out, unsigned number, std::uint32_t timeMs) override {
        AppendSeconds(out, timeMs);
        out.append(kLogChannelCount - 1, kSeparator);
        out.push_back(kSeparator);
        out += MarkText(number);
        out += kLineEnd;
    }
};

// ---- Reading ----

// Splits on `separator` outside double quotes; the quotes stay in the fields (Trim takes
// them off).
void SplitQuoted(std::string_view line, char separator, std::vector<std::string_view>& fields) {
    fields.clear();
    std::size_t start = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            quoted = !quoted;
        } else if (line[i] == separator && !quoted) {
            fields.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    }
    fields.push_back(line.substr(start));
}

// "Lambda (mV)" or "Lambda [mV]": the name and the unit.
void SplitNameAndUnit(std::string_view field, std::string_view& name, std::string_view& unit) {
    name = Trim(field);
    unit = {};
    if (name.empty()) return;
    const char close = name.back();
    const char open = close == ')' ? '(' : (close == ']' ? '[' : '\0');
    if (!open) return;
    const std::size_t at = name.rfind(open);
    if (at == std::string_view::npos || at == 0) return;
    unit = Trim(name.substr(at + 1, name.size() - at - 2));
    name = Trim(name.substr(0, at));
}

// The header row decides: a semicolon, else a tab, else a comma, outside quotes.
char SeparatorOf(std::string_view header) {
    bool quoted = false, tab = false, comma = false;
    for (char ch : header) {
        if (ch == '"') quoted = !quoted;
        if (quoted) continue;
        if (ch == ';') return ';';
        tab = tab || ch == '\t';
        comma = comma || ch == ',';
    }
    return tab || !comma ? '\t' : ',';
}

}  // namespace

std::unique_ptr<LogEncoder> MakeCsvEncoder() {
    return std::make_unique<CsvEncoder>();
}

RideLogReadResult ParseCsvLog(std::string_view text, const ReadLimits& limits, bool truncated) {
    RideLogReadResult r;
    text = logread::BeginTextLog(text, limits, truncated, LogFormat::Csv, r);

    LineCursor lines(text);
    std::string_view line;
    bool haveNames = false;
    while (lines.Number() < kMaxPreambleLines && lines.Next(line)) {
        if (!Trim(line).empty()) {
            haveNames = true;
            break;
        }
    }
    if (!haveNames) {
        r.refusal = LogRefusal::NoHeader;
        return r;
    }
    const char separator = SeparatorOf(line);
    const bool decimalComma = separator != ',';

    std::vector<std::string_view> fields;
    SplitQuoted(line, separator, fields);
    std::size_t columnOf[kLogChannelCount];
    std::fill(std::begin(columnOf), std::end(columnOf), SIZE_MAX);
    std::vector<std::string_view> units(fields.size());
    std::size_t markerColumn = SIZE_MAX;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::string_view name;
        SplitNameAndUnit(fields[i], name, units[i]);
        r.columns.emplace_back(name);
        if (SameName(name, kCsvMarkerColumn) && markerColumn == SIZE_MAX) markerColumn = i;
        const std::size_t ch = FindLogChannel(name);
        if (ch != kNoChannel && columnOf[ch] == SIZE_MAX) columnOf[ch] = i;
    }
    if (columnOf[kChannelTime] == SIZE_MAX && columnOf[kChannelRpm] == SIZE_MAX) {
        r.refusal = LogRefusal::NoHeader;
        return r;
    }
    if (columnOf[kChannelTime] == SIZE_MAX) {
        r.refusal = LogRefusal::NoTimeColumn;
        return r;
    }
    if (columnOf[kChannelRpm] == SIZE_MAX) {
        r.refusal = LogRefusal::NoRpmColumn;
        return r;
    }

    // A row of units under the names, as some loggers write: its Time field is no number.
    std::string_view afterNames;
    bool pendingLine = false;
    if (lines.Next(afterNames)) {
        SplitQuoted(afterNames, separator, fields);
        double ignored;
        const std::size_t timeColumn = columnOf[kChannelTime];
        if (timeColumn < fields.size() &&
            !logread::ParseNumber(fields[timeColumn], ignored, decimalComma) &&
            !Trim(afterNames).empty()) {
            for (std::size_t i = 0; i < fields.size() && i < units.size(); ++i) {
                if (units[i].empty()) units[i] = Trim(fields[i]);
            }
        } else {
            pendingLine = true;
        }
    }
    const std::size_t lambdaColumn = columnOf[kChannelLambda];
    if (lambdaColumn != SIZE_MAX && !SameName(units[lambdaColumn], "mV"))
        columnOf[kChannelLambda] = SIZE_MAX;

    std::size_t needed = 0;
    for (std::size_t ch = 0; ch < kLogChannelCount; ++ch) {
        if (columnOf[ch] == SIZE_MAX) continue;
        r.channels |= 1u << ch;
        needed = std::max(needed, columnOf[ch] + 1);
    }

    logread::RowCollector rows(r, limits);
    std::string_view row = afterNames;
    while (pendingLine || lines.Next(row)) {
        pendingLine = false;
        if (Trim(row).empty()) continue;
        SplitQuoted(row, separator, fields);
        // A marker: the Marker column says something and the row holds no speed.
        if (markerColumn < fields.size() && !Trim(fields[markerColumn]).empty() &&
            (columnOf[kChannelRpm] >= fields.size() ||
             Trim(fields[columnOf[kChannelRpm]]).empty())) {
            rows.Mark();
            continue;
        }
        if (!rows.Room()) break;
        if (fields.size() < needed) {
            rows.Bad(lines.Number(), BadRowKind::Short);
            continue;
        }
        LogSample sample;
        bool good = true;
        for (std::size_t ch = 0; ch < kLogChannelCount && good; ++ch) {
            if (columnOf[ch] == SIZE_MAX) continue;
            double v;
            if (!logread::ParseNumber(fields[columnOf[ch]], v, decimalComma)) {
                rows.Bad(lines.Number(), BadRowKind::NotANumber, r.columns[columnOf[ch]]);
                good = false;
            } else {
                logread::StoreChannel(sample, ch, v);
            }
        }
        if (good) rows.Add(sample, lines.Number());
    }
    rows.Finish();
    return r;
}

}  // namespace korvan
