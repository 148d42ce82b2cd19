// What a ride says on the map's own axes: per-cell tables of time, samples and a channel's
// mean, minimum and maximum; the filters every view applies; the data of a scatter plot; two
// logs compared cell by cell; and a grid as tab-separated text. Each row is placed in its cell
// by the live cursor's rule (CellOf), against the tune the caller hands in.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "log/ride_log_reader.h"
#include "params/device_image.h"

namespace korvan {

// Which rows a view takes. The defaults take every row.
struct LogFilter {
    double fromS = -std::numeric_limits<double>::infinity();  // time range, both ends included
    double toS = std::numeric_limits<double>::infinity();
    int tpsMin = 0;  // throttle opening in percent, both ends included
    int tpsMax = 255;
    int rpmMin = 0;
    int rpmMax = 65535;
    // Leaves out rows at the limiter: the start limiter on, or the speed at or above the
    // tune's limiter (Limiter2). Such rows show the cut, not the map.
    bool withoutLimiter = false;
    bool withoutClutch = false;
    bool withoutN2o = false;

    bool Passes(const LogSample& sample, unsigned limiterRpm) const;
};

// The tune's limiter and gear-shift light speeds in rpm.
unsigned LimiterRpm(const DeviceImage& image);
unsigned ShiftLightRpm(const DeviceImage& image);

// The time of marker `mark` (an index into log.marks): that of the row it precedes, or of the
// last row for a marker after it. 0 for a log without rows or a marker that does not exist.
double MarkTimeS(const RideLogReadResult& log, std::size_t mark);
// Limits the filter to the time between two markers (in either order).
void SetTimeBetweenMarks(LogFilter& filter, const RideLogReadResult& log, std::size_t firstMark,
                         std::size_t secondMark);

// How long row `i` lasted: until the next row, but never longer than kMaxRowSeconds (a longer
// gap is a pause, not time spent in the cell); the last row and a clock that ran back count
// as no time.
double RowSeconds(const std::vector<LogSample>& rows, std::size_t i);

struct CellStats {
    double Seconds = 0;
    std::size_t Samples = 0;
    double Sum = 0;
    double Min = 0;  // of the channel, once there is a sample
    double Max = 0;

    bool Visited() const { return Samples > 0; }
    double Mean() const { return Samples ? Sum / static_cast<double>(Samples) : 0; }
};

// Cells are numbered as the map's: [tpsRow * kMapColumns + rpmColumn], row 0 the 0 % throttle
// row at the top, column 0 the lowest RPM breakpoint.
constexpr std::size_t kCellCount = static_cast<std::size_t>(kMapRows * kMapColumns);
constexpr std::size_t kDefaultMinSamples = 3;

struct CellTable {
    std::size_t channel = kChannelLambda;         // the channel of Sum, Min and Max
    bool tpsAxisInUse = true;                     // without it only the last row is used
    std::array<unsigned, kMapColumns> rpmAxis{};  // the tune's breakpoints in rpm
    std::array<CellStats, kCellCount> cells;
    double secondsBelowAxis = 0;
    double totalSeconds = 0;      // of the rows the filter took
    std::size_t rowsUsed = 0;     // rows the filter took, below the axis included
    std::size_t rowsLeftOut = 0;  // rows the filter left out

    const CellStats& At(int tpsRow, int rpmColumn) const {
        return cells[static_cast<std::size_t>(tpsRow * kMapColumns + rpmColumn)];
    }
};

CellTable ComputeCellTable(const std::vector<LogSample>& rows, const DeviceImage& image,
                           bool tpsAxisInUse, std::size_t channel = kChannelLambda,
                           const LogFilter& filter = {});

// Two logs of one map, before and after a change: the difference of the channel's mean where
// both have at least `minSamples` samples in the cell.
struct CellMeanDifference {
    bool compared = false;
    double before = 0;  // means
    double after = 0;
    double Difference() const { return after - before; }
};
struct CellComparison {
    std::array<CellMeanDifference, kCellCount> cells;
    std::size_t comparedCells = 0;
};
CellComparison CompareCellTables(const CellTable& before, const CellTable& after,
                                 std::size_t minSamples = kDefaultMinSamples);

// Points of a scatter plot of two channels, coloured by a third, over the rows the filter
// takes. With `maxPoints` above 0 a longer series keeps every n-th point, evenly over the ride.
struct ScatterPoint {
    double x = 0;
    double y = 0;
    double colour = 0;
};
struct ScatterData {
    std::vector<ScatterPoint> points;
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0, colourMin = 0, colourMax = 0;
    std::size_t rowsInFilter = 0;  // before thinning
};
ScatterData ComputeScatter(const std::vector<LogSample>& rows, const DeviceImage& image,
                           std::size_t xChannel, std::size_t yChannel, std::size_t colourChannel,
                           const LogFilter& filter = {}, std::size_t maxPoints = 0);

// What a grid shows of each cell.
enum class CellQuantity { Seconds, Samples, Mean, Min, Max };
// The digits after the point a quantity is shown with: whole counts, tenths of seconds and of
// means, the channel's own digits for its extremes.
int CellQuantityDecimals(CellQuantity quantity, std::size_t channel);
// A cell's value of `quantity`; 0 for a cell never visited.
double CellValue(const CellStats& cell, CellQuantity quantity);

// The grid as tab-separated text laid out as the map's own text (the clipboard's Copy): the
// first line the corner (`title`, else empty), then the RPM breakpoints in rpm; each further
// line a throttle row, its point in % first (0 at the top), then the values; CR LF line ends.
// Without the throttle axis only the last row. A cell with fewer than `minSamples` samples
// stays empty (Seconds and Samples are shown for every visited cell). Numbers carry
// `decimalPoint` and no digit grouping, so a spreadsheet takes them.
std::string CellTableText(const CellTable& table, CellQuantity quantity,
                          std::size_t minSamples = kDefaultMinSamples,
                          const std::string& title = {}, char decimalPoint = '.');
// The differences (after - before) in the same layout, on `table`'s axes; empty where a cell
// was not compared.
std::string CellComparisonText(const CellComparison& comparison, const CellTable& table,
                               const std::string& title = {}, char decimalPoint = '.');

// A number with `decimals` digits after the point, whatever the locale: "12.3".
std::string FixedNumber(double value, int decimals, char decimalPoint = '.');

}  // namespace korvan
