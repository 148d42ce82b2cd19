#include "log/ride_analysis.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "log/time_in_cell.h"

namespace korvan {

namespace {

constexpr unsigned kRpmPerStep = 100;  // the tune keeps speeds in hundreds of rpm

void AppendAxes(std::string& out, const CellTable& table, const std::string& title) {
    out += title;
    for (unsigned rpm : table.rpmAxis) {
        out += '\t';
        out += std::to_string(rpm);
    }
    out += kLineEnd;
}

int FirstRow(const CellTable& table) {
    return table.tpsAxisInUse ? 0 : kMapRows - 1;
}

void AppendRowLabel(std::string& out, int row) {
    out += std::to_string(kTpsAxisPercent[static_cast<std::size_t>(row)]);
}

}  // namespace

int CellQuantityDecimals(CellQuantity quantity, std::size_t channel) {
    switch (quantity) {
        case CellQuantity::Samples:
            return 0;
        case CellQuantity::Seconds:
        case CellQuantity::Mean:
            return 1;
        case CellQuantity::Min:
        case CellQuantity::Max:
            return channel == kChannelTime ? 3 : 0;
    }
    return 1;
}

double CellValue(const CellStats& c, CellQuantity quantity) {
    switch (quantity) {
        case CellQuantity::Seconds:
            return c.Seconds;
        case CellQuantity::Samples:
            return static_cast<double>(c.Samples);
        case CellQuantity::Mean:
            return c.Mean();
        case CellQuantity::Min:
            return c.Min;
        case CellQuantity::Max:
            return c.Max;
    }
    return 0;
}

bool LogFilter::Passes(const LogSample& s, unsigned limiterRpm) const {
    const MonitorChannels& c = s.Channels;
    if (s.TimeS < fromS || s.TimeS > toS) return false;
    if (c.TpsPercent < tpsMin || c.TpsPercent > tpsMax) return false;
    if (c.Rpm < rpmMin || c.Rpm > rpmMax) return false;
    if (withoutLimiter && (c.Limiter1 || c.Rpm >= limiterRpm)) return false;
    if (withoutClutch && c.Clutch) return false;
    if (withoutN2o && c.N2o) return false;
    return true;
}

unsigned LimiterRpm(const DeviceImage& image) {
    return image[field::Limiter2] * kRpmPerStep;
}

unsigned ShiftLightRpm(const DeviceImage& image) {
    return image[field::LedRazeni] * kRpmPerStep;
}

double MarkTimeS(const RideLogReadResult& log, std::size_t mark) {
    if (log.rows.empty() || mark >= log.marks.size()) return 0;
    const std::size_t row = std::min(log.marks[mark], log.rows.size() - 1);
    return log.rows[row].TimeS;
}

void SetTimeBetweenMarks(LogFilter& filter, const RideLogReadResult& log, std::size_t firstMark,
                         std::size_t secondMark) {
    const double a = MarkTimeS(log, firstMark);
    const double b = MarkTimeS(log, secondMark);
    filter.fromS = std::min(a, b);
    filter.toS = std::max(a, b);
}

double RowSeconds(const std::vector<LogSample>& rows, std::size_t i) {
    if (i + 1 >= rows.size()) return 0;
    return std::clamp(rows[i + 1].TimeS - rows[i].TimeS, 0.0, kMaxRowSeconds);
}

CellTable ComputeCellTable(const std::vector<LogSample>& rows, const DeviceImage& image,
                           bool tpsAxisInUse, std::size_t channel, const LogFilter& filter) {
    CellTable t;
    t.channel = channel;
    t.tpsAxisInUse = tpsAxisInUse;
    for (int i = 0; i < kMapColumns; ++i)
        t.rpmAxis[static_cast<std::size_t>(i)] =
            image[field::RpmAdv + static_cast<std::size_t>(i)] * kRpmPerStep;
    const unsigned limiter = LimiterRpm(image);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const LogSample& s = rows[i];
        if (!filter.Passes(s, limiter)) {
            ++t.rowsLeftOut;
            continue;
        }
        ++t.rowsUsed;
        const double seconds = RowSeconds(rows, i);
        t.totalSeconds += seconds;
        const LogCell cell = CellOf(image, LiveValuesOf(s.Channels), tpsAxisInUse);
        if (cell.RpmColumn < 0) {
            t.secondsBelowAxis += seconds;
            continue;
        }
        CellStats& c =
            t.cells[static_cast<std::size_t>(cell.TpsRow * kMapColumns + cell.RpmColumn)];
        const double v = ChannelValue(s, channel);
        c.Min = c.Samples ? std::min(c.Min, v) : v;
        c.Max = c.Samples ? std::max(c.Max, v) : v;
        c.Seconds += seconds;
        c.Sum += v;
        ++c.Samples;
    }
    return t;
}

CellComparison CompareCellTables(const CellTable& before, const CellTable& after,
                                 std::size_t minSamples) {
    CellComparison result;
    const std::size_t enough = std::max<std::size_t>(minSamples, 1);
    for (std::size_t i = 0; i < kCellCount; ++i) {
        const CellStats& a = before.cells[i];
        const CellStats& b = after.cells[i];
        if (a.Samples < enough || b.Samples < enough) continue;
        CellMeanDifference& d = result.cells[i];
        d.compared = true;
        d.before = a.Mean();
        d.after = b.Mean();
        ++result.comparedCells;
    }
    return result;
}

ScatterData ComputeScatter(const std::vector<LogSample>& rows, const DeviceImage& image,
                           std::size_t xChannel, std::size_t yChannel, std::size_t colourChannel,
                           const LogFilter& filter, std::size_t maxPoints) {
    ScatterData d;
    const unsigned limiter = LimiterRpm(image);
    for (const LogSample& s : rows) d.rowsInFilter += filter.Passes(s, limiter);
    const std::size_t stride = maxPoints > 0 && d.rowsInFilter > maxPoints
                                   ? (d.rowsInFilter + maxPoints - 1) / maxPoints
                                   : 1;
    d.points.reserve(d.rowsInFilter / stride + 1);
    std::size_t n = 0;
    for (const LogSample& s : rows) {
        if (!filter.Passes(s, limiter)) continue;
        if (n++ % stride != 0) continue;
        const ScatterPoint p{ChannelValue(s, xChannel), ChannelValue(s, yChannel),
                             ChannelValue(s, colourChannel)};
        if (d.points.empty()) {
            d.xMin = d.xMax = p.x;
            d.yMin = d.yMax = p.y;
            d.colourMin = d.colourMax = p.colour;
        }
        d.xMin = std::min(d.xMin, p.x);
        d.xMax = std::max(d.xMax, p.x);
        d.yMin = std::min(d.yMin, p.y);
        d.yMax = std::max(d.yMax, p.y);
        d.colourMin = std::min(d.colourMin, p.colour);
        d.colourMax = std::max(d.colourMax, p.colour);
        d.points.push_back(p);
    }
    return d;
}

std::string FixedNumber(double value, int decimals, char decimalPoint) {
    char buf[64];
    // -0.0 would print as "-0.0", which reads like a difference that is not there.
    if (value == 0 || std::fabs(value) < 0.5 * std::pow(10.0, -decimals)) value = 0;
    const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed,
                                      std::max(decimals, 0));
    std::string text(buf, result.ec == std::errc() ? result.ptr : buf);
    if (decimalPoint != '.') std::replace(text.begin(), text.end(), '.', decimalPoint);
    return text;
}

std::string CellTableText(const CellTable& table, CellQuantity quantity, std::size_t minSamples,
                          const std::string& title, char decimalPoint) {
    std::string out;
    AppendAxes(out, table, title);
    const int decimals = CellQuantityDecimals(quantity, table.channel);
    for (int row = FirstRow(table); row < kMapRows; ++row) {
        AppendRowLabel(out, row);
        for (int column = 0; column < kMapColumns; ++column) {
            out += '\t';
            const CellStats& c = table.At(row, column);
            const bool counted =
                quantity == CellQuantity::Seconds || quantity == CellQuantity::Samples;
            if (!c.Visited() || (!counted && c.Samples < minSamples)) continue;
            const double v = CellValue(c, quantity);
            out += FixedNumber(v, decimals, decimalPoint);
        }
        out += kLineEnd;
    }
    return out;
}

std::string CellComparisonText(const CellComparison& comparison, const CellTable& table,
                               const std::string& title, char decimalPoint) {
    std::string out;
    AppendAxes(out, table, title);
    for (int row = FirstRow(table); row < kMapRows; ++row) {
        AppendRowLabel(out, row);
        for (int column = 0; column < kMapColumns; ++column) {
            out += '\t';
            const CellMeanDifference& d =
                comparison.cells[static_cast<std::size_t>(row * kMapColumns + column)];
            if (!d.compared) continue;
            const double diff = d.Difference();
            std::string number = FixedNumber(diff, 1, decimalPoint);
            if (number.front() != '-' && number != FixedNumber(0, 1, decimalPoint))
                number.insert(number.begin(), '+');
            out += number;
        }
        out += kLineEnd;
    }
    return out;
}

}  // namespace korvan
