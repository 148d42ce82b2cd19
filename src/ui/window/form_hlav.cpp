// Construction and wiring, start-up, shutdown, the tick and the start commands of the main
// window.
#include "ui/window/form_hlav.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "ui/window/command_line.h"
#include "device/monitor.h"
#include "params/binding.h"
#include "params/defaults.h"
#include "ui/languages/qt_translations.h"
#include "ui/window/caption_fit.h"
#include "ui/window/file_commands.h"
#include "ui/window/hint_status.h"
#include "ui/window/history_controller.h"
#include "ui/window/link_view.h"
#include "ui/window/main_menu.h"
#include "ui/window/monitor_column.h"
#include "ui/window/numeric_edit.h"
#include "ui/window/parameter_pages.h"
#include "ui/window/parameter_undo.h"
#include "ui/window/port_controller.h"
#include "ui/window/progress_row.h"
#include "ui/window/ride_log_controller.h"
#include "ui/window/tool_bar.h"
#include "ui/window/widget_factory.h"

namespace korvan {

namespace {

constexpr int kStatusBarHeight = 19;

}  // namespace

TFormHlav::TFormHlav(SerialPort& port, FormOptions options, QWidget* parent)
    : QMainWindow(parent),
      port_(port),
      options_(std::move(options)),
      store_(SettingsFilePath().toStdString()) {
    BuildWindow();
    Wire();

    timer1_ = new QTimer(this);
    timer1_->setObjectName("Timer1");
    timer1_->setInterval(kTickMs);
    // The coarse timer wanders by several milliseconds; the link counts time in ticks.
    timer1_->setTimerType(Qt::PreciseTimer);
    connect(timer1_, &QTimer::timeout, this, &TFormHlav::Timer1Timer);

    FormCreate();
    timer1_->start();
}

TFormHlav::~TFormHlav() {
    // A focused field reports leaving while the window is torn down; nothing may commit then.
    pages_->SetCommitsEnabled(false);
    timer1_->stop();
    for (NumericEdit* edit : pages_->Edits()) edit->disconnect(pages_.get());
}

void TFormHlav::BuildWindow() {
    setObjectName("FormHlav");
    setFont(WindowFont());
    // The design title; the language table replaces it before the window is shown.
    setWindowTitle("Programming of Korvan15 Ignition Unit");
    resize(kWindowWidth, kWindowHeight);

    // Controls sit at fixed pixel positions in the client area (the part between the menu
    // bar and the status bar), as tuners know the window; only the status bar follows the
    // bottom edge.
    auto* client = new QWidget(this);
    setCentralWidget(client);

    hints_ = std::make_unique<HintStatus>(*this);
    toolBar_ = std::make_unique<ToolBar>(client);
    progress_ = std::make_unique<ProgressRow>(client, font(), languageIndex_);
    monitor_ = std::make_unique<MonitorColumn>(client, font());
    linkView_ = std::make_unique<LinkView>(*progress_);
    link_ = std::make_unique<DeviceLink>(image_, port_, *linkView_);
    pages_ = std::make_unique<ParameterPages>(client, image_, *link_, cursor_);
    progress_->AddFileLabel(pages_->MiscPage());
    files_ = std::make_unique<FileCommands>(*this, image_, languageIndex_, options_, *link_,
                                            *progress_, *monitor_);

    auto* status = new QStatusBar(this);
    status->setObjectName("StatusBar1");
    status->setSizeGripEnabled(false);
    status->setFixedHeight(kStatusBarHeight);
    setStatusBar(status);

    menu_ = std::make_unique<MainMenu>(*this);
    PortController::Hooks portHooks;
    portHooks.showMessage = [this](const QString& text) { ShowMessageBox(text); };
    portHooks.runDialog = options_.portDialog;
    portHooks.prepareStore = [] { QDir().mkpath(SettingsFolder()); };
    ports_ = std::make_unique<PortController>(*this, *menu_->comMenu, *status, *link_, port_,
                                              store_, options_.portLister,
                                              options_.stableNameFolder, std::move(portHooks));
    qtTexts_ = std::make_unique<QtTranslations>();
    undo_ = std::make_unique<ParameterUndo>(*menuBar(), image_, languageIndex_);
    history_ = std::make_unique<HistoryController>(*this, image_, languageIndex_, options_, *link_,
                                                   *monitor_, *progress_, menu_->toolsMenu);
    // Hints that no language table touches: they read the same in every language.
    hints_->SetHint("BitBtnServoMinus", "Take off 20 mV");
    hints_->SetHint("BitBtnServoPlus", "Add 20 mV");
    hints_->SetHint("AdvanceMinus", "Curve A minus|Take off 1 degree of curve A");
    hints_->SetHint("AdvancePlus", "Curve A plus|Add 1 degree of curve A");

    // NumericFields() lists the fields page by page in Tab order. Tab and Enter skip the
    // fields that are not visible, so they move only within the page shown.
    QWidget* previous = nullptr;
    for (NumericEdit* edit : pages_->Edits()) {
        if (previous != nullptr) setTabOrder(previous, edit);
        previous = edit;
    }
    FitCaptionsToLanguages(this);
}

void TFormHlav::Wire() {
    // The start commands.
    connect(menu_->newItem, &QAction::triggered, this, &TFormHlav::MenuNewClick);
    connect(toolBar_->newButton, &QToolButton::clicked, this, &TFormHlav::MenuNewClick);
    connect(menu_->exitItem, &QAction::triggered, this, &TFormHlav::MenuExitClick);
    connect(menu_->readItem, &QAction::triggered, this, &TFormHlav::MenuReadClick);
    connect(toolBar_->readButton, &QPushButton::clicked, this, &TFormHlav::MenuReadClick);
    connect(menu_->verifyItem, &QAction::triggered, this, &TFormHlav::MenuVerifyClick);
    connect(toolBar_->verifyButton, &QPushButton::clicked, this, &TFormHlav::MenuVerifyClick);
    connect(menu_->programItem, &QAction::triggered, this, &TFormHlav::MenuProgramClick);
    connect(toolBar_->programButton, &QPushButton::clicked, this, &TFormHlav::MenuProgramClick);
    for (QAction* item : menu_->comItems) {
        connect(item, &QAction::triggered, this, [this, item] { MenuCom1Click(item); });
    }
    connect(ports_->SerialPortItem(), &QAction::triggered, this, &TFormHlav::MenuSerialPortClick);
    connect(menu_->englishItem, &QAction::triggered, this,
            [this] { ApplyLanguage(kLanguageEnglish); });
    connect(menu_->czechItem, &QAction::triggered, this, [this] { ApplyLanguage(kLanguageCzech); });
    connect(menu_->germanItem, &QAction::triggered, this,
            [this] { ApplyLanguage(kLanguageGerman); });

    // The pages: a commit, and what the monitor column shows along with them.
    ParameterPages* pages = pages_.get();
    connect(pages, &ParameterPages::Committed, this, &TFormHlav::ApplyChange);
    connect(pages, &ParameterPages::NormalizeRequested, this, &TFormHlav::NormalizeImage);
    connect(pages, &ParameterPages::FocusNextRequested, this, [this] { focusNextChild(); });
    connect(pages, &ParameterPages::TpsAxisShown, monitor_.get(), &MonitorColumn::ShowTpsReadout);
    connect(pages, &ParameterPages::ServoShown, monitor_.get(), &MonitorColumn::ShowServoReadouts);
    connect(pages, &ParameterPages::N2oShown, monitor_.get(), &MonitorColumn::ShowN2oReadout);
    connect(menu_->advanceMinusItem, &QAction::triggered, pages,
            &ParameterPages::BitBtnAdvMinusClick);
    connect(menu_->advancePlusItem, &QAction::triggered, pages,
            &ParameterPages::BitBtnAdvPlusClick);

    // Undo and redo: every change to the parameters is one step.
    WireUndo();

    // The desk commands. The menu's Print prints the same way as the tool button.
    FileCommands* files = files_.get();
    files->takeControls = [this] { TakeControls(); };
    files->applyChange = [this] { ApplyChange(); };
    files->showMessage = [this](const QString& text) { ShowMessageBox(text); };
    connect(menu_->openItem, &QAction::triggered, files, &FileCommands::MenuOpenClick);
    connect(toolBar_->openButton, &QToolButton::clicked, files, &FileCommands::MenuOpenClick);
    connect(menu_->saveItem, &QAction::triggered, files, &FileCommands::MenuSaveClick);
    connect(toolBar_->saveButton, &QToolButton::clicked, files, &FileCommands::MenuSaveClick);
    connect(menu_->printItem, &QAction::triggered, files, &FileCommands::SpeedButtonPrintClick);
    connect(toolBar_->printButton, &QToolButton::clicked, files,
            &FileCommands::SpeedButtonPrintClick);
    connect(menu_->contentsItem, &QAction::triggered, files, &FileCommands::MenuContensClick);
    connect(menu_->aboutItem, &QAction::triggered, files, &FileCommands::MenuAboutClick);

    // What the link shows. Handlers of further monitor-frame readers are added after this one.
    linkView_->modalMessage = [this](const LocalizedText& text) {
        ShowMessageBox(QString::fromUtf8(text.In(languageIndex_)));
    };
    linkView_->receivedImage = [this] {
        NormalizeImage();
        pages_->ImageToControls();
        undo_->RecordStep({step::kRead, {}});
        if (rideLog_) rideLog_->ImageChanged();
    };
    linkView_->identity = [this](const IdentityTexts& texts) { pages_->ShowIdentity(texts); };
    linkView_->OnMonitorFrame([this](const std::uint8_t* frame) { ShowMonitorFrame(frame); });
    linkView_->noConnection = [this](bool shown) {
        // A replay shows logged values while the unit is deliberately not asked.
        if (shown && !link_->MonitorPaused()) monitor_->ShowNoData();
    };

    // The ride log: recording, replay, time-in-cell colours and the map as curves.
    RideLogController::Hooks rideLogHooks;
    rideLogHooks.showMessage = [this](const QString& text) { ShowMessageBox(text); };
    rideLogHooks.fileDialog = options_.fileDialog;
    rideLogHooks.lastFolder = [this] {
        const QString last = files_->LastFilePath();
        return last.isEmpty() ? QString() : QFileInfo(last).absolutePath();
    };
    rideLogHooks.printPicture = [this](const QImage& picture) { files_->PrintPicture(picture); };
    rideLog_ = std::make_unique<RideLogController>(*this, *pages_, std::move(rideLogHooks));
}

void TFormHlav::WireUndo() {
    ParameterUndo* undo = undo_.get();
    undo->applyChange = [this] { ApplyChange(); };
    undo->extendedMonitor = [this] { return monitor_->Extended(); };
    undo->setExtendedMonitor = [this](bool extended) { monitor_->SetExtended(extended); };
    // After ApplyChange, connected before: the step holds the normalised image.
    connect(pages_.get(), &ParameterPages::Committed, undo, [this] {
        using Kind = ParameterPages::CommitKind;
        const LocalizedText* name = &step::kEdit;
        switch (pages_->LastCommitKind()) {
            case Kind::Edit:
                break;
            case Kind::AdvanceMinus:
                name = &step::kAdvanceMinus;
                break;
            case Kind::AdvancePlus:
                name = &step::kAdvancePlus;
                break;
            case Kind::ColumnMinus:
                name = &step::kColumnMinus;
                break;
            case Kind::ColumnPlus:
                name = &step::kColumnPlus;
                break;
            case Kind::ServoMinus:
                name = &step::kServoMinus;
                break;
            case Kind::ServoPlus:
                name = &step::kServoPlus;
                break;
            case Kind::Tps0:
                name = &step::kTps0;
                break;
            case Kind::Tps100:
                name = &step::kTps100;
                break;
        }
        undo_->RecordStep({*name, {}});
    });
    connect(pages_.get(), &ParameterPages::BikeTypeChosen, undo, [this] {
        undo_->RecordStep({step::kBikeType, {}});
    });

    // Restore points, what the unit holds, the history window and the compares. An opened
    // file is one undo step and one restore point.
    HistoryController* history = history_.get();
    history->takeControls = [this] { TakeControls(); };
    history->applyChange = [this] { ApplyChange(); };
    history->loadAsStep = [this](const DeviceImage& image, bool extendedMonitor,
                                 const QString& name) {
        undo_->ApplyAsStep({step::kOpen, name}, image, extendedMonitor);
    };
    history->showMessage = [this](const QString& text) { ShowMessageBox(text); };
    linkView_->operationFinished = [history](const OperationEnd& end) {
        history->OperationFinished(end);
    };
    files_->opened = [this, history](const QString& path) {
        undo_->RecordStep({step::kOpen, QFileInfo(path).fileName()});
        history->FileOpened(path);
    };
    files_->saved = [history](const QString& path) { history->FileSaved(path); };
}

void TFormHlav::FormCreate() {
    image_[field::BikeType] = 0;
    comPortNumber_ = 1;
    SetDefaults(image_);
    CentreOnScreen();
    LoadSettings();

    const WindowArguments arguments = SplitWindowArguments(options_.arguments);
    if (arguments.language) languageIndex_ = *arguments.language;

    NormalizeImage();
    pages_->ImageToControls();
    // A box at start-up already speaks the chosen language, Qt's buttons included.
    qtTexts_->SetLanguage(languageIndex_);
    OpenComPort();
    menu_->CheckComItem(comPortNumber_);
    ApplyLanguage(languageIndex_);
    progress_->SetMessageVisible(false);
    progress_->SetGaugeVisible(false);
    pages_->SetCommitsEnabled(true);
    undo_->Reset();
    // A file named on the command line (a double click on it in the desktop) opens as
    // File > Open would open it, once the window is complete.
    if (!arguments.file.isEmpty()) files_->OpenFile(arguments.file);
}

void TFormHlav::CentreOnScreen() {
    const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (s == nullptr) return;
    const QRect area = s->geometry();
    const QSize size = frameGeometry().size();
    // On a screen smaller than the window the title bar must stay reachable.
    move(area.x() + std::max(0, (area.width() - size.width()) / 2),
         area.y() + std::max(0, (area.height() - size.height()) / 2));
}

void TFormHlav::FormClose() {
    ports_->Close();
    pages_->ControlsToImage();
    NormalizeImage();
    SaveSettings();
}

void TFormHlav::closeEvent(QCloseEvent* event) {
    FormClose();
    pages_->SetCommitsEnabled(false);
    event->accept();
}

void TFormHlav::ShowMessageBox(const QString& text) {
    if (options_.messageBox) {
        options_.messageBox(text);
        return;
    }
    // A modal box runs its own event loop, but a timer does not fire again while its own
    // timeout slot is still running: a box opened inside the tick would stop the tick (no
    // monitor requests, no "No Connection" count) until it is closed. A box asked for by the
    // tick therefore opens once the slot has returned. Anywhere else it opens at once, so a
    // box from the exit save is still seen before the program ends.
    if (!inTick_) {
        QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                        this);
        box.exec();
        return;
    }
    QPointer<TFormHlav> self(this);
    QTimer::singleShot(0, this, [self, text] {
        if (self.isNull()) return;
        QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                        self.data());
        box.exec();
    });
}

QString TFormHlav::HintOf(const QString& objectName) const {
    return hints_->HintOf(objectName);
}

void TFormHlav::NormalizeImage() {
    korvan::NormalizeImage(image_, languageIndex_, comPortNumber_);
}

void TFormHlav::TakeControls() {
    pages_->ControlsToImage();
    NormalizeImage();
    pages_->ImageToControls();
    history_->UpdateUnitState();
}

void TFormHlav::ApplyChange() {
    NormalizeImage();
    pages_->ImageToControls();
    link_->CheckProgramOnChange(pages_->ProgramAfterChange());
    if (rideLog_) rideLog_->ImageChanged();
    history_->UpdateUnitState();
}

void TFormHlav::Timer1Timer() {
    inTick_ = true;
    ports_->Tick();
    link_->Tick();
    ports_->ShowState(comPortNumber_);
    cursor_ = link_->LiveValid() ? ComputeMapCursor(image_, link_->Live(), pages_->TpsAxis())
                                 : ClearedMapCursor();
    pages_->ShowCursor(cursor_);
    rideLog_->Tick();
    inTick_ = false;
}

void TFormHlav::ShowMonitorFrame(const std::uint8_t* frame) {
    MonitorInputs inputs;
    inputs.limiter2 = image_[field::Limiter2];
    inputs.extendedMonitor = monitor_->Extended();
    inputs.gasChecked = pages_->GasChecked();
    inputs.servoGroupVisible = pages_->ServoGroupShown();
    monitor_->Show(BuildMonitorReadout(frame, inputs));
}

void TFormHlav::MenuNewClick() {
    SetDefaults(image_);
    ApplyChange();
    progress_->SetFileName(QString());
    undo_->RecordStep({step::kNew, {}});
}

void TFormHlav::MenuReadClick() {
    progress_->SetFileName(QString());
    link_->StartRead();
}

void TFormHlav::MenuVerifyClick() {
    TakeControls();
    link_->StartVerify();
}

void TFormHlav::MenuProgramClick() {
    TakeControls();
    link_->StartProgram();
}

void TFormHlav::MenuExitClick() {
    close();
}

}  // namespace korvan
