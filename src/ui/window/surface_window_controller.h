// The map in 3D beside the grid: owns the 3D window (made on first use), its Tools item and
// key, the view angle it keeps in the settings, and the tune it compares with (a file, the
// unit or a restore point). It follows every change of the model (commits, undo, a read)
// and the live cursor of each tick itself, so the surface, the live cell and the trail are
// always the window's own. It tells the window what to select when a cell is clicked, and
// the other views which tune is compared.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>

#include "device/device_link.h"
#include "device/map_cursor.h"
#include "params/device_image.h"
#include "params/localized_text.h"
#include "params/map_cell.h"
#include "params/map_selection.h"
#include "surface/surface_map.h"
#include "surface/surface_projection.h"

class QAction;
class QFileDialog;
class QMainWindow;

namespace korvan {

class Dialogs;
class IniStore;
class LinkView;
class MainMenu;
class ParameterModel;
class RestoreStore;
class SurfaceWindow;

class SurfaceWindowController : public QObject {
    Q_OBJECT

  public:
    // Settings: the view angle, in a section of its own.
    static constexpr const char* kSection = "SURFACE_VIEW";
    static constexpr const char* kViewKey = "ViewAngle";

    // Adds its item to the Tools menu. Restore points are offered from `points`.
    SurfaceWindowController(QMainWindow& window, ParameterModel& model, DeviceLink& link,
                            LinkView& view, MainMenu& menu, Dialogs& dialogs, RestoreStore& points);
    ~SurfaceWindowController() override;

    void Load(const IniStore& store);
    void Save(IniStore& store) const;

    // The Tools item: the window, made on first use, shown and raised.
    void ShowWindow();
    // The compare menu of the window. A file or a restore point is compared at once; the
    // unit is read into a set of its own first (the same requests and checks as Read).
    void CompareWithFile();
    void CompareWithUnit();
    void CompareWithPoint(const QString& fileName);
    void EndCompare();
    void SavePicture();
    void PrintPicture();

    SurfaceWindow* Window() const { return window3d_; }  // null until first shown
    QAction* MenuItem() const { return menuItem_; }
    const std::optional<DeviceImage>& Compared() const { return compared_; }
    QString ComparedName() const;

  public slots:
    // The map tools' selection, outlined on the surface; a rectangle off the map clears it.
    void ShowSelection(const korvan::MapRect& selection);

  signals:
    // A cell of the surface or the difference grid was clicked: select it in the grid.
    void CellClicked(const korvan::MapCell& cell);
    // The tune compared with this one changed (nothing: no comparison).
    void CompareChanged(const std::optional<korvan::DeviceImage>& other, const QString& name);

  private:
    enum class Source { File, Unit, Point };

    void ApplyLanguage();
    void ShowMaps();
    void ShowCursor(const MapCursor& cursor);
    void OperationFinished(const OperationEnd& end);
    void SetCompared(const DeviceImage& other, Source source, const QString& subject);
    void OfferPoints();
    QFileDialog& Dialog(QFileDialog*& dialog, const char* name, bool save);
    QString ChooseFile(QFileDialog& dialog);
    QString Tr(const LocalizedText& text) const;

    QMainWindow& window_;
    ParameterModel& model_;
    DeviceLink& link_;
    Dialogs& dialogs_;
    RestoreStore& points_;

    ViewAngle view_;
    bool viewKnown_ = false;  // loaded from the settings, or the window was used
    std::optional<CellRange> selection_;
    std::optional<MapCell> live_;  // the last tick's live cell

    std::optional<DeviceImage> compared_;
    Source source_ = Source::File;
    QString subject_;         // the file name, or the restore point's
    DeviceImage unitCopy_{};  // what "the unit's tune" is read into
    bool readingUnit_ = false;

    QAction* menuItem_ = nullptr;  // "MenuSurface3D"
    SurfaceWindow* window3d_ = nullptr;
    QFileDialog* compareDialog_ = nullptr;  // "SurfaceCompareDialog"
    QFileDialog* pngDialog_ = nullptr;      // "SurfacePngDialog"
};

}  // namespace korvan
