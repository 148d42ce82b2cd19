// The advance map as a picture: the advance over RPM, one curve per throttle row (one curve
// when the map has no throttle axis), with the cell in use marked; below it the servo voltage
// over its RPM breakpoints. A point of either can be dragged up or down, or chosen with the
// arrow keys and changed with +/- and PageUp/PageDown: the value snaps to what the unit can
// hold and stays within its field's limits, and the one changed byte is reported once, at the
// release (the owner turns it into one undo step). A second tune can be shown dashed beside.
#pragma once

#include <QPen>
#include <QPixmap>
#include <QPointF>
#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "device/map_cursor.h"
#include "params/device_image.h"
#include "ui/ridelog/curve_points.h"

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

    // Redraws every curve from the image (after a commit, a tool, an undo). A drag under way is
    // dropped: the values it started from are gone.
    void SetImage(const DeviceImage& image);
    // Marks the cell; nothing is marked below the RPM axis.
    void SetCursor(const MapCursor& cursor);
    void SetLanguage(std::uint8_t language);
    // The other tune's curves dashed beside these (`name` says which); nothing ends it.
    void SetCompare(const std::optional<DeviceImage>& other, const QString& name = QString());
    // The view as it is drawn, for printing.
    QPixmap Picture();

    int CurveCount() const;
    std::vector<QPointF> CurvePoints(int curve) const;
    QString CurveName(int curve) const;
    QPen CurveLine(int curve) const;
    std::optional<QPointF> MarkedPoint() const;
    std::vector<QPointF> ServoPoints() const;
    // The compared tune's advance curves, then its servo curve.
    int CompareCurveCount() const;
    std::vector<QPointF> CompareCurvePoints(int curve) const;
    Qt::PenStyle CompareCurveStyle(int curve) const;

    // The point the keys change, by the image byte it shows; also the last one dragged. A click
    // on a row's legend entry chooses that row.
    std::optional<std::size_t> SelectedPoint() const;
    void SelectPoint(std::size_t imageIndex);
    // Where a draggable point is drawn now, and where it would be with `shown` (degrees, mV),
    // in this widget's coordinates; nothing for a byte no curve shows.
    std::optional<QPointF> PointPosition(std::size_t imageIndex) const;
    std::optional<QPointF> PositionOf(std::size_t imageIndex, double shown) const;

  signals:
    // One byte of the image changed by a drag (at its release) or a key: the owner commits it.
    void PointEdited(int imageIndex, int value);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // A curve whose points can be moved: each point shows one byte of the image.
    struct Editable {
        QLineSeries* series;
        QChart* chart;
        QChartView* view;
        std::vector<std::size_t> indexes;
    };
    struct Located {
        int curve;
        int point;
    };
    struct Drag {
        std::size_t index;
        Located at;
        PointScale scale;
        std::uint8_t start;
        std::uint8_t now;
    };

    void ApplyTheme();
    QPen CurvePen(int curve) const;
    // The RPM of every breakpoint of `axis` in this tune and the compared one.
    std::vector<double> AxisPoints(std::size_t axis) const;
    void Rebuild();
    void RebuildCompare();
    void PlaceMarker();
    void PlaceSelection();
    void ShowValue(std::size_t index, std::uint8_t raw);
    void Change(int steps);
    void MoveSelection(int curveStep, int pointStep);
    void ChooseRow(int row);
    std::optional<Located> Locate(std::size_t imageIndex) const;
    std::optional<std::size_t> PointNear(QChartView* view, QPointF position) const;
    bool DragEvent(QChartView* view, QEvent* event);

    std::uint8_t language_;
    DeviceImage image_;
    std::optional<DeviceImage> compare_;
    QString compareName_;
    MapCursor cursor_;
    bool haveCursor_ = false;
    QChart* chart_;
    QChartView* view_;
    QValueAxis* rpmAxis_;
    QValueAxis* advanceAxis_;
    std::vector<QLineSeries*> curves_;
    QScatterSeries* marker_;
    QChart* servoChart_;
    QChartView* servoView_;
    QValueAxis* servoRpmAxis_;
    QValueAxis* servoAxis_;
    QLineSeries* servo_;
    std::vector<QLineSeries*> compareCurves_;  // the advance rows, then the servo curve
    QScatterSeries* selectedMarker_;
    QScatterSeries* servoSelectedMarker_;
    std::vector<Editable> editable_;
    std::optional<std::size_t> selected_;
    std::optional<Drag> drag_;
};

}  // namespace korvan
