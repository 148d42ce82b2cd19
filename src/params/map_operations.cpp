#include "params/map_operations.h"

#include <algorithm>
#include <string>

#include "params/editing_tools.h"

namespace korvan {

namespace {

// p / q rounded to the nearest whole number, halves away from zero (q > 0). Every operation
// computes its exact result as such a ratio, so the only error is this one rounding.
long long RoundRatio(long long p, long long q) {
    return p >= 0 ? (2 * p + q) / (2 * q) : -((-2 * p + q) / (2 * q));
}

std::string Signed(int value) {
    return (value > 0 ? "+" : "") + std::to_string(value);
}

// The map as the window shows it: a cell beyond 60 (from a hand-made file) counts as 60.
using Grid = std::array<int, kMapRows * kMapColumns>;

Grid ReadMap(const DeviceImage& image) {
    Grid g{};
    for (int i = 0; i < kMapRows * kMapColumns; ++i)
        g[i] = std::min<int>(image[field::Advance + i], kMaxAdvanceDegrees);
    return g;
}

int& At(Grid& g, int row, int column) {
    return g[row * kMapColumns + column];
}

template <typename... Args>
EditOutcome Refusal(const LocalizedText& text, const Args&... args) {
    EditOutcome out;
    out.refused = true;
    out.reason = MakePhrase(text, args...);
    return out;
}

// Writes the block's cells of `next`, within 0..60, and names the step after the block.
template <typename... Args>
EditOutcome WriteBlock(DeviceImage& image, const MapRect& cells, const Grid& next,
                       const LocalizedText& step, const Args&... args) {
    EditOutcome out;
    out.cells = cells;
    for (int r = cells.top; r <= cells.bottom; ++r) {
        for (int c = cells.left; c <= cells.right; ++c) {
            const auto v = static_cast<std::uint8_t>(
                std::clamp(next[r * kMapColumns + c], kMinAdvance, kMaxAdvanceDegrees));
            std::uint8_t& byte = image[AdvanceIndex(r, c)];
            if (byte != v) {
                byte = v;
                ++out.cellsChanged;
            }
        }
    }
    out.step = MakePhrase(step, cells.Columns(), cells.Rows(), args...);
    return out;
}

// The coordinates of the block's columns: the RPM points, or the column numbers where the
// points do not rise (an image that was never normalised), so nothing divides by zero.
std::array<long long, kMapColumns> RpmCoordinates(const DeviceImage& image, const MapRect& b) {
    std::array<long long, kMapColumns> x{};
    bool rising = true;
    for (int c = 0; c < kMapColumns; ++c) {
        x[c] = image[field::RpmAdv + c];
        if (c > b.left && c <= b.right && x[c] <= x[c - 1]) rising = false;
    }
    if (!rising) {
        for (int c = 0; c < kMapColumns; ++c) x[c] = c;
    }
    return x;
}

std::array<long long, kMapRows> ThrottleCoordinates() {
    std::array<long long, kMapRows> y{};
    for (int r = 0; r < kMapRows; ++r) y[r] = kTpsAxisPercent[r];
    return y;
}

// The bilinear blend of a block's corners at each of its cells, over the coordinates x
// (columns) and y (rows). A block one cell wide or high has no extent on that side: its weight
// there is 0 and the blend is the straight line along the other side.
Grid Blend(const Grid& g, const MapRect& b, const std::array<long long, kMapColumns>& x,
           const std::array<long long, kMapRows>& y) {
    Grid next = g;
    const long long dx = b.Columns() > 1 ? x[b.right] - x[b.left] : 1;
    const long long dy = b.Rows() > 1 ? y[b.bottom] - y[b.top] : 1;
    const long long tl = g[b.top * kMapColumns + b.left];
    const long long tr = g[b.top * kMapColumns + b.right];
    const long long bl = g[b.bottom * kMapColumns + b.left];
    const long long br = g[b.bottom * kMapColumns + b.right];
    for (int r = b.top; r <= b.bottom; ++r) {
        const long long wy = b.Rows() > 1 ? y[r] - y[b.top] : 0;
        for (int c = b.left; c <= b.right; ++c) {
            const long long wx = b.Columns() > 1 ? x[c] - x[b.left] : 0;
            const long long sum = tl * (dx - wx) * (dy - wy) + tr * wx * (dy - wy) +
                                  bl * (dx - wx) * wy + br * wx * wy;
            At(next, r, c) = static_cast<int>(RoundRatio(sum, dx * dy));
        }
    }
    return next;
}

// Straight lines along one side only: each row between its own ends (alongRows), or each
// column between its own ends.
Grid Lines(const Grid& g, const MapRect& b, const std::array<long long, kMapColumns>& x,
           const std::array<long long, kMapRows>& y, bool alongRows) {
    Grid next = g;
    if (alongRows) {
        for (int r = b.top; r <= b.bottom; ++r) {
            const MapRect row{r, b.left, r, b.right};
            const Grid line = Blend(g, row, x, y);
            for (int c = b.left; c <= b.right; ++c) At(next, r, c) = line[r * kMapColumns + c];
        }
    } else {
        for (int c = b.left; c <= b.right; ++c) {
            const MapRect column{b.top, c, b.bottom, c};
            const Grid line = Blend(g, column, x, y);
            for (int r = b.top; r <= b.bottom; ++r) At(next, r, c) = line[r * kMapColumns + c];
        }
    }
    return next;
}

}  // namespace

RpmAxis MapRpmAxis(const DeviceImage& image) {
    RpmAxis axis{};
    for (int k = 0; k < kAxisPoints; ++k) axis[k] = image[field::RpmAdv + k];
    return axis;
}

EditOutcome SetCells(DeviceImage& image, const MapRect& cells, int degrees) {
    if (!cells.OnMap()) return Refusal(maptext::kOutsideTheMap);
    if (degrees < kMinAdvance || degrees > kMaxAdvanceDegrees)
        return Refusal(maptext::kAdvanceOutOfRange, degrees);
    Grid next{};
    next.fill(degrees);
    return WriteBlock(image, cells, next, maptext::kStepSet, degrees);
}

EditOutcome AddToCells(DeviceImage& image, const MapRect& cells, int degrees) {
    if (!cells.OnMap()) return Refusal(maptext::kOutsideTheMap);
    Grid next = ReadMap(image);
    // Far beyond the range is the same as at its end; this keeps the sum from overflowing.
    const int delta = std::clamp(degrees, -kMaxAdvanceDegrees, kMaxAdvanceDegrees);
    for (int& v : next) v += delta;
    return WriteBlock(image, cells, next, maptext::kStepAdd, Signed(degrees));
}

EditOutcome ScaleCells(DeviceImage& image, const MapRect& cells, int percent) {
    if (!cells.OnMap()) return Refusal(maptext::kOutsideTheMap);
    if (percent < kMinScalePercent || percent > kMaxScalePercent)
        return Refusal(maptext::kPercentOutOfRange, percent);
    Grid next = ReadMap(image);
    for (int& v : next) v = static_cast<int>(RoundRatio(static_cast<long long>(v) * percent, 100));
    return WriteBlock(image, cells, next, maptext::kStepScale, percent);
}

EditOutcome InterpolateAlongRpm(DeviceImage& image, const MapRect& cells) {
    if (!cells.OnMap()) return Refusal(maptext::kOutsideTheMap);
    if (cells.Columns() < 2) return Refusal(maptext::kNeedTwoColumns);
    const Grid next =
        Lines(ReadMap(image), cells, RpmCoordinates(image, cells), ThrottleCoordinates(), true);
    return WriteBlock(image, cells, next, maptext::kStepInterpolateRpm);
}

EditOutcome InterpolateAlongThrottle(DeviceImage& image, const MapRect& cells) {
    if (!cells.OnMap()) return Refusal(maptext::kOutsideTheMap);
    if (cells.Rows() < 2) return Refusal(maptext::kNeedTwoRows);
    const Grid next =
        Lines(ReadMap(image), cells, RpmCoordinates(image, cells), ThrottleCoordinates(), false);
    return WriteBlock(image, cells, next, maptext::kStepInterpolateThrottle);
}

EditOutcome InterpolateFromCorners(DeviceImage& image, const MapRect& cells) {
    if (!cells.OnMap()) return Refusal(maptext::kOutsideTheMap);
    if (cells.Cells() < 2) return Refusal(maptext::kNeedTwoCells);
    const Grid next =
        Blend(ReadMap(image), cells, RpmCoordinates(image, cells), ThrottleCoordinates());
    return WriteBlock(image, cells, next, maptext::kStepInterpolateCorners);
}

EditOutcome SmoothCells(DeviceImage& image, const MapRect& cells) {
    if (!cells.OnMap()) return Refusal(maptext::kOutsideTheMap);
    const Grid g = ReadMap(image);
    Grid next = g;
    for (int r = cells.top; r <= cells.bottom; ++r) {
        for (int c = cells.left; c <= cells.right; ++c) {
            long long sum = 0;
            long long count = 0;
            for (int nr = std::max(r - 1, cells.top); nr <= std::min(r + 1, cells.bottom); ++nr) {
                for (int nc = std::max(c - 1, cells.left); nc <= std::min(c + 1, cells.right);
                     ++nc) {
                    sum += g[nr * kMapColumns + nc];
                    ++count;
                }
            }
            At(next, r, c) = static_cast<int>(RoundRatio(sum, count));
        }
    }
    return WriteBlock(image, cells, next, maptext::kStepSmooth);
}

EditOutcome ResampleMap(DeviceImage& image, const RpmAxis& oldAxis) {
    const RpmAxis newAxis = MapRpmAxis(image);
    const MapRect whole = MapRect::WholeMap();
    if (newAxis == oldAxis) {
        EditOutcome unchanged;
        unchanged.cells = whole;
        unchanged.step = MakePhrase(maptext::kStepRpmAxisAdvanceKept);
        return unchanged;
    }
    const Grid g = ReadMap(image);
    Grid next = g;
    for (int r = 0; r < kMapRows; ++r) {
        const auto old = [&](int c) { return static_cast<long long>(g[r * kMapColumns + c]); };
        for (int c = 0; c < kMapColumns; ++c) {
            const long long x = newAxis[c];
            long long v = x <= oldAxis[0] ? old(0) : old(kAxisPoints - 1);
            for (int k = 0; k + 1 < kAxisPoints; ++k) {
                const long long x0 = oldAxis[k];
                const long long x1 = oldAxis[k + 1];
                if (x0 < x && x <= x1) {
                    v = RoundRatio(old(k) * (x1 - x) + old(k + 1) * (x - x0), x1 - x0);
                    break;
                }
            }
            At(next, r, c) = static_cast<int>(v);
        }
    }
    return WriteBlock(image, whole, next, maptext::kStepRpmAxisAdvanceKept);
}

// --- the 10-point tables -------------------------------------------------------------------

namespace {

std::size_t FirstByte(PointTable table) {
    switch (table) {
        case PointTable::ServoVoltage:
            return field::NapPriv;
        case PointTable::MapRpm:
            return field::RpmAdv;
        case PointTable::ServoRpm:
            return field::RpmPriv;
    }
    return field::NapPriv;
}

const LocalizedText& TableName(PointTable table) {
    switch (table) {
        case PointTable::ServoVoltage:
            return maptext::kServoVoltages;
        case PointTable::MapRpm:
            return maptext::kMapRpmPoints;
        case PointTable::ServoRpm:
            return maptext::kServoRpmPoints;
    }
    return maptext::kServoVoltages;
}

bool IsAxis(PointTable table) {
    return table != PointTable::ServoVoltage;
}

bool ValidRun(PointRun run) {
    return run.first >= 0 && run.first <= run.last && run.last < kAxisPoints;
}

// A text naming the table and the points as the window numbers them (from 1).
// `extra` fills %4, `more` %5.
Phrase PointsPhrase(const LocalizedText& text, PointTable table, PointRun run,
                    const std::string& extra = {}, const std::string& more = {}) {
    return PhraseEach([&](std::uint8_t language) {
        return Fill(text, language, TableName(table).In(language), run.first + 1, run.last + 1,
                    extra, more);
    });
}

EditOutcome RefusedPoints(const LocalizedText& text, PointTable table, PointRun run,
                          const std::string& a = {}, const std::string& b = {}) {
    EditOutcome out;
    out.refused = true;
    out.reason = PointsPhrase(text, table, run, a, b);
    return out;
}

EditOutcome AxisOnlyInterpolates(PointTable table) {
    EditOutcome out;
    out.refused = true;
    out.reason = PhraseEach([&](std::uint8_t language) {
        return Fill(maptext::kAxisInterpolateOnly, language, TableName(table).In(language));
    });
    return out;
}

using Points = std::array<long long, kAxisPoints>;

// Writes the run's new servo voltages within 1..249 (20..4980 mV).
EditOutcome WriteServo(DeviceImage& image, PointRun run, const Points& next, Phrase step) {
    EditOutcome out;
    for (int k = run.first; k <= run.last; ++k) {
        const auto v =
            static_cast<std::uint8_t>(std::clamp<long long>(next[k], kMinServoStep, kMaxServoStep));
        std::uint8_t& byte = image[field::NapPriv + k];
        if (byte != v) {
            byte = v;
            ++out.cellsChanged;
        }
    }
    out.step = std::move(step);
    return out;
}

Points ReadServo(const DeviceImage& image) {
    Points p{};
    for (int k = 0; k < kAxisPoints; ++k) p[k] = image[field::NapPriv + k];
    return p;
}

std::string Millivolts(int mv) {
    return std::to_string(mv) + " mV";
}

}  // namespace

EditOutcome SetPoints(DeviceImage& image, PointTable table, PointRun run, int millivolts) {
    if (!ValidRun(run)) return Refusal(maptext::kOutsideTheMap);
    if (IsAxis(table)) return AxisOnlyInterpolates(table);
    if (millivolts < kMinServoMv || millivolts > kMaxServoMv)
        return Refusal(maptext::kServoOutOfRange, millivolts);
    const long long raw = RoundRatio(millivolts, kServoMvPerStep);
    Points next{};
    next.fill(raw);
    return WriteServo(image, run, next,
                      PointsPhrase(maptext::kStepPointsSet, table, run,
                                   Millivolts(static_cast<int>(raw) * kServoMvPerStep)));
}

EditOutcome AddToPoints(DeviceImage& image, PointTable table, PointRun run, int steps) {
    if (!ValidRun(run)) return Refusal(maptext::kOutsideTheMap);
    if (IsAxis(table)) return AxisOnlyInterpolates(table);
    Points next = ReadServo(image);
    const int delta =
        std::clamp(steps, -static_cast<int>(kMaxServoStep), static_cast<int>(kMaxServoStep));
    for (long long& v : next) v += delta;
    return WriteServo(image, run, next,
                      PointsPhrase(maptext::kStepPointsAdd, table, run,
                                   (steps > 0 ? "+" : "") + Millivolts(steps * kServoMvPerStep)));
}

EditOutcome ScalePoints(DeviceImage& image, PointTable table, PointRun run, int percent) {
    if (!ValidRun(run)) return Refusal(maptext::kOutsideTheMap);
    if (IsAxis(table)) return AxisOnlyInterpolates(table);
    if (percent < kMinScalePercent || percent > kMaxScalePercent)
        return Refusal(maptext::kPercentOutOfRange, percent);
    Points next = ReadServo(image);
    for (long long& v : next) v = RoundRatio(v * percent, 100);
    return WriteServo(image, run, next,
                      PointsPhrase(maptext::kStepPointsScale, table, run, std::to_string(percent)));
}

EditOutcome InterpolatePoints(DeviceImage& image, PointTable table, PointRun run) {
    if (!ValidRun(run)) return Refusal(maptext::kOutsideTheMap);
    if (run.last - run.first < 1) return Refusal(maptext::kNeedTwoPoints);
    const Phrase step = PointsPhrase(maptext::kStepPointsInterpolate, table, run);
    if (!IsAxis(table)) {
        // Over the servo's own RPM points; where they do not rise, over the point numbers.
        Points x{};
        bool rising = true;
        for (int k = 0; k < kAxisPoints; ++k) {
            x[k] = image[field::RpmPriv + k];
            if (k > run.first && k <= run.last && x[k] <= x[k - 1]) rising = false;
        }
        if (!rising) {
            for (int k = 0; k < kAxisPoints; ++k) x[k] = k;
        }
        const Points v = ReadServo(image);
        Points next = v;
        const long long a = v[run.first], b = v[run.last];
        const long long x0 = x[run.first], x1 = x[run.last];
        for (int k = run.first; k <= run.last; ++k)
            next[k] = RoundRatio(a * (x1 - x[k]) + b * (x[k] - x0), x1 - x0);
        return WriteServo(image, run, next, step);
    }
    // An axis: evenly spaced between its ends, and rising by at least one step each point so
    // that it stays an axis. The points outside the run already lie below and above the ends.
    const std::size_t first = FirstByte(table);
    const long long a = image[first + run.first];
    const long long b = image[first + run.last];
    const long long n = run.last - run.first;
    if (b - a < n) {
        return RefusedPoints(maptext::kAxisWouldNotRise, table, run, std::to_string(a * 100),
                             std::to_string(b * 100));
    }
    EditOutcome out;
    for (int k = run.first; k <= run.last; ++k) {
        const auto v = static_cast<std::uint8_t>(a + RoundRatio((b - a) * (k - run.first), n));
        std::uint8_t& byte = image[first + k];
        if (byte != v) {
            byte = v;
            ++out.cellsChanged;
        }
    }
    out.step = step;
    return out;
}

EditOutcome SmoothPoints(DeviceImage& image, PointTable table, PointRun run) {
    if (!ValidRun(run)) return Refusal(maptext::kOutsideTheMap);
    if (IsAxis(table)) return AxisOnlyInterpolates(table);
    const Points v = ReadServo(image);
    Points next = v;
    for (int k = run.first; k <= run.last; ++k) {
        long long sum = 0, count = 0;
        for (int n = std::max(k - 1, run.first); n <= std::min(k + 1, run.last); ++n) {
            sum += v[n];
            ++count;
        }
        next[k] = RoundRatio(sum, count);
    }
    return WriteServo(image, run, next, PointsPhrase(maptext::kStepPointsSmooth, table, run));
}

}  // namespace korvan
