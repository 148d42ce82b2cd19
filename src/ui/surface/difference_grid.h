// The difference of two tunes as a grid like the map's: one cell per map cell with the signed
// difference in degrees (current - compared), coloured as the 3D view colours it.
#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>

#include "surface/surface_map.h"

namespace korvan {

class DifferenceGrid : public QWidget {
    Q_OBJECT

  public:
    explicit DifferenceGrid(std::uint8_t language, QWidget* parent = nullptr);

    // The rows of `current` in use are shown; nothing to compare leaves a line saying so.
    void SetMaps(const SurfaceMap& current, const std::optional<SurfaceMap>& compared);
    void SetLanguage(std::uint8_t language);

    bool HasComparison() const { return compared_.has_value(); }
    // current - compared of a cell in use; 0 without a comparison.
    int Difference(MapCell cell) const;
    // Where a cell is drawn; empty for a row not in use.
    QRectF CellRect(MapCell cell) const;
    std::optional<MapCell> CellAt(QPointF position) const;
    QColor CellColour(MapCell cell) const;
    QString CellText(MapCell cell) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    void CellClicked(int row, int column);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    QRectF GridArea() const;
    double TitleHeight() const;

    std::uint8_t language_;
    SurfaceMap current_;
    std::optional<SurfaceMap> compared_;
};

}  // namespace korvan
