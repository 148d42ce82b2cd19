// The window of the map in 3D: the surface, beside it the 2D difference grid while another
// tune is compared, a tool bar (compare with a file, the unit or a restore point; copy, save
// and print the picture; the starting view) and a line saying what the mouse does. Escape
// closes it. It shows what its owner gives it and reports what the user asks for; the owner
// reads files and the unit, asks for file names and printers, and keeps the settings.
#pragma once

#include <QString>
#include <QVector>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "surface/surface_projection.h"

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QToolButton;

namespace korvan {

class DifferenceGrid;
class SurfaceView;

class SurfaceWindow : public QWidget {
    Q_OBJECT

  public:
    // A restore point the compare menu offers: its file and the line shown for it.
    struct PointItem {
        QString fileName;
        QString text;
    };

    explicit SurfaceWindow(std::uint8_t language, QWidget* parent = nullptr);

    SurfaceView& View() const { return *view_; }
    DifferenceGrid& Grid() const { return *grid_; }

    void SetLanguage(std::uint8_t language);
    // The tune and the one compared with it (`name` says which); the grid shows only while
    // there is one.
    void SetMaps(const SurfaceMap& map, const std::optional<SurfaceMap>& compared,
                 const QString& name);
    // The restore points of the compare menu, newest first; asked for (PointsWanted) each time
    // the menu opens.
    void SetRestorePoints(const QVector<PointItem>& points);

    // The items, for the owner's tests and the manual's pictures.
    QToolButton* CompareButton() const { return compareButton_; }
    QMenu* CompareMenu() const { return compareMenu_; }
    QMenu* PointMenu() const { return pointMenu_; }
    QAction* CompareFileItem() const { return compareFileItem_; }
    QAction* CompareUnitItem() const { return compareUnitItem_; }
    QAction* EndCompareItem() const { return endCompareItem_; }
    QAction* CopyItem() const { return copyItem_; }
    QAction* SavePngItem() const { return savePngItem_; }
    QAction* PrintItem() const { return printItem_; }
    QAction* StartingViewItem() const { return startingViewItem_; }

  signals:
    void CompareFileRequested();
    void CompareUnitRequested();
    void ComparePointRequested(const QString& fileName);
    void CompareEndRequested();
    void PointsWanted();
    void SavePngRequested();
    void PrintRequested();
    // A cell clicked on the surface or in the difference grid.
    void CellClicked(int row, int column);

  private:
    void ShowContextMenu(QPoint globalPosition);

    std::uint8_t language_;
    SurfaceView* view_;
    DifferenceGrid* grid_;
    QSplitter* split_;
    QLabel* help_;
    QToolButton* compareButton_;
    QMenu* compareMenu_;
    QMenu* pointMenu_;
    QAction* compareFileItem_;
    QAction* compareUnitItem_;
    QAction* endCompareItem_;
    QAction* copyItem_;
    QAction* savePngItem_;
    QAction* printItem_;
    QAction* startingViewItem_;
};

}  // namespace korvan
