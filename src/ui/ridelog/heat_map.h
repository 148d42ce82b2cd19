// The time-in-cell colours for the Advance Map page: one colour and one tooltip per map cell.
#pragma once

#include <QColor>
#include <QString>
#include <array>
#include <cstdint>

#include "log/time_in_cell.h"

namespace korvan {

// A visited cell's colour: pale yellow for the briefest visit up to red for the cell the engine
// spent most time in. An invalid colour for a cell never visited: it keeps its normal colour.
QColor CellHeatColour(const CellTime& cell, double maxSeconds);

// "12.3 s, lambda 845 mV"; empty for a cell never visited.
QString CellHeatTooltip(const CellTime& cell, std::uint8_t language);

struct HeatMap {
    std::array<QColor, kMapRows * kMapColumns> colours;  // row-major like the map
    std::array<QString, kMapRows * kMapColumns> tooltips;
};

HeatMap BuildHeatMap(const TimeInCells& cells, std::uint8_t language);

}  // namespace korvan
