#include "ui/ridelog/heat_map.h"

#include <algorithm>
#include <cmath>

#include <QLocale>
#include "ui/ridelog/ridelog_texts.h"

namespace korvan {

namespace {
// Hue from yellow (60°) to red (0°); light enough that the cell's number stays readable.
constexpr int kHueBrief = 60;
constexpr int kSaturationBrief = 90;
constexpr int kSaturationLong = 230;
constexpr int kValue = 255;
}  // namespace

QColor CellHeatColour(const CellTime& cell, double maxSeconds) {
    if (!cell.Visited()) return {};
    // A square root spreads the shades: a ride spends most of its time in a few cells.
    const double share =
        maxSeconds > 0 ? std::sqrt(std::clamp(cell.Seconds / maxSeconds, 0.0, 1.0)) : 0.0;
    const int hue = static_cast<int>(std::lround(kHueBrief * (1.0 - share)));
    const int saturation = static_cast<int>(
        std::lround(kSaturationBrief + (kSaturationLong - kSaturationBrief) * share));
    return QColor::fromHsv(hue, saturation, kValue);
}

QString CellHeatTooltip(const CellTime& cell, std::uint8_t language) {
    if (!cell.Visited()) return {};
    // Shown to the user: the decimal point follows the user's locale, unlike the log file.
    return QString::fromUtf8(ridelogtext::kCellTooltip.In(language))
        .replace(QStringLiteral("%.1f"), QLocale().toString(cell.Seconds, 'f', 1))
        .replace(QStringLiteral("%.0f"), QLocale().toString(cell.MeanLambdaMv(), 'f', 0));
}

HeatMap BuildHeatMap(const TimeInCells& cells, std::uint8_t language) {
    double maxSeconds = 0;
    for (const CellTime& c : cells.Cells) maxSeconds = std::max(maxSeconds, c.Seconds);
    HeatMap map;
    for (std::size_t i = 0; i < cells.Cells.size(); ++i) {
        map.colours[i] = CellHeatColour(cells.Cells[i], maxSeconds);
        map.tooltips[i] = CellHeatTooltip(cells.Cells[i], language);
    }
    return map;
}

}  // namespace korvan
