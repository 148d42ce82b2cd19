// The compare of two parameter sets: what a tuner needs to see to decide which of two tunes
// to keep. Only the parameter pages are compared; the identity page describes the unit, not
// the tune.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "params/device_image.h"

namespace korvan {

// One advance map cell that differs. Values are degrees; the difference is other - base.
struct CellDifference {
    int row;     // 0 = 0 % throttle
    int column;  // 0 = the first RPM breakpoint
    int base;
    int other;
    int Delta() const { return other - base; }
};

// Which table a differing breakpoint belongs to.
enum class AxisKind { AdvanceRpm, ServoVoltage, ServoRpm };

// One point of a ten-point table that differs, in the field's unit (rpm or mV).
struct AxisDifference {
    AxisKind axis;
    int point;  // 0..9
    int base;
    int other;
    int Delta() const { return other - base; }
};

// How a differing field outside the map and the tables is shown.
enum class FieldKind {
    Numeric,   // an edit field: values in its unit
    Flag,      // a check box: 0 off, anything else on
    BikeType,  // the bike type list: values are the item numbers
    Byte,      // a byte no control shows: values are the raw bytes
};

struct FieldDifference {
    FieldKind kind;
    std::string control;  // the edit, check box or list that shows it; empty for a Byte
    std::size_t imageIndex;
    int base;
    int other;
    const char* unit;  // "rpm", "mV", "ms", "%", "°"; empty for flags, lists and bytes
    int Delta() const { return other - base; }
};

struct ParameterComparison {
    std::vector<CellDifference> cells;    // row by row
    std::vector<AxisDifference> axes;     // advance RPM, then servo voltage, then servo RPM
    std::vector<FieldDifference> fields;  // in the order of the image
    // The RPM of each map column in `other`, so a cell can be named by its engine speed.
    std::array<int, kMapColumns> columnRpm{};

    bool Identical() const { return cells.empty() && axes.empty() && fields.empty(); }
    // What a tuner counts as one change: a cell, a breakpoint or a field.
    int ChangeCount() const { return static_cast<int>(cells.size() + axes.size() + fields.size()); }
};

// Compares the parameter pages of `base` and `other`; each difference is other - base.
ParameterComparison CompareParameters(const DeviceImage& base, const DeviceImage& other);

// The unit of a shown value ("rpm", "mV", "ms", "%", "°"), or "" for a field without one.
const char* FieldUnit(std::size_t imageIndex);

// The comparison as one JSON object (UTF-8), language-neutral: every difference named by the
// parameter file's key and the number's place in it ("key":"TPS","index":1), units by name.
std::string ComparisonJson(const ParameterComparison& comparison);

// A JSON string literal of `text`, quotes included; control characters are escaped.
std::string JsonString(const std::string& text);

}  // namespace korvan
