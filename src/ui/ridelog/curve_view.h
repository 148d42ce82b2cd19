// The advance map as a picture: the advance over RPM, one curve per throttle row (one curve
// when the map has no throttle axis), with the cell in use marked.
#pragma once

#include <QPixmap>
#include <QPointF>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

#include "device/map_cursor.h"
#include "params/device_image.h"

class QChart;
class QChartView;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace korvan {

class CurveView : public QWidget {
    Q_OBJECT
  public:
    explicit CurveView(std::uint8_t language, QWidget* parent = nullptr);

    // Redraws every curve from the image (after a commit, a tool, an undo).
    void SetImage(const DeviceImage& image);
    // Marks the cell; nothing is marked below the RPM axis.
    void SetCursor(const MapCursor& cursor);
    void SetLanguage(std::uint8_t language);
    // The view as it is drawn, for printing.
    QPixmap Picture();

    int CurveCount() const;
    std::vector<QPointF> CurvePoints(int curve) const;
    QString CurveName(int curve) const;
    std::optional<QPointF> MarkedPoint() const;

  private:
    void Rebuild();
    void PlaceMarker();

    std::uint8_t language_;
    DeviceImage image_;
    MapCursor cursor_;
    bool haveCursor_ = false;
    QChart* chart_;
    QChartView* view_;
    QValueAxis* rpmAxis_;
    QValueAxis* advanceAxis_;
    std::vector<QLineSeries*> curves_;
    QScatterSeries* marker_;
};

}  // namespace korvan
