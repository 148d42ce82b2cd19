// Never losing a tune: owns the restore points (stored after every Read, Program, Open and
// Save that succeeded), what the unit holds and its permanent status-bar field, the history
// window and the compare view (both made on first use), and the Tools items that reach them.
// It follows the ends of the link's operations and every change of the model itself; the
// window hands it the files opened and saved. It changes the image only through
// LoadIntoEditor.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

#include "device/device_link.h"
#include "history/restore_store.h"
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
class Dialogs;
class HistoryWindow;
class LinkView;
class ParameterModel;
class ProgressRow;

class HistoryController : public QObject {
    Q_OBJECT

  public:
    // Adds the Tools items to `tools` and the unit field to the window's status bar.
    HistoryController(QMainWindow& window, ParameterModel& model, DeviceLink& link, LinkView& view,
                      Dialogs& dialogs, ProgressRow& progress, QMenu* tools);
    ~HistoryController() override;

    // Where restore points are kept: $XDG_DATA_HOME/Korvan2/history.
    static QString HistoryFolder();

    void OperationFinished(const OperationEnd& end);
    void FileOpened(const QString& path);
    void FileSaved(const QString& path);
    // After every change of the image: the unit field counts the changes again.
    void UpdateUnitState();
    void ApplyLanguage();

    // The Tools items and what the history window asks for.
    void ShowHistory();
    void CompareWithFile();
    void CompareWithUnit();
    void OpenPoint(const QString& fileName);
    void ComparePoint(const QString& fileName);
    void PrintComparison();

    // A restore point replaces the editor's set, as one undo step named after its file.
    void LoadIntoEditor(const DeviceImage& loaded, bool extendedMonitor, const QString& fileName);

    RestoreStore& Store() { return store_; }
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
    ParameterModel& model_;
    DeviceLink& link_;
    Dialogs& dialogs_;
    ProgressRow& progress_;

    RestoreStore store_;
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
