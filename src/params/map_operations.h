// Operations on a block of the advance map and on a run of a 10-point table: set, add,
// scale, interpolate on the real axis values, smooth; and the resample that keeps the advance
// at each engine speed when the map's RPM points move.
//
// Each operation changes the given cells only (never a byte outside them), rounds to whole
// raw units and keeps the field's range. It reports what it did, so that the window makes the
// change one undo step with one program operation, or shows why it refused: a refused
// operation changes nothing.
#pragma once

#include <array>
#include <cstdint>

#include "params/device_image.h"
#include "params/map_selection.h"
#include "params/map_texts.h"

namespace korvan {

struct EditOutcome {
    bool refused = false;  // nothing changed; `reason` says why
    Phrase reason;
    Phrase step;           // the undo step's name, when not refused
    int cellsChanged = 0;  // bytes whose value changed (0: no undo step is needed)
    MapRect cells;         // the map cells covered (a paste: the block written)
};

// The map's cells are whole degrees within 0..60.
constexpr int kMinAdvance = 0;
constexpr int kMaxAdvanceDegrees = 60;
// A percentage for Scale.
constexpr int kMinScalePercent = 0;
constexpr int kMaxScalePercent = 1000;

// The map's RPM points in raw units (hundreds of rpm).
using RpmAxis = std::array<std::uint8_t, kAxisPoints>;
RpmAxis MapRpmAxis(const DeviceImage& image);

// The block's cells all become `degrees` (0..60, else refused).
EditOutcome SetCells(DeviceImage& image, const MapRect& cells, int degrees);
// Each cell moves by `degrees` (+1, -1, +5, -5 from the keys) and stops at 0 or 60.
EditOutcome AddToCells(DeviceImage& image, const MapRect& cells, int degrees);
// Each cell becomes `percent` % of itself, rounded (0..1000 %, else refused).
EditOutcome ScaleCells(DeviceImage& image, const MapRect& cells, int percent);
// Each row of the block becomes the straight line between its left and right cells, over the
// RPM points (at least two columns, else refused).
EditOutcome InterpolateAlongRpm(DeviceImage& image, const MapRect& cells);
// Each column becomes the straight line between its top and bottom cells, over the throttle
// points 0, 2, 5 ... 100 % (at least two rows, else refused).
EditOutcome InterpolateAlongThrottle(DeviceImage& image, const MapRect& cells);
// Every cell becomes the bilinear blend of the four corners over RPM and throttle; a block of
// one row or one column is the straight line between its ends (one cell is refused).
EditOutcome InterpolateFromCorners(DeviceImage& image, const MapRect& cells);
// Each cell becomes the rounded mean of itself and its neighbours within the block (3 x 3,
// fewer at the block's edges); every mean is taken from the values before the operation.
EditOutcome SmoothCells(DeviceImage& image, const MapRect& cells);

// After the map's RPM points moved from `oldAxis` to those in the image: every row of the map
// (those hidden without the throttle axis too) is resampled so that the advance at each engine
// speed stays what it was. The old rows are read as straight lines between the old points,
// held flat before the first and after the last. Nothing changes when the axes are equal.
EditOutcome ResampleMap(DeviceImage& image, const RpmAxis& oldAxis);

// --- the 10-point tables -------------------------------------------------------------------

enum class PointTable {
    ServoVoltage,  // NapPriv over RpmPriv: 20 mV steps, 20..4980 mV
    MapRpm,        // RpmAdv: interpolate only
    ServoRpm,      // RpmPriv: interpolate only
};

// A run of points, both ends included, 0..9.
struct PointRun {
    int first = 0;
    int last = kAxisPoints - 1;
};

// The servo voltage table in mV, as shown: 20 mV steps within 20..4980 mV.
constexpr int kServoMvPerStep = 20;
constexpr int kMinServoMv = 20;
constexpr int kMaxServoMv = 4980;

// Set a run to a voltage in mV (rounded to 20 mV; 20..4980 mV, else refused).
EditOutcome SetPoints(DeviceImage& image, PointTable table, PointRun run, int millivolts);
// Move each point by `steps` of 20 mV, stopping at 20 and 4980 mV.
EditOutcome AddToPoints(DeviceImage& image, PointTable table, PointRun run, int steps);
EditOutcome ScalePoints(DeviceImage& image, PointTable table, PointRun run, int percent);
// The servo voltages between the run's ends as a straight line over the servo RPM points; an
// RPM axis as a straight line over the point number, refused when that would not rise by at
// least one step (100 rpm) from point to point.
EditOutcome InterpolatePoints(DeviceImage& image, PointTable table, PointRun run);
EditOutcome SmoothPoints(DeviceImage& image, PointTable table, PointRun run);

}  // namespace korvan
