// Never losing a tune: owns the restore points (stored after every Read, Program, Open and
// Save that succeeded), what the unit holds and its permanent status-bar field, the history
// window and the compare view (both made on first use), and the Tools items that reach them.
// The window hands it the ends of the link's operations, the files opened and saved, and
// every commit; it changes the window's image only through LoadIntoEditor.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "device/device_link.h"
#include "history/restore_store.h"
#include "history/unit_tracker.h"
#include "params/device_image.h"

class QAction;
class QFileDialog;
class QLabel;
class QMainWindow;
class QMenu;
class QPushButton;
class QWidget;

namespace korvan {

class CompareView;
class HistoryWindow;
class MonitorColumn;
class ProgressRow;
struct FormOptions;

class HistoryController : public QObject {
    Q_OBJECT

  public:
    // Adds the Tools items to `tools` and the unit field to the window's status bar.
    HistoryController(QMainWindow& window, DeviceImage& image, const std::uint8_t& languageIndex,
                      const FormOptions& options, DeviceLink& link, MonitorColumn& monitor,
                      ProgressRow& progress, QMenu* tools);
    ~HistoryController() override;

    // What the window does for it: take the controls into the (normalised) image; show a
    // changed image (normalised, programmed when asked); show a modal message.
    std::function<void()> takeControls;
    std::function<void()> applyChange;
    // Puts a whole parameter set into the editor as one undo step named after `name`; empty:
    // the set is taken and applyChange runs.
    std::function<void(const DeviceImage& image, bool extendedMonitor, const QString& name)>
        loadAsStep;
    std::function<void(const QString& text)> showMessage;

    // Where restore points are kept: $XDG_DATA_HOME/Korvan2/history.
    static QString HistoryFolder();

    // The window's hooks.
    void OperationFinished(const OperationEnd& end);
    void FileOpened(const QString& path);
    void FileSaved(const QString& path);
    // After every change of the image: the unit field counts the changes again.
    void UpdateUnitState();
    void SetLanguage(std::uint8_t language);

    // The Tools items and what the history window asks for.
    void ShowHistory();
    void CompareWithFile();
    void CompareWithUnit();
    void OpenPoint(const QString& fileName);
    void ComparePoint(const QString& fileName);
    void PrintComparison();

    // A parameter set replaces the editor's: the one place where a whole new set enters, and
    // so where its undo step is recorded. `name` says what it was ("restore point ...").
    void LoadIntoEditor(const DeviceImage& loaded, bool extendedMonitor, const QString& name);

    RestoreStore& Store() { return store_; }
    const UnitTracker& Tracker() const { return tracker_; }
    QLabel* UnitStateField() const { return unitState_; }
    HistoryWindow* History() const { return history_; }  // null until first shown
    CompareView* Compare() const { return compare_; }    // null until first shown
    QWidget* CompareWindow() const { return compareWindow_; }

    QAction* historyItem = nullptr;      // "MenuHistory"
    QAction* compareFileItem = nullptr;  // "MenuCompareFile"
    QAction* compareUnitItem = nullptr;  // "MenuCompareUnit"

  private:
    void StorePoint(RestoreKind kind, const IdentityTexts& unit, const QString& sourcePath);
    void ShowComparison(const DeviceImage& reference, const QString& referenceName);
    bool LoadPoint(const QString& fileName, LoadedPoint& loaded);
    QString Tr(const LocalizedText& text) const;

    QMainWindow& window_;
    DeviceImage& image_;
    const std::uint8_t& languageIndex_;
    const FormOptions& options_;
    DeviceLink& link_;
    MonitorColumn& monitor_;
    ProgressRow& progress_;

    RestoreStore store_;
    UnitTracker tracker_;
    bool storeProblemShown_ = false;  // said once until a point is stored again
    DeviceImage unitCopy_{};          // what "Compare with unit" reads into
    bool comparingUnit_ = false;

    QLabel* unitState_ = nullptr;  // "LabelUnitState"
    HistoryWindow* history_ = nullptr;
    QWidget* compareWindow_ = nullptr;  // "CompareWindow": the view and its Print button
    CompareView* compare_ = nullptr;
    QPushButton* printButton_ = nullptr;    // "ButtonComparePrint"
    QFileDialog* compareDialog_ = nullptr;  // "CompareDialog"
};

}  // namespace korvan
