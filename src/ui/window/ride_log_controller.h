// The ride log in the window: recording the live monitor frames to a .msl, .mlg or .csv file
// (F6, M or Shift+M for a marker, "REC" in the status bar, a box at the end that says where
// the file is and offers the next step), replaying a log through the same path as live frames
// (monitor column, map cursor, the advance tools) while the link asks the unit for nothing,
// the time-in-cell colours on the Advance Map page, and the map as curves. It owns the
// recorder, the replay and its panel, and the curve window, each made on first use; its menu
// items go into the Tools menu, its controls onto the Advance Map page. It follows the model's
// changes, the link's frames and the cursor of each tick itself.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>

#include "device/map_cursor.h"
#include "log/ride_log_reader.h"
#include "params/device_image.h"

class QAction;
class QCheckBox;
class QLabel;
class QMainWindow;
class QPushButton;
class QWidget;

namespace korvan {

class CurveView;
class DeviceLink;
class Dialogs;
class FileCommands;
class LinkView;
class MainMenu;
class ParameterModel;
class ParameterPages;
class ReplayController;
class ReplayPanel;
class RideRecorder;

class RideLogController : public QObject {
    Q_OBJECT

  public:
    // The first log is suggested in the folder of the last parameter file of `files`.
    RideLogController(QMainWindow& window, ParameterModel& model, DeviceLink& link, LinkView& view,
                      MainMenu& menu, Dialogs& dialogs, ParameterPages& pages,
                      const FileCommands& files);
    ~RideLogController() override;

    void ApplyLanguage();
    // Each window tick, after the cursor: the recorder's flush, the status field, the curve
    // view's live cell.
    void Tick(const MapCursor& cursor);
    // After every change of the image (commit, tool, undo, a file, a read).
    void ImageChanged();

    // F6: asks for a file and starts, or stops.
    void ToggleRecording();
    bool StartRecording(const QString& path);
    // Stops, then says where the file is, with its rows and markers, and offers to open its
    // folder, replay it or analyse it.
    void StopRecording();
    bool IsRecording() const;
    // A marker in the log, shown briefly in the status bar ("Marker 3").
    void Mark();
    // The file of the last recording that ended well; empty before one.
    QString LastRecording() const { return lastRecording_; }

    // Asks for a .msl file and replays it.
    void OpenReplay();
    bool StartReplay(const QString& path);
    void EndReplay();
    bool IsReplaying() const { return replaying_; }
    // The log the replay holds, null without one; its file.
    const RideLogReadResult* ReplayLog() const;
    QString ReplayPath() const;
    // The time of the row the replay shows, in the log's seconds.
    double ReplaySeconds() const;

    // The time-in-cell colours of the loaded log on the map.
    void SetHeatShown(bool shown);
    // Opens the curve window (made on first use) and prints its picture.
    void ShowCurves();
    void PrintCurves();
    // The tune compared with this one, dashed beside the curves; nothing ends the comparison.
    void SetCompare(const std::optional<korvan::DeviceImage>& other, const QString& name);

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

  signals:
    // A replay began or ended: the link asks the unit for nothing meanwhile.
    void ReplayRunning(bool running);
    // The replay shows another row (the slider, a step, playing).
    void ReplayMoved(double seconds);
    // The user asked for the ride analysis of this log.
    void AnalysisWanted(const QString& path);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void OnMonitorFrame(const std::uint8_t* frame);
    // A point of the curve window dragged or stepped: the byte into the image, one commit.
    void OnPointEdited(int imageIndex, int value);
    void OnReplayFrame(const QByteArray& frame);
    void OnRecordingFailed(const QString& message);
    void OnMarkPassed(int mark);
    void ShowBriefly(const QString& text);
    QString AskFile(bool save, const QString& title, const QString& suggested);
    std::uint8_t Language() const;
    QString SuggestedFolder() const;
    void ShowRecordingState();
    void ShowHeat();
    void FitMapControls();

    QMainWindow& window_;
    ParameterModel& model_;
    DeviceLink& link_;
    Dialogs& dialogs_;
    ParameterPages& pages_;
    const FileCommands& files_;
    QString lastFolder_;
    QString lastRecording_;

    RideRecorder* recorder_ = nullptr;
    ReplayController* replay_ = nullptr;
    ReplayPanel* panel_ = nullptr;
    bool replaying_ = false;
    // Set while a replayed frame is handed to the link, so the recorder keeps only live ones.
    bool injecting_ = false;

    QWidget* curveWindow_ = nullptr;  // "CurveWindow"
    CurveView* curves_ = nullptr;
    QPushButton* printCurvesButton_ = nullptr;
    std::optional<DeviceImage> compare_;
    QString compareName_;
    MapCursor cursor_;  // the last tick's
    MapCursor shownCursor_;

    QAction* recordItem_ = nullptr;       // "MenuRecordRideLog"
    QAction* replayItem_ = nullptr;       // "MenuReplayRideLog"
    QAction* curvesItem_ = nullptr;       // "MenuMapCurves"
    QCheckBox* heatBox_ = nullptr;        // "CheckBoxHeatMap"
    QPushButton* curveButton_ = nullptr;  // "ButtonMapCurves"
    QLabel* status_ = nullptr;            // "LabelRideLog", a permanent status bar field
};

}  // namespace korvan
