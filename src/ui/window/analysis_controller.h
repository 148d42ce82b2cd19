// The ride analysis in the main window: the Tools menu's "Ride analysis..." item and the
// AnalysisWindow behind it (made on first use), fed with the log chosen (a file read off the
// window's thread, the replay's log, the last recording), the tune in the window (its axes
// follow every change) and the replay's position. It runs the window's file dialogs, its
// export (.mlg, .csv, .msl, written atomically) and the printing of the summary.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

#include "ui/analysis/log_loader.h"

class QAction;
class QFileDialog;
class QMainWindow;

namespace korvan {

class AnalysisWindow;
class Dialogs;
class MainMenu;
class ParameterModel;
class RideLogController;

class AnalysisController : public QObject {
    Q_OBJECT
  public:
    // A child of `rideLog`, whose logs it analyses: it goes when the ride log goes.
    AnalysisController(QMainWindow& window, ParameterModel& model, MainMenu& menu, Dialogs& dialogs,
                       RideLogController& rideLog);
    ~AnalysisController() override;

    // The menu item: the window with its log; without one yet, the replay's log, else the
    // last recording, else a file the user chooses.
    void Show();
    // The window on this file (read off the window's thread).
    void AnalyseFile(const QString& path);
    void AnalyseReplay();
    void AnalyseLastRecording();
    void OpenLog();
    void OpenSecondLog();
    void Export();
    void PrintSummary();

    // For the tests; null until first used.
    AnalysisWindow* Window() const { return window_; }
    QAction* MenuItem() const { return item_; }
    LogLoader& Loader() { return loader_; }
    LogLoader& SecondLoader() { return secondLoader_; }

  private:
    AnalysisWindow& MakeWindow();
    void ApplyLanguage();
    void OnLoaded(const QString& path, const SharedLog& log, bool second);
    void ShowReplayPosition();
    QString AskFile(QFileDialog& dialog);
    QString Folder() const;
    std::uint8_t Language() const;

    QMainWindow& main_;
    ParameterModel& model_;
    Dialogs& dialogs_;
    RideLogController& rideLog_;
    QAction* item_;  // "MenuRideAnalysis"
    AnalysisWindow* window_ = nullptr;
    LogLoader loader_;
    LogLoader secondLoader_;
    QString lastFolder_;
};

}  // namespace korvan
