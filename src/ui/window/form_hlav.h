// The program's one window. It keeps the 55 ms tick, start-up and shutdown, the settings and
// state file, the start commands (new, read, verify, program, exit) and the language table,
// and builds and wires its collaborators, each of which owns its widgets and state and
// connects itself to the model and the link view:
//   ParameterModel      the image, "Extended Monitor", what the unit holds, the language
//   LinkView            what the device link shows, as signals
//   Dialogs             message boxes, file dialogs, printer (the seams of FormOptions)
//   MainMenu, ToolBar   the menu bar and the tool bar (items only)
//   ProgressRow         message label, progress gauge, "No Connection", file name
//   MonitorColumn       the live read-outs
//   ParameterPages      the four pages and their binding to the image
//   ParameterUndo       undo and redo of every commit
//   FileCommands        open, save, print, manual, about
//   PortController      the serial line, the Com menu and the port dialog
//   HistoryController   restore points, what the unit holds, the compares
//   RideLogController   ride log recording, replay, time in cell, the curves
//   SurfaceWindowController  the map in 3D, its comparisons and its view angle
//   AnalysisController  the ride analysis window (a child of RideLogController)
//   HintStatus          hints, tooltips and the status bar
//   MapTools            the selection on the map and its rows, the Map menu and its keys,
//                       the clipboard and the map as a .csv file
//   KeepAdvanceOption   the map resampled when its RPM points move, while the option is on
// The rules are in the layers below (params for the fields and their limits, device for the
// link, files for the settings).
#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <memory>

#include "device/device_link.h"
#include "device/map_cursor.h"
#include "device/serial_port.h"
#include "files/ini_store.h"
#include "ui/window/form_options.h"
#include "ui/window/parameter_model.h"

class QTimer;

namespace korvan {

class Dialogs;
class FileCommands;
class HistoryController;
class HintStatus;
class KeepAdvanceOption;
class LinkView;
class MainMenu;
class MapTools;
class MonitorColumn;
class ParameterPages;
class ParameterUndo;
class PortController;
class ProgressRow;
class QtTranslations;
class RideLogController;
class SurfaceWindowController;
class ToolBar;

class TFormHlav : public QMainWindow {
    Q_OBJECT

  public:
    static constexpr int kTickMs = 55;
    static constexpr int kWindowWidth = 973;
    static constexpr int kWindowHeight = 611;

    // The window is built and FormCreate has run when the constructor returns; the tick
    // timer is running. The port belongs to the caller and must outlive the window.
    TFormHlav(SerialPort& port, FormOptions options, QWidget* parent = nullptr);
    ~TFormHlav() override;

    // Where the settings file and the state file live.
    static QString SettingsFolder();
    static QString SettingsFilePath();
    static QString StateFilePath();

    ParameterModel& Model() { return *model_; }
    const DeviceImage& Image() const { return model_->Image(); }
    DeviceLink& Link() { return *link_; }
    std::uint8_t LanguageIndex() const { return model_->Language(); }
    const MapCursor& Cursor() const { return cursor_; }
    QTimer* Timer1() const { return timer1_; }
    // The short and long hint of a control or menu item ("short|long").
    QString HintOf(const QString& objectName) const;

    // The collaborators, for the tests.
    ParameterUndo& Undo() { return *undo_; }
    RideLogController& RideLog() { return *rideLog_; }
    HistoryController& History() { return *history_; }
    MapTools& Maps() { return *mapTools_; }
    KeepAdvanceOption& KeepAdvance() { return *keepAdvance_; }
    SurfaceWindowController& Surface() { return *surface_; }

    // The tick: the reconnect policy, the link's poll, operation step, message countdown and
    // "No Connection" counter, then the port field and the map cursor.
    void OnTick();
    void ApplyLanguage(std::uint8_t languageIndex);

    void OnNewChosen();
    void OnReadChosen();
    void OnVerifyChosen();
    void OnProgramChosen();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // Start-up and shutdown (form_hlav.cpp).
    void BuildWindow();
    void BuildCollaborators(QWidget* client);
    void Wire();
    void FormCreate();
    void FormClose();
    void CentreOnScreen();
    // After every commit: program the unit when "Programming after change" asks for it.
    void OnParametersChanged(const ModelChange& change);

    // Settings and the state file (form_settings.cpp). Returns the language saved, as it is.
    std::uint8_t LoadSettings();
    void LoadStateFile();
    void SaveSettings();

    SerialPort& port_;
    IniStore store_;
    MapCursor cursor_;

    // Declared so that each is destroyed before what it refers to.
    std::unique_ptr<ParameterModel> model_;
    std::unique_ptr<Dialogs> dialogs_;
    std::unique_ptr<HintStatus> hints_;
    std::unique_ptr<MainMenu> menu_;
    std::unique_ptr<ToolBar> toolBar_;
    std::unique_ptr<LinkView> linkView_;
    std::unique_ptr<DeviceLink> link_;
    std::unique_ptr<ProgressRow> progress_;
    std::unique_ptr<MonitorColumn> monitor_;
    std::unique_ptr<ParameterPages> pages_;
    std::unique_ptr<FileCommands> files_;
    std::unique_ptr<PortController> ports_;
    std::unique_ptr<QtTranslations> qtTexts_;
    std::unique_ptr<ParameterUndo> undo_;
    std::unique_ptr<HistoryController> history_;
    std::unique_ptr<RideLogController> rideLog_;
    std::unique_ptr<MapTools> mapTools_;
    std::unique_ptr<KeepAdvanceOption> keepAdvance_;
    std::unique_ptr<SurfaceWindowController> surface_;
    QTimer* timer1_ = nullptr;
};

}  // namespace korvan
