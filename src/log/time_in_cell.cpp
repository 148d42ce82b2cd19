#include "log/time_in_cell.h"

#include <algorithm>

#include "log/ride_log.h"

namespace korvan {

TimeInCells ComputeTimeInCells(const std::vector<LogSample>& rows, const DeviceImage& image,
                               bool tpsAxisInUse) {
    TimeInCells t;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const LogSample& s = rows[i];
        const double next = i + 1 < rows.size() ? rows[i + 1].TimeS : s.TimeS;
        const double seconds = std::clamp(next - s.TimeS, 0.0, kMaxRowSeconds);
        t.TotalSeconds += seconds;
        const LogCell cell = CellOf(image, LiveValuesOf(s.Channels), tpsAxisInUse);
        if (cell.RpmColumn < 0) {
            t.SecondsBelowAxis += seconds;
            continue;
        }
        CellTime& c = t.Cells[static_cast<std::size_t>(cell.TpsRow * kMapColumns + cell.RpmColumn)];
        c.Seconds += seconds;
        c.LambdaSumMv += s.Channels.LambdaMv;
        ++c.Samples;
    }
    return t;
}

}  // namespace korvan
