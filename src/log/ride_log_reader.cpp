#include "log/ride_log_reader.h"

#include <algorithm>
#include <cstring>

#include "log/csv_log.h"
#include "log/log_file_input.h"
#include "log/log_reading.h"
#include "log/log_text_lines.h"
#include "log/log_texts.h"
#include "log/mlg_log.h"

namespace korvan {

using logread::SameName;
using logread::SplitFields;
using logread::Trim;
using logtext::LineCursor;

namespace {

// Quoted lines and blank lines before the channel names; a file without names by then is
// not a log.
constexpr std::size_t kMaxPreambleLines = 50;
constexpr std::size_t kBytesPerMegabyte = std::size_t{1} << 20;
constexpr const char* kMillivoltUnit = "mV";

}  // namespace

double ChannelValue(const LogSample& s, std::size_t channel) {
    const MonitorChannels& c = s.Channels;
    switch (channel) {
        case kChannelTime:
            return s.TimeS;
        case kChannelRpm:
            return c.Rpm;
        case kChannelTps:
            return c.TpsPercent;
        case kChannelTpsMv:
            return c.TpsMv;
        case kChannelLambda:
            return c.LambdaMv;
        case kChannelAdvance:
            return c.Advance;
        case kChannelServoDesired:
            return c.ServoDesiredMv;
        case kChannelServoMeasured:
            return c.ServoMeasuredMv;
        case kChannelBlocking1:
            return c.Blocking1;
        case kChannelBlocking2:
            return c.Blocking2;
        case kChannelClutch:
            return c.Clutch;
        case kChannelLimiter1:
            return c.Limiter1;
        case kChannelTachoLambda:
            return c.TachoLambda;
        case kChannelN2o:
            return c.N2o;
        case kChannelMapRpmColumn:
            return s.Cell.RpmColumn;
        case kChannelMapTpsRow:
            return s.Cell.TpsRow;
        default:
            return 0;
    }
}

RideLogReadResult ParseRideLog(std::string_view text, const ReadLimits& limits, bool truncated) {
    RideLogReadResult r;
    text = logread::BeginTextLog(text, limits, truncated, LogFormat::Msl, r);

    LineCursor lines(text);
    std::string_view line;
    bool haveNames = false;
    while (lines.Number() < kMaxPreambleLines && lines.Next(line)) {
        const std::string_view t = Trim(line);
        if (t.empty()) continue;
        if (line.front() == '"') {
            logread::NoteHeaderLine(r, t);
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
    SplitFields(line, '\t', fields);
    std::size_t columnOf[kLogChannelCount];
    std::fill(std::begin(columnOf), std::end(columnOf), SIZE_MAX);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string_view name = Trim(fields[i]);
        r.columns.emplace_back(name);
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

    // The units line, when there is one: its Time field is not a number.
    std::string_view afterNames;
    bool pendingLine = false;
    bool lambdaInMv = false;
    if (lines.Next(afterNames)) {
        SplitFields(afterNames, '\t', fields);
        double ignored;
        const std::size_t timeColumn = columnOf[kChannelTime];
        if (timeColumn < fields.size() && !logread::ParseNumber(fields[timeColumn], ignored) &&
            !logread::StartsWith(Trim(afterNames), kMarkPrefix)) {
            const std::size_t lambdaColumn = columnOf[kChannelLambda];
            lambdaInMv = lambdaColumn < fields.size() &&
                         SameName(Trim(fields[lambdaColumn]), kMillivoltUnit);
        } else {
            pendingLine = true;  // no units: the line is the first row
        }
    }
    // Without a units line nothing says the Lambda column holds millivolts.
    if (!lambdaInMv) columnOf[kChannelLambda] = SIZE_MAX;

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
        const std::string_view t = Trim(row);
        if (t.empty()) continue;
        if (logread::StartsWith(t, kMarkPrefix)) {
            rows.Mark();
            continue;
        }
        if (!rows.Room()) break;
        SplitFields(row, '\t', fields);
        if (fields.size() < needed) {
            rows.Bad(lines.Number(), BadRowKind::Short);
            continue;
        }
        LogSample sample;
        bool good = true;
        for (std::size_t ch = 0; ch < kLogChannelCount && good; ++ch) {
            if (columnOf[ch] == SIZE_MAX) continue;
            double v;
            if (!logread::ParseNumber(fields[columnOf[ch]], v)) {
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

RideLogReadResult ReadRideLogFile(const std::string& path, const ReadLimits& limits) {
    RideLogReadResult r;
    const std::optional<LogFormat> format = LogFormatOfPath(path);
    if (!format) {
        r.refusal = LogRefusal::NotALog;
        return r;
    }
    r.format = *format;
    LogFileBytes file = ReadLogFileBytes(path, limits.maxBytes);
    if (!file.Ok()) {
        r.refusal = file.refusal;
        r.systemReason = file.systemReason;
        r.fileKind = file.kind;
        return r;
    }
    switch (*format) {
        case LogFormat::Msl:
            return ParseRideLog(file.bytes, limits, file.truncated);
        case LogFormat::Mlg:
            return ParseMlgLog(file.bytes, limits, file.truncated);
        case LogFormat::Csv:
            return ParseCsvLog(file.bytes, limits, file.truncated);
    }
    return r;
}

std::string RideLogReadResult::RefusalText(const std::string& fileName,
                                           std::uint8_t language) const {
    const std::string& name = fileName;
    switch (refusal) {
        case LogRefusal::None:
            return {};
        case LogRefusal::NotALog:
            return Fill(logtext::kNotALog, language, name);
        case LogRefusal::CannotOpen:
            return Fill(logtext::kCannotOpen, language, name,
                        ReasonSentence(systemReason, language));
        case LogRefusal::NotAFile:
            switch (fileKind) {
                case FileKind::Folder:
                    return Fill(logtext::kIsFolder, language, name);
                case FileKind::Fifo:
                    return Fill(logtext::kIsFifo, language, name);
                case FileKind::Device:
                    return Fill(logtext::kIsDevice, language, name);
                default:
                    return Fill(logtext::kIsNotAFile, language, name);
            }
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
        case LogRefusal::NotMlg:
            return Fill(logtext::kNotMlg, language, name);
        case LogRefusal::MlgVersion:
            return Fill(logtext::kMlgVersion, language, name, detail);
        case LogRefusal::MlgFieldCount:
            return Fill(logtext::kMlgFieldCount, language, name, detail, detail2);
        case LogRefusal::MlgFieldType:
            return Fill(logtext::kMlgFieldType, language, name, detailName, detail);
        case LogRefusal::MlgRecordLength:
            return Fill(logtext::kMlgRecordLength, language, name, detail, detail2);
        case LogRefusal::MlgDamaged:
            return Fill(logtext::kMlgDamaged, language, name);
    }
    return {};
}

std::string RideLogReadResult::BadRowsText(std::uint8_t language) const {
    if (badRowCount == 0) return {};
    std::string list;
    const LocalizedText& at = format == LogFormat::Mlg ? logtext::kAtRecord : logtext::kAtLine;
    for (const BadRow& b : badRows) {
        if (!list.empty()) list += ", ";
        const std::string where = Fill(at, language, b.line);
        switch (b.kind) {
            case BadRowKind::Short:
                list += Fill(logtext::kShortRow, language, where);
                break;
            case BadRowKind::NotANumber:
                list += Fill(logtext::kNotANumber, language, where, b.column);
                break;
            case BadRowKind::TimeNegative:
                list += Fill(logtext::kTimeNegative, language, where);
                break;
            case BadRowKind::TimeTooLarge:
                list += Fill(logtext::kTimeTooLarge, language, where);
                break;
            case BadRowKind::TimeBack:
                list += Fill(logtext::kTimeBack, language, where);
                break;
            case BadRowKind::BadChecksum:
                list += Fill(logtext::kBadChecksum, language, where);
                break;
            case BadRowKind::CutShort:
                list += Fill(logtext::kCutShort, language, where);
                break;
            case BadRowKind::UnknownBlock:
                list += Fill(logtext::kUnknownBlock, language, where);
                break;
        }
    }
    if (badRowCount > badRows.size())
        list += ", " + Fill(logtext::kMoreBadRows, language, badRowCount - badRows.size());
    return Fill(logtext::kBadRows, language, badRowCount, list);
}

std::string RideLogReadResult::TruncatedText(std::uint8_t language) const {
    if (!truncated) return {};
    return Fill(logtext::kTruncated, language, rows.size(),
                (bytesRead + kBytesPerMegabyte - 1) / kBytesPerMegabyte);
}

}  // namespace korvan
