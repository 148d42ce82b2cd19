// Construction and wiring, start-up, shutdown, the tick and the start commands of the main
// window.
#include "ui/window/form_hlav.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "params/binding.h"
#include "params/defaults.h"
#include "ui/languages/qt_translations.h"
#include "ui/window/analysis_controller.h"
#include "ui/window/caption_fit.h"
#include "ui/window/command_line.h"
#include "ui/window/dialogs.h"
#include "ui/window/failure_help.h"
#include "ui/window/file_commands.h"
#include "ui/window/hint_status.h"
#include "ui/window/history_controller.h"
#include "ui/window/keep_advance_option.h"
#include "ui/window/link_view.h"
#include "ui/window/main_menu.h"
#include "ui/window/map_tools.h"
#include "ui/window/monitor_column.h"
#include "ui/window/numeric_edit.h"
#include "ui/window/page_tools.h"
#include "ui/window/parameter_pages.h"
#include "ui/window/parameter_undo.h"
#include "ui/window/port_controller.h"
#include "ui/window/print_commands.h"
#include "ui/window/progress_row.h"
#include "ui/window/range_feedback.h"
#include "ui/window/ride_log_controller.h"
#include "ui/window/surface_window_controller.h"
#include "ui/window/tool_bar.h"
#include "ui/window/widget_factory.h"

namespace korvan {

namespace {

constexpr int kStatusBarHeight = 19;

}  // namespace

TFormHlav::TFormHlav(SerialPort& port, FormOptions options, QWidget* parent)
    : QMainWindow(parent),
      port_(port),
      store_(SettingsFilePath().toStdString()),
      model_(std::make_unique<ParameterModel>()) {
    dialogs_ = std::make_unique<Dialogs>(*this, *model_, std::move(options));
    BuildWindow();
    Wire();

    timer1_ = new QTimer(this);
    timer1_->setObjectName("Timer1");
    timer1_->setInterval(kTickMs);
    // The coarse timer wanders by several milliseconds; the link counts time in ticks.
    timer1_->setTimerType(Qt::PreciseTimer);
    connect(timer1_, &QTimer::timeout, this, &TFormHlav::OnTick);

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
    auto* status = new QStatusBar(this);
    status->setObjectName("StatusBar1");
    status->setSizeGripEnabled(false);
    status->setFixedHeight(kStatusBarHeight);
    setStatusBar(status);
    BuildCollaborators(client);

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

void TFormHlav::BuildCollaborators(QWidget* client) {
    ParameterModel& model = *model_;
    hints_ = std::make_unique<HintStatus>(*this);
    menu_ = std::make_unique<MainMenu>(*this);
    toolBar_ = std::make_unique<ToolBar>(client);
    linkView_ = std::make_unique<LinkView>();
    link_ = std::make_unique<DeviceLink>(model.MutableImage(), port_, *linkView_);
    progress_ = std::make_unique<ProgressRow>(client, font(), model, *linkView_);
    monitor_ = std::make_unique<MonitorColumn>(client, font(), model, *linkView_, *link_);
    pages_ = std::make_unique<ParameterPages>(client, model, cursor_, *linkView_);
    new PageTools(*pages_, model, *link_, cursor_, *menu_);
    new RangeFeedback(pages_->Edits(), *statusBar(), model, this);
    progress_->AddFileLabel(pages_->MiscPage());
    files_ = std::make_unique<FileCommands>(*this, model, *dialogs_, *link_, *progress_, *menu_,
                                            *statusBar());
    new PrintCommands(*this, model, *dialogs_, *link_, *progress_, *menu_, *toolBar_, this);
    ports_ = std::make_unique<PortController>(*this, *menu_, *statusBar(), *link_, port_, store_,
                                              *dialogs_, model);
    qtTexts_ = std::make_unique<QtTranslations>();
    undo_ = std::make_unique<ParameterUndo>(*menuBar(), model);
    history_ = std::make_unique<HistoryController>(*this, model, *link_, *linkView_, *dialogs_,
                                                   *progress_, menu_->toolsMenu);
    rideLog_ = std::make_unique<RideLogController>(*this, model, *link_, *linkView_, *menu_,
                                                   *dialogs_, *pages_, *files_);
    mapTools_ = std::make_unique<MapTools>(*this, model, *pages_, *menu_, *dialogs_, *hints_,
                                           cursor_, *files_);
    keepAdvance_ = std::make_unique<KeepAdvanceOption>(pages_->MapGroup(), model, *hints_);
    surface_ = std::make_unique<SurfaceWindowController>(*this, model, *link_, *linkView_, *menu_,
                                                         *dialogs_, history_->Store());
    new AnalysisController(*this, model, *menu_, *dialogs_, *rideLog_);
    auto* failures = new FailureHelp(client, *menu_, *linkView_, *link_, model, this);
    connect(failures, &FailureHelp::DifferencesWanted, history_.get(),
            &HistoryController::CompareWithUnit);
}

void TFormHlav::Wire() {
    // The start commands, from the menu and the tool bar.
    MainMenu& m = *menu_;
    ToolBar& t = *toolBar_;
    connect(m.newItem, &QAction::triggered, this, &TFormHlav::OnNewChosen);
    connect(t.newButton, &QToolButton::clicked, this, &TFormHlav::OnNewChosen);
    connect(m.exitItem, &QAction::triggered, this, &TFormHlav::close);
    connect(m.readItem, &QAction::triggered, this, &TFormHlav::OnReadChosen);
    connect(t.readButton, &QPushButton::clicked, this, &TFormHlav::OnReadChosen);
    connect(m.verifyItem, &QAction::triggered, this, &TFormHlav::OnVerifyChosen);
    connect(t.verifyButton, &QPushButton::clicked, this, &TFormHlav::OnVerifyChosen);
    connect(m.programItem, &QAction::triggered, this, &TFormHlav::OnProgramChosen);
    connect(t.programButton, &QPushButton::clicked, this, &TFormHlav::OnProgramChosen);
    connect(m.englishItem, &QAction::triggered, this, [this] { ApplyLanguage(kLanguageEnglish); });
    connect(m.czechItem, &QAction::triggered, this, [this] { ApplyLanguage(kLanguageCzech); });
    connect(m.germanItem, &QAction::triggered, this, [this] { ApplyLanguage(kLanguageGerman); });

    // The desk commands (printing connects itself).
    FileCommands* files = files_.get();
    connect(m.openItem, &QAction::triggered, files, &FileCommands::OnOpenChosen);
    connect(t.openButton, &QToolButton::clicked, files, &FileCommands::OnOpenChosen);
    connect(m.saveItem, &QAction::triggered, files, &FileCommands::OnSaveChosen);
    connect(t.saveButton, &QToolButton::clicked, files, &FileCommands::OnSaveChosen);
    connect(m.contentsItem, &QAction::triggered, files, &FileCommands::OnManualChosen);
    connect(m.aboutItem, &QAction::triggered, files, &FileCommands::OnAboutChosen);
    // An opened or saved file is a restore point.
    connect(files, &FileCommands::Opened, history_.get(), &HistoryController::FileOpened);
    connect(files, &FileCommands::Saved, history_.get(), &HistoryController::FileSaved);
    // The tune the 3D window compares with is dashed in the curve window too; a cell clicked
    // there is selected in the grid, and the grid's selection is outlined on the surface.
    connect(surface_.get(), &SurfaceWindowController::CompareChanged, rideLog_.get(),
            &RideLogController::SetCompare);
    connect(surface_.get(), &SurfaceWindowController::CellClicked, mapTools_.get(),
            &MapTools::SelectCell);
    connect(mapTools_.get(), &MapTools::SelectionChanged, surface_.get(),
            &SurfaceWindowController::ShowSelection);

    // A replay silences the unit on purpose: the connection label says so instead of
    // "No Connection".
    connect(rideLog_.get(), &RideLogController::ReplayRunning, progress_.get(),
            &ProgressRow::SetReplaying);

    // The pages: Enter, and what the monitor column shows.
    ParameterPages* pages = pages_.get();
    connect(pages, &ParameterPages::FocusNextRequested, this, [this] { focusNextChild(); });
    connect(pages, &ParameterPages::TpsAxisShown, monitor_.get(), &MonitorColumn::ShowTpsReadout);
    connect(pages, &ParameterPages::ServoShown, monitor_.get(), &MonitorColumn::ShowServoReadouts);
    connect(pages, &ParameterPages::N2oShown, monitor_.get(), &MonitorColumn::ShowN2oReadout);

    // What follows a commit, and what the link asks of the window.
    connect(model_.get(), &ParameterModel::Changed, this, &TFormHlav::OnParametersChanged);
    connect(linkView_.get(), &LinkView::ImageReceived, model_.get(),
            [this] { model_->Commit(ModelChange(CommitKind::Read)); });
    connect(linkView_.get(), &LinkView::ModalMessage, this, [this](const LocalizedText& text) {
        dialogs_->ShowMessage(QString::fromUtf8(text.In(model_->Language())));
    });
}

void TFormHlav::FormCreate() {
    DeviceImage& image = model_->MutableImage();
    image[field::BikeType] = 0;
    SetDefaults(image);
    CentreOnScreen();
    std::uint8_t language = LoadSettings();

    const WindowArguments arguments = SplitWindowArguments(dialogs_->Options().arguments);
    if (arguments.language) language = *arguments.language;
    // NormalizeImage's rule for a language index from the settings.
    if (language > kLanguageGerman) language = kLanguageEnglish;

    model_->Normalize();
    pages_->ImageToControls();
    // A box at start-up already speaks the chosen language, Qt's buttons included.
    model_->SetLanguage(language);
    qtTexts_->SetLanguage(language);
    ports_->OpenChosenPort();
    menu_->CheckComItem(ports_->ComPortNumber());
    ApplyLanguage(language);
    progress_->SetMessageVisible(false);
    progress_->SetGaugeVisible(false);
    pages_->SetCommitsEnabled(true);
    // The tune at start-up is what the first edit is compared with.
    model_->MarkCommitted();
    undo_->Reset();
    // A file named on the command line (a double click on it in the desktop) opens as
    // File > Open would open it, once the window is on the screen: a box saying why it
    // could not be opened must not stand alone on the desktop before the window.
    if (!arguments.file.isEmpty()) {
        const QString file = QFileInfo(arguments.file).absoluteFilePath();
        QTimer::singleShot(0, files_.get(),
                           [files = files_.get(), file] { files->OpenFile(file); });
    }
}

void TFormHlav::CentreOnScreen() {
    const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (s == nullptr) return;
    const QRect area = s->availableGeometry();
    const QSize size = frameGeometry().size();
    // On a screen smaller than the window the title bar must stay reachable.
    move(area.x() + std::max(0, (area.width() - size.width()) / 2),
         area.y() + std::max(0, (area.height() - size.height()) / 2));
}

void TFormHlav::FormClose() {
    ports_->Close();
    pages_->ControlsToImage();
    model_->Normalize();
    SaveSettings();
}

void TFormHlav::closeEvent(QCloseEvent* event) {
    FormClose();
    pages_->SetCommitsEnabled(false);
    event->accept();
}

QString TFormHlav::HintOf(const QString& objectName) const {
    return hints_->HintOf(objectName);
}

void TFormHlav::OnParametersChanged(const ModelChange& change) {
    // What was read is what the unit holds; a bike type's defaults wait for the next change.
    if (change.kind == CommitKind::Read || change.kind == CommitKind::BikeType) return;
    link_->CheckProgramOnChange(pages_->ProgramAfterChange());
}

void TFormHlav::OnTick() {
    dialogs_->SetInTick(true);
    ports_->Tick();
    link_->Tick();
    ports_->ShowState();
    cursor_ = link_->LiveValid()
                  ? ComputeMapCursor(model_->Image(), link_->Live(), pages_->TpsAxis())
                  : ClearedMapCursor();
    linkView_->ShowCursor(cursor_);
    dialogs_->SetInTick(false);
}

void TFormHlav::OnNewChosen() {
    SetDefaults(model_->MutableImage());
    progress_->SetFileName(QString());
    model_->Commit(ModelChange(CommitKind::New));
}

void TFormHlav::OnReadChosen() {
    progress_->SetFileName(QString());
    link_->StartRead();
}

void TFormHlav::OnVerifyChosen() {
    model_->TakeEdits();
    link_->StartVerify();
}

void TFormHlav::OnProgramChosen() {
    model_->TakeEdits();
    link_->StartProgram();
}

}  // namespace korvan
