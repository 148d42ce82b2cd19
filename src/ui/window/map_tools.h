// The map tools of the window: a selection on the advance map (a block of cells) and in the
// rows of 10 points (the map's RPM points, the servo's RPM points and voltages), the Map menu,
// the keys that act on the selection while the map or a row has the focus, the clipboard and
// the map as a .csv file. It only turns mouse moves, keys and menu items into calls of the
// operations of params/map_operations.h; each operation that changed something is one commit
// of the model (one undo step named by what it did, one programming of the unit), and one that
// refused changes nothing and says why in the status bar.
//
// Mouse: a click focuses a cell, a drag or Shift+click selects a block (a run in a row).
// Keys: Shift+arrows grow the selection from the focused cell, Ctrl+A selects every cell in
// use, Escape clears; = sets, + and - step by 1, PageUp and PageDown by 5, * scales, H, V and
// / interpolate, S smooths; Ctrl+C, Ctrl+Shift+C and Ctrl+V use the clipboard; Ctrl+L (from
// anywhere in the window) focuses the cell the engine runs in.
#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

#include "params/map_cell.h"
#include "params/map_operations.h"
#include "params/map_selection.h"

class QAction;
class QKeyEvent;
class QMainWindow;
class QMenu;
class QWidget;

namespace korvan {

class Dialogs;
class FileCommands;
class HintStatus;
class InlineValueEditor;
class MainMenu;
class MapExchange;
class NumericEdit;
class ParameterModel;
class ParameterPages;
struct MapCursor;

class MapTools : public QObject {
    Q_OBJECT

  public:
    // The table the keys and the Map menu act on: the one that had the focus last.
    enum class Table { Map, MapRpm, ServoRpm, ServoVoltage };

    // The Map menu goes before the Language menu of `menu`, the .csv items into its File menu
    // after Save; the selection is drawn through the colours of `pages`.
    MapTools(QMainWindow& window, ParameterModel& model, ParameterPages& pages, MainMenu& menu,
             Dialogs& dialogs, HintStatus& hints, const MapCursor& cursor,
             const FileCommands& files);
    ~MapTools() override;

    const MapSelection& Selection() const { return selection_; }
    Table Current() const { return table_; }
    // The run selected in the current row: the focused point alone without a selection.
    PointRun SelectedRun() const;
    bool HasPointSelection() const { return points_.HasSelection(); }

    // The operations on the current table's selection, or on its focused cell without one.
    // On the map in degrees, on the servo voltages in mV and steps of 20 mV.
    void SetTo(int value);
    void Add(int steps);
    void Scale(int percent);
    void InterpolateAlongRpm();       // H; on a row: along the row
    void InterpolateAlongThrottle();  // V
    void InterpolateFromCorners();    // /; on a row: as H
    void Smooth();                    // S
    // = and *: the inline editor below the focused cell; Enter applies.
    void AskValue();
    void AskPercent();
    // The map's selection with the clipboard.
    void Copy(bool withAxes);
    void Paste();
    void SelectAll();
    void ClearSelection();
    // Ctrl+L: the map page, the cell the engine runs in focused, no selection.
    void GoToLiveCell();
    void ExportCsv();
    void ImportCsv();

    QMenu* Menu() const { return menu_; }
    InlineValueEditor* Editor() const { return editor_; }

  signals:
    // The map's selection changed; without a block, `cells` is the focused cell alone.
    void SelectionChanged(const korvan::MapRect& cells);

  public slots:
    // Focuses that cell of the map (the map page shown), the selection cleared.
    void SelectCell(const korvan::MapCell& cell);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // What a key does in a table; None: the key goes on to the field.
    enum class KeyAction {
        None,
        GrowLeft,
        GrowRight,
        GrowUp,
        GrowDown,
        SelectAll,
        Clear,
        Copy,
        CopyWithAxes,
        Paste,
        AskValue,
        AddOne,
        SubtractOne,
        AddFive,
        SubtractFive,
        AskPercent,
        InterpolateRpm,
        InterpolateThrottle,
        InterpolateCorners,
        Smooth,
    };
    struct CellRef {
        Table table = Table::Map;
        int index = 0;  // map: row * 10 + column; a row: the point
    };
    // How a refusal is told.
    enum class Tell { StatusBar, Box };

    void BuildMenus(MainMenu& menu);
    QAction* AddMapItem(const char* name, const QKeySequence& key);
    void ApplyLanguage();
    void RegisterCells();

    KeyAction KeyActionOf(const QKeyEvent& key, Table table) const;
    void Do(KeyAction action);
    bool OnMouse(const CellRef& ref, QEvent* event);
    void OnFocusIn(const CellRef& ref, Qt::FocusReason reason);
    void Activate(Table table, int point);
    MapCell CellOf(int index) const;
    NumericEdit* Widget(Table table, int index) const;
    NumericEdit* FocusedWidget() const;
    std::optional<PointTable> RowTable() const;
    // The cell or point nearest to `global` in the table being dragged over.
    int NearestIndex(Table table, const QPoint& global) const;
    void FocusWidget(NumericEdit* edit);
    void ShowPageOf(QWidget* w) const;
    void OnThrottleAxisShown(bool shown);
    void ShowSelection();
    void ShowPointSelection();

    // What is typed into a field but not yet taken becomes its own commit first, so that an
    // operation works on what the fields show and its step holds only what it did.
    void TakeTypedText();
    // Commits `edited` when `outcome` changed something; else says why nothing changed.
    bool Apply(const DeviceImage& edited, const EditOutcome& outcome, Tell tell = Tell::StatusBar,
               const LocalizedText* refusalHeading = nullptr);
    template <typename Operation>
    bool Run(Operation operation);
    void ShowStatus(const QString& text) const;
    void OnValueTyped(const QString& text);

    QMainWindow& window_;
    ParameterModel& model_;
    ParameterPages& pages_;
    Dialogs& dialogs_;
    HintStatus& hints_;
    const MapCursor& cursor_;
    std::unique_ptr<MapExchange> exchange_;

    MapSelection selection_;
    // The run in the current row, as a selection on a single row of ten points.
    MapSelection points_;
    Table table_ = Table::Map;
    QHash<const QObject*, CellRef> cells_;
    // The table a mouse drag started in, while the button is held.
    std::optional<Table> dragging_;
    // Set while this class moves the focus itself: that focus is no choice of the user's.
    bool movingFocus_ = false;
    // What the inline editor was opened for.
    bool askingPercent_ = false;
    // The last selection announced.
    std::optional<MapRect> announced_;

    QMenu* menu_ = nullptr;  // "MenuMap"
    QAction* setItem_ = nullptr;
    QAction* addItem_ = nullptr;
    QAction* subtractItem_ = nullptr;
    QAction* addFiveItem_ = nullptr;
    QAction* subtractFiveItem_ = nullptr;
    QAction* scaleItem_ = nullptr;
    QAction* interpolateRpmItem_ = nullptr;
    QAction* interpolateThrottleItem_ = nullptr;
    QAction* interpolateCornersItem_ = nullptr;
    QAction* smoothItem_ = nullptr;
    QAction* copyItem_ = nullptr;
    QAction* copyWithAxesItem_ = nullptr;
    QAction* pasteItem_ = nullptr;
    QAction* selectAllItem_ = nullptr;
    QAction* clearItem_ = nullptr;
    QAction* liveCellItem_ = nullptr;
    QAction* exportItem_ = nullptr;  // "MenuExportMapCsv", in the File menu
    QAction* importItem_ = nullptr;  // "MenuImportMapCsv", in the File menu
    InlineValueEditor* editor_ = nullptr;
};

}  // namespace korvan
