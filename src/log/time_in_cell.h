// Where the engine ran during a logged ride: seconds and mean lambda per advance map cell.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "log/ride_log_reader.h"
#include "params/device_image.h"

namespace korvan {

struct CellTime {
    double Seconds = 0;
    double LambdaSumMv = 0;
    std::size_t Samples = 0;

    bool Visited() const { return Samples > 0; }
    double MeanLambdaMv() const { return Samples ? LambdaSumMv / static_cast<double>(Samples) : 0; }
};

struct TimeInCells {
    // Row-major like the map: [tpsRow * kMapColumns + rpmColumn].
    std::array<CellTime, kMapRows * kMapColumns> Cells;
    double SecondsBelowAxis = 0;
    double TotalSeconds = 0;

    const CellTime& At(int tpsRow, int rpmColumn) const {
        return Cells[static_cast<std::size_t>(tpsRow * kMapColumns + rpmColumn)];
    }
};

// A row lasts until the next one, but never longer than this: a longer gap is a pause (link
// lost, logging stopped), not time spent in the cell.
constexpr double kMaxRowSeconds = 1.0;

// Each row's cell by the live cursor's rule against `image`; the last row lasts no time, and
// a clock that runs back counts as no time.
TimeInCells ComputeTimeInCells(const std::vector<LogSample>& rows, const DeviceImage& image,
                               bool tpsAxisInUse);

}  // namespace korvan
