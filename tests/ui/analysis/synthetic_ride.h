// A ride along a known path through the map: every row sits exactly on an RPM breakpoint and
// a throttle point, so the cell each row belongs to is known from how it was made, not from
// the program's placing rule, and the expected per-cell numbers are counted here, apart from
// the code under test.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "log/ride_analysis.h"
#include "log/ride_log_writer.h"
#include "params/defaults.h"

namespace korvan::testing {

struct SyntheticRow {
    int tpsRow;
    int rpmColumn;
    LogSample sample;
};

struct ExpectedCell {
    std::size_t samples = 0;
    double seconds = 0;
    double sum = 0;
    double min = 0;
    double max = 0;
    double Mean() const { return samples ? sum / static_cast<double>(samples) : 0; }
};

class SyntheticRide {
  public:
    static constexpr double kRowSeconds = 0.1;

    // The tune: the default set with the throttle axis on.
    static DeviceImage Tune() {
        DeviceImage image = DefaultImage();
        image[field::TpsMapa] = 1;
        return image;
    }

    // `count` rows on a random walk over the map; clutch on in the 1000 rpm column, N2O on at
    // 100 % throttle, the start limiter at 80 %, and markers before rows 100 and 200.
    // `lambdaShift` moves every lambda value (a second ride after a change).
    explicit SyntheticRide(std::size_t count, unsigned seed = 7, int lambdaShift = 0) {
        const DeviceImage tune = Tune();
        std::mt19937 random(seed);
        int row = 4;
        int column = 3;
        for (std::size_t i = 0; i < count; ++i) {
            // Stay a while, then step to a neighbour: a path, as an engine takes.
            if (random() % 4 == 0) {
                row = std::clamp(row + static_cast<int>(random() % 3) - 1, 0, kMapRows - 1);
                column =
                    std::clamp(column + static_cast<int>(random() % 3) - 1, 0, kMapColumns - 1);
            }
            SyntheticRow r{row, column, {}};
            r.sample.TimeS = static_cast<double>(i) * kRowSeconds;
            MonitorChannels& c = r.sample.Channels;
            c.Rpm = static_cast<std::uint16_t>(
                tune[field::RpmAdv + static_cast<std::size_t>(column)] * 100);
            c.TpsPercent = kTpsAxisPercent[static_cast<std::size_t>(row)];
            c.LambdaMv = static_cast<std::uint16_t>(600 + lambdaShift + 13 * row + 7 * column +
                                                    static_cast<int>(random() % 50));
            c.Advance = static_cast<std::uint8_t>(10 + column);
            c.Clutch = column == 0;
            c.N2o = row == kMapRows - 1;
            c.Limiter1 = row == kMapRows - 2;
            rows.push_back(r);
        }
        log.format = LogFormat::Msl;
        log.hasTps = log.hasLambda = true;
        // Every channel but the cell columns: the reader's tune places the rows.
        for (std::size_t ch = 0; ch < kChannelMapRpmColumn; ++ch) log.channels |= 1u << ch;
        for (const SyntheticRow& r : rows) log.rows.push_back(r.sample);
        if (count > 200) log.marks = {100, 200};
    }

    // The per-cell numbers of the rows `take` keeps, counted from the path itself.
    std::array<ExpectedCell, kCellCount> Expected(
        const std::function<bool(const LogSample&)>& take = nullptr) const {
        std::array<ExpectedCell, kCellCount> cells{};
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const SyntheticRow& r = rows[i];
            if (take && !take(r.sample)) continue;
            ExpectedCell& e = cells[static_cast<std::size_t>(r.tpsRow * kMapColumns + r.rpmColumn)];
            const double v = r.sample.Channels.LambdaMv;
            e.min = e.samples ? std::min(e.min, v) : v;
            e.max = e.samples ? std::max(e.max, v) : v;
            e.sum += v;
            ++e.samples;
            // Every row lasts until the next; the last one has no time.
            if (i + 1 < rows.size()) e.seconds += kRowSeconds;
        }
        return cells;
    }

    // The ride as the bytes of a .msl file.
    std::string MslText() const {
        const DeviceImage tune = Tune();
        return EncodeRideLog(log, LogFormat::Msl, LogHeader{}, tune, true);
    }

    std::vector<SyntheticRow> rows;
    RideLogReadResult log;
};

}  // namespace korvan::testing
