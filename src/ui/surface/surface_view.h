// The advance map as a surface in 3D, drawn with QPainter: over RPM and throttle spaced by
// their real values, degrees up, with the live cell, the engine's trail, the selection and
// an optional second tune seen through. It only shows what it is given and reports what the
// user does (a click on a cell, a new view angle); the owner keeps the tune and the settings.
#pragma once

#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "device/map_cursor.h"
#include "surface/cell_trail.h"
#include "surface/surface_projection.h"

class QPaintDevice;
class QPainter;

namespace korvan {

class SurfaceView : public QWidget {
    Q_OBJECT

  public:
    explicit SurfaceView(std::uint8_t language, QWidget* parent = nullptr);
    ~SurfaceView() override;

    // The map and its axes, after every commit, undo and read.
    void SetMap(const SurfaceMap& map);
    // A second tune seen through the map, each cell of the map coloured by map - other. Nothing
    // ends the comparison.
    void SetCompare(const std::optional<SurfaceMap>& other, const QString& name = QString());
    // The cell the engine runs in now (nothing while it runs below the RPM axis or no values
    // come); each new cell also joins the trail.
    void SetLiveCell(const std::optional<MapCell>& cell);
    void ClearTrail();
    // The map tools' selection, outlined on the surface.
    void SetSelection(const std::optional<CellRange>& range);
    void SetView(const ViewAngle& view);
    void ResetView();
    void SetLanguage(std::uint8_t language);

    // The live cell of the grid's cursor: none when it is cleared or below the RPM axis.
    static std::optional<MapCell> LiveCellOf(const MapCursor& cursor);

    const ViewAngle& View() const { return view_; }
    const SurfaceMap& Map() const { return map_; }
    const CellTrail& Trail() const { return trail_; }
    const std::optional<MapCell>& LiveCell() const { return live_; }
    const std::optional<SurfaceMap>& Compared() const { return compare_; }
    const std::optional<CellRange>& Selection() const { return selection_; }

    // The picture as it is shown, at the widget's size or another.
    QImage Picture(QSize size = QSize()) const;
    void CopyToClipboard() const;
    // Replaces `path` only when the whole picture was written; false with the reason otherwise.
    bool SavePng(const QString& path, QString* error) const;
    // The picture on `device` (a printer or a PDF file), black on white and sharp at the
    // device's resolution, scaled to fit with its shape kept.
    bool Print(QPaintDevice& device, QString* error) const;

    // Where the view draws a cell's point, and which cell is under a point; for tests and
    // the owner's hints.
    QPointF CellPosition(MapCell cell) const;
    std::optional<MapCell> CellAt(QPointF position) const;
    QString ToolTipAt(QPointF position) const;
    // The axis numbers and titles of the picture drawn last (a label with no room is left out).
    const QStringList& LabelsDrawn() const { return labels_; }
    QSize sizeHint() const override;
    // The room the projection leaves round the box for the axis labels, in pixels (little in a
    // window too small for labels).
    double LabelMargin() const;

  signals:
    void CellClicked(int row, int column);
    // After a drag, a wheel step or a key changed the view; the owner saves it.
    void ViewChanged(korvan::ViewAngle view);
    // A right click that did not drag, for the owner's menu (copy, save, print).
    void ContextMenuRequested(QPoint globalPosition);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    enum class Look { Screen, Paper };
    struct Colours;

    static bool Labelled(QSize size);
    double MarginFor(QSize size) const;
    // A dot of the trail (from == to) or a step between two cells, with its opacity.
    struct TrailMark {
        MapCell from;
        MapCell to;
        double opacity;
    };
    std::vector<TrailMark> TrailMarks() const;
    void SceneChanged();
    void LiveChanged();
    // Where the live cell and the trail are drawn now.
    QRect LiveBounds() const;
    static double MarksScale(const SceneView& view);
    void ViewMoved(bool report);
    const SceneView& CurrentView() const;
    Colours ColoursFor(Look look) const;
    void RenderStill(QPainter& painter, const SceneView& view, Look look) const;
    void RenderLive(QPainter& painter, const SceneView& view, Look look) const;
    void RenderAll(QPainter& painter, QSize size, Look look) const;
    void DrawBox(QPainter& painter, const SceneView& view, const Colours& colours) const;
    void DrawFacets(QPainter& painter, const SceneView& view, const Colours& colours) const;
    void DrawSelection(QPainter& painter, const SceneView& view, const Colours& colours) const;
    void DrawLabels(QPainter& painter, const SceneView& view, const Colours& colours) const;
    void DrawLegend(QPainter& painter, const Colours& colours) const;

    std::uint8_t language_;
    SurfaceMap map_;
    std::optional<SurfaceMap> compare_;
    QString compareName_;
    std::optional<MapCell> live_;
    CellTrail trail_;
    std::optional<CellRange> selection_;
    ViewAngle view_;
    // The scene is rebuilt on a new map; its view on a new angle or size. The still part of the
    // picture (everything but the live cell and the trail) is kept, so a live move only paints
    // the pixmap again and the few marks over it.
    std::unique_ptr<SurfaceScene> scene_;
    mutable std::unique_ptr<SceneView> sceneView_;
    mutable QPixmap still_;
    mutable bool stillValid_ = false;
    QRect liveShown_;  // where the marks were last drawn
    mutable QStringList labels_;

    QPoint pressPosition_;
    QPoint lastPosition_;
    Qt::MouseButton pressButton_ = Qt::NoButton;
    bool dragging_ = false;
};

}  // namespace korvan
