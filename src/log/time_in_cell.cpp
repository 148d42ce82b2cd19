#include "log/time_in_cell.h"

#include "log/ride_analysis.h"

namespace korvan {

TimeInCells ComputeTimeInCells(const std::vector<LogSample>& rows, const DeviceImage& image,
                               bool tpsAxisInUse) {
    // The same cells and row times as every other table of a ride.
    const CellTable table = ComputeCellTable(rows, image, tpsAxisInUse, kChannelLambda);
    TimeInCells t;
    t.SecondsBelowAxis = table.secondsBelowAxis;
    t.TotalSeconds = table.totalSeconds;
    for (std::size_t i = 0; i < t.Cells.size(); ++i) {
        const CellStats& from = table.cells[i];
        CellTime& to = t.Cells[i];
        to.Seconds = from.Seconds;
        to.LambdaSumMv = from.Sum;
        to.Samples = from.Samples;
    }
    return t;
}

}  // namespace korvan
