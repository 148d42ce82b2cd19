// The ride log in the window: recording the live monitor frames to a .msl file (F6, M for a
// marker, "REC" in the status bar), replaying a log through the same path as live frames
// (monitor column, map cursor, the advance tools) while the link asks the unit for nothing,
// the time-in-cell colours on the Advance Map page, and the map as curves. It owns the
// recorder, the replay and its panel, and the curve window, each made on first use; its menu
// items go into the Tools menu, its controls onto the Advance Map page.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

#include "device/map_cursor.h"

class QAction;
class QCheckBox;
class QFileDialog;
class QLabel;
class QPushButton;
class QWidget;

namespace korvan {

class CurveView;
class ParameterPages;
class ReplayController;
class ReplayPanel;
class RideRecorder;
class TFormHlav;

class RideLogController : public QObject {
    Q_OBJECT

  public:
    // What the controller asks of the window.
    struct Hooks {
        std::function<void(const QString& text)> showMessage;
        // Runs a file dialog, returns the chosen path or empty. Empty function: exec().
        std::function<QString(QFileDialog& dialog)> fileDialog;
        // The folder the first log is suggested in (the last parameter file's).
        std::function<QString()> lastFolder;
        // Prints a picture on one page the way the window prints itself.
        std::function<void(const QImage& picture)> printPicture;
    };

    RideLogController(TFormHlav& form, ParameterPages& pages, Hooks hooks);
    ~RideLogController() override;

    void SetLanguage(std::uint8_t language);
    // Each window tick, after the cursor: the recorder's flush, the status field, the curve
    // view's live cell.
    void Tick();
    // After every change of the image (commit, tool, undo, a file, a read).
    void ImageChanged();

    // F6: asks for a file and starts, or stops.
    void ToggleRecording();
    bool StartRecording(const QString& path);
    void StopRecording();
    bool IsRecording() const;
    void Mark();

    // Asks for a .msl file and replays it.
    void OpenReplay();
    bool StartReplay(const QString& path);
    void EndReplay();
    bool IsReplaying() const { return replaying_; }

    // The time-in-cell colours of the loaded log on the map.
    void SetHeatShown(bool shown);
    // Opens the curve window (made on first use) and prints its picture.
    void ShowCurves();
    void PrintCurves();

    // For the tests; null until first used.
    RideRecorder* Recorder() const { return recorder_; }
    ReplayController* Replay() const { return replay_; }
    ReplayPanel* Panel() const { return panel_; }
    CurveView* Curves() const { return curves_; }
    QWidget* CurveWindow() const { return curveWindow_; }
    QCheckBox* HeatBox() const { return heatBox_; }
    QPushButton* CurveButton() const { return curveButton_; }
    QLabel* StatusField() const { return status_; }
    QAction* RecordItem() const { return recordItem_; }
    QAction* ReplayItem() const { return replayItem_; }
    QAction* CurvesItem() const { return curvesItem_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void OnMonitorFrame(const std::uint8_t* frame);
    void OnReplayFrame(const QByteArray& frame);
    void OnRecordingFailed(const QString& message);
    QString AskFile(bool save, const QString& title, const QString& suggested);
    QString SuggestedFolder() const;
    void ShowRecordingState();
    void ShowHeat();
    void FitMapControls();

    TFormHlav& form_;
    ParameterPages& pages_;
    Hooks hooks_;
    std::uint8_t language_ = 1;
    QString lastFolder_;

    RideRecorder* recorder_ = nullptr;
    ReplayController* replay_ = nullptr;
    ReplayPanel* panel_ = nullptr;
    bool replaying_ = false;
    // Set while a replayed frame is handed to the link, so the recorder keeps only live ones.
    bool injecting_ = false;

    QWidget* curveWindow_ = nullptr;  // "CurveWindow"
    CurveView* curves_ = nullptr;
    QPushButton* printCurvesButton_ = nullptr;
    MapCursor shownCursor_;

    QAction* recordItem_ = nullptr;       // "MenuRecordRideLog"
    QAction* replayItem_ = nullptr;       // "MenuReplayRideLog"
    QAction* curvesItem_ = nullptr;       // "MenuMapCurves"
    QCheckBox* heatBox_ = nullptr;        // "CheckBoxHeatMap"
    QPushButton* curveButton_ = nullptr;  // "ButtonMapCurves"
    QLabel* status_ = nullptr;            // "LabelRideLog", a permanent status bar field
};

}  // namespace korvan
