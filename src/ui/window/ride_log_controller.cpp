#include "ui/window/ride_log_controller.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "device/device_link.h"
#include "device/frame.h"
#include "log/ride_analysis.h"
#include "log/time_in_cell.h"
#include "params/binding.h"
#include "ui/languages/qt_fill.h"
#include "ui/ridelog/curve_points.h"
#include "ui/ridelog/curve_texts.h"
#include "ui/ridelog/curve_view.h"
#include "ui/ridelog/heat_map.h"
#include "ui/ridelog/replay_controller.h"
#include "ui/ridelog/replay_panel.h"
#include "ui/ridelog/ride_recorder.h"
#include "ui/ridelog/ridelog_texts.h"
#include "ui/window/caption_fit.h"
#include "ui/window/dialogs.h"
#include "ui/window/file_commands.h"
#include "ui/window/link_view.h"
#include "ui/window/main_menu.h"
#include "ui/window/parameter_model.h"
#include "ui/window/parameter_pages.h"

namespace korvan {

namespace {

// The row of controls under the map: the throttle-axis box, the advance buttons and "All"
// end at x 214; these two follow on the same line.
constexpr int kHeatBoxX = 232;
constexpr int kHeatBoxY = 388;
constexpr int kMapControlHeight = 25;
constexpr int kCurveButtonRight = 637;
constexpr int kCurveButtonY = 384;
constexpr int kMinButtonWidth = 120;
// Room for the ten names beside the advance chart and for the servo chart's labels.
constexpr int kCurveWindowWidth = 800;
constexpr int kCurveWindowHeight = 640;
// How long a marker's note stays in the status bar.
constexpr int kBriefMessageMs = 3000;
// The REC field: white and bold on a dark red while recording, legible in any palette.
const QColor kRecordingBackground(0xC0, 0x00, 0x00);
const QColor kRecordingText(0xFF, 0xFF, 0xFF);

QString Text(const LocalizedText& text, std::uint8_t language) {
    return QString::fromUtf8(text.In(language));
}

// The undo step of a dragged point names the point and its new value.
StepName CurveStepName(const DeviceImage& image, std::size_t index) {
    const std::optional<PointScale> scale = ScaleOf(index);
    if (!scale) return StepName();
    const int value = static_cast<int>(scale->Shown(image[index]));
    const auto rpmOf = [&](std::size_t axisPoint) {
        return static_cast<int>(
            ScaleOf(axisPoint).value_or(PointScale{1, 0, 0}).Shown(image[axisPoint]));
    };
    const std::size_t servoEnd = field::NapPriv + std::size_t{kAxisPoints};
    if (index >= field::NapPriv && index < servoEnd) {
        return StepName(curvetext::kServoPointStep,
                        rpmOf(field::RpmPriv + (index - field::NapPriv)), value);
    }
    const std::size_t mapEnd = field::Advance + std::size_t{kMapRows * kMapColumns};
    if (index < field::Advance || index >= mapEnd) return StepName();
    const std::size_t cell = index - field::Advance;
    const int rpm = rpmOf(field::RpmAdv + cell % kMapColumns);
    if (image[field::TpsMapa] == 0) return StepName(curvetext::kCurvePointStep, rpm, value);
    return StepName(curvetext::kAdvancePointStep, rpm, kTpsAxisPercent[cell / kMapColumns], value);
}

// The widest of the control's caption in the three languages.
int WidestCaption(QWidget* control, const LocalizedText& text) {
    int width = 0;
    for (std::uint8_t l : {kLanguageCzech, kLanguageEnglish, kLanguageGerman})
        width = std::max(width, CaptionWidth(control, Text(text, l)));
    return width;
}

}  // namespace

RideLogController::RideLogController(QMainWindow& window, ParameterModel& model, DeviceLink& link,
                                     LinkView& view, MainMenu& menu, Dialogs& dialogs,
                                     ParameterPages& pages, const FileCommands& files)
    : window_(window), model_(model), link_(link), dialogs_(dialogs), pages_(pages), files_(files) {
    QMenu* tools = menu.toolsMenu;
    tools->addSeparator()->setObjectName("NRideLog");
    recordItem_ =
        MainMenu::AddItem(tools, "MenuRecordRideLog", QString(), QKeySequence(Qt::Key_F6));
    replayItem_ = MainMenu::AddItem(tools, "MenuReplayRideLog", QString());
    curvesItem_ = MainMenu::AddItem(tools, "MenuMapCurves", QString());
    connect(recordItem_, &QAction::triggered, this, &RideLogController::ToggleRecording);
    connect(replayItem_, &QAction::triggered, this, &RideLogController::OpenReplay);
    connect(curvesItem_, &QAction::triggered, this, &RideLogController::ShowCurves);

    QGroupBox* map = pages.MapGroup();
    heatBox_ = new QCheckBox(map);
    heatBox_->setObjectName("CheckBoxHeatMap");
    heatBox_->setFocusPolicy(Qt::NoFocus);
    heatBox_->setEnabled(false);  // until a log is loaded
    connect(heatBox_, &QCheckBox::toggled, this, &RideLogController::SetHeatShown);
    curveButton_ = new QPushButton(map);
    curveButton_->setObjectName("ButtonMapCurves");
    curveButton_->setFocusPolicy(Qt::NoFocus);
    connect(curveButton_, &QPushButton::clicked, this, &RideLogController::ShowCurves);
    FitMapControls();

    status_ = new QLabel(&window);
    status_->setObjectName("LabelRideLog");
    status_->hide();  // shown only while recording, so it is always red then
    QFont bold = status_->font();
    bold.setBold(true);
    status_->setFont(bold);
    QPalette recording = status_->palette();
    recording.setColor(QPalette::Window, kRecordingBackground);
    recording.setColor(QPalette::WindowText, kRecordingText);
    status_->setPalette(recording);
    status_->setAutoFillBackground(true);
    status_->setAlignment(Qt::AlignCenter);
    // Wide enough for hours of recording, so the field does not jump as the count grows.
    status_->setMinimumWidth(
        status_->fontMetrics().horizontalAdvance(QStringLiteral("REC 00:00:00  0000000 ")));
    window.statusBar()->addPermanentWidget(status_);

    connect(&view, &LinkView::MonitorFrame, this, &RideLogController::OnMonitorFrame);
    connect(&view, &LinkView::CursorMoved, this, &RideLogController::Tick);
    connect(&model, &ParameterModel::Changed, this, &RideLogController::ImageChanged);
    connect(&model, &ParameterModel::LanguageChanged, this, &RideLogController::ApplyLanguage);
    qApp->installEventFilter(this);
    ApplyLanguage();
}

std::uint8_t RideLogController::Language() const {
    return model_.Language();
}

RideLogController::~RideLogController() {
    qApp->removeEventFilter(this);
    if (recorder_ != nullptr) recorder_->Stop();
    // The panel and the curve window are the window's children but refer to what is ours.
    delete panel_;
    delete curveWindow_;
    if (replaying_) link_.PauseMonitor(false);
}

void RideLogController::FitMapControls() {
    const int boxWidth = WidestCaption(heatBox_, ridelogtext::kWhereEngineRan);
    heatBox_->setGeometry(kHeatBoxX, kHeatBoxY, boxWidth, heatBox_->sizeHint().height());
    const int buttonWidth =
        std::max(kMinButtonWidth, WidestCaption(curveButton_, ridelogtext::kMapAsCurves));
    curveButton_->setGeometry(kCurveButtonRight - buttonWidth, kCurveButtonY, buttonWidth,
                              kMapControlHeight);
}

void RideLogController::ApplyLanguage() {
    const std::uint8_t language = Language();
    recordItem_->setText(
        Text(IsRecording() ? ridelogtext::kStopRecording : ridelogtext::kRecordRideLog, language));
    replayItem_->setText(Text(ridelogtext::kReplayRideLog, language));
    curvesItem_->setText(Text(ridelogtext::kMapAsCurves, language));
    heatBox_->setText(Text(ridelogtext::kWhereEngineRan, language));
    curveButton_->setText(Text(ridelogtext::kMapAsCurves, language));
    if (recorder_ != nullptr) recorder_->SetLanguage(language);
    if (panel_ != nullptr) panel_->SetLanguage(language);
    if (curves_ != nullptr) {
        curves_->SetLanguage(language);
        curveWindow_->setWindowTitle(Text(ridelogtext::kCurveTitle, language));
        printCurvesButton_->setText(Text(ridelogtext::kPrintPicture, language));
    }
    if (heatBox_->isChecked()) ShowHeat();  // the tooltips are in words
}

void RideLogController::Tick(const MapCursor& cursor) {
    cursor_ = cursor;
    if (recorder_ != nullptr && recorder_->IsRecording()) {
        recorder_->Tick();
        ShowRecordingState();
    }
    if (curves_ != nullptr && curveWindow_->isVisible() && !(cursor == shownCursor_)) {
        shownCursor_ = cursor;
        curves_->SetCursor(shownCursor_);
    }
}

void RideLogController::ImageChanged() {
    if (curves_ != nullptr) curves_->SetImage(model_.Image());
    // The axes may have moved: the same rides fall into other cells.
    if (heatBox_->isChecked()) ShowHeat();
}

// --- Recording ---

bool RideLogController::IsRecording() const {
    return recorder_ != nullptr && recorder_->IsRecording();
}

QString RideLogController::SuggestedFolder() const {
    if (!lastFolder_.isEmpty()) return lastFolder_;
    const QString folder = files_.LastFolder();
    return folder.isEmpty() ? QDir::homePath() : folder;
}

QString RideLogController::AskFile(bool save, const QString& title, const QString& suggested) {
    const std::uint8_t language = Language();
    // Every format first: a log is read from any of them, and a name typed without an
    // extension is written as the text log.
    const QStringList filters = {
        Text(ridelogtext::kRideLogFiles, language), Text(ridelogtext::kMslFiles, language),
        Text(ridelogtext::kMlgFiles, language), Text(ridelogtext::kCsvFiles, language)};
    const QStringList suffixes = {QString(kLogExtension).mid(1), QString(kLogExtension).mid(1),
                                  QString(kMlgExtension).mid(1), QString(kCsvExtension).mid(1)};
    QFileDialog dialog(&window_, title, suggested);
    dialog.setNameFilters(filters);
    dialog.setObjectName(save ? "RecordDialog" : "ReplayDialog");
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(suffixes[0]);
    // The format chosen in the list is the one a bare name is written in.
    connect(&dialog, &QFileDialog::filterSelected, &dialog,
            [&dialog, filters, suffixes](const QString& f) {
                const qsizetype i = filters.indexOf(f);
                if (i >= 0) dialog.setDefaultSuffix(suffixes[i]);
            });
    if (save) dialog.selectFile(suggested);
    const QString path = dialogs_.ChooseFile(dialog);
    if (!path.isEmpty()) lastFolder_ = QFileInfo(path).absolutePath();
    return path;
}

void RideLogController::ToggleRecording() {
    if (IsRecording()) {
        StopRecording();
        return;
    }
    const QString suggested =
        RideRecorder::DefaultFileName(SuggestedFolder(), QDateTime::currentDateTime());
    const QString path = AskFile(true, Text(ridelogtext::kRecordRideLog, Language()), suggested);
    if (!path.isEmpty()) StartRecording(path);
}

bool RideLogController::StartRecording(const QString& path) {
    if (recorder_ == nullptr) {
        recorder_ = new RideRecorder(this);
        connect(recorder_, &RideRecorder::Failed, this, &RideLogController::OnRecordingFailed);
    }
    recorder_->SetLanguage(Language());
    // The header names what the log belongs to, so a log found months later still says which
    // unit and which tune it was ridden with.
    LogHeader names;
    names.unitVersion = UnitVersionOf(model_.Image());
    const QString tune = files_.CurrentFile();
    if (!tune.isEmpty()) names.tuneFile = QFileInfo(tune).fileName().toStdString();
    const bool started = recorder_->Start(path, names);
    ShowRecordingState();
    if (!started) dialogs_.ShowMessage(recorder_->LastError());
    return started;
}

void RideLogController::StopRecording() {
    if (!IsRecording()) return;
    const QString path = recorder_->FilePath();
    const std::size_t rows = recorder_->Rows();
    const unsigned marks = recorder_->Marks();
    recorder_->Stop();
    ShowRecordingState();
    // A write that failed at the end has said so (Failed); the file is not offered then.
    if (!recorder_->LastError().isEmpty()) return;
    lastRecording_ = path;
    const std::uint8_t language = Language();
    const QString text =
        QFill(ridelogtext::kRecordingSaved, language, QDir::toNativeSeparators(path), rows, marks);
    enum Choice { kOpenFolder, kReplay, kAnalyse };
    const int choice = dialogs_.AskChoice(
        text, {Text(ridelogtext::kOpenFolder, language), Text(ridelogtext::kReplayIt, language),
               Text(ridelogtext::kAnalyseIt, language), Text(ridelogtext::kClose, language)});
    switch (choice) {
        case kOpenFolder:
            dialogs_.OpenUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
            break;
        case kReplay:
            StartReplay(path);
            break;
        case kAnalyse:
            emit AnalysisWanted(path);
            break;
        default:
            break;
    }
}

void RideLogController::Mark() {
    if (!IsRecording()) return;
    recorder_->Mark();
    ShowRecordingState();
    if (IsRecording()) ShowBriefly(QFill(ridelogtext::kMarkerSet, Language(), recorder_->Marks()));
}

void RideLogController::ShowBriefly(const QString& text) {
    window_.statusBar()->showMessage(text, kBriefMessageMs);
}

void RideLogController::OnRecordingFailed(const QString& message) {
    ShowRecordingState();
    dialogs_.ShowMessage(message);
}

void RideLogController::ShowRecordingState() {
    const bool recording = IsRecording();
    const QString item =
        Text(recording ? ridelogtext::kStopRecording : ridelogtext::kRecordRideLog, Language());
    if (recordItem_->text() != item) recordItem_->setText(item);
    const QString text = recording ? recorder_->StatusText() : QString();
    if (status_->text() != text) status_->setText(text);
    if (status_->isHidden() == recording) status_->setVisible(recording);
}

void RideLogController::OnMonitorFrame(const std::uint8_t* frame) {
    // Only what the unit sent is recorded: a replayed frame is a log already.
    if (injecting_ || !IsRecording()) return;
    recorder_->AddFrame(frame, model_.Image(), pages_.TpsAxis());
}

// --- Replay ---

void RideLogController::OpenReplay() {
    const QString path =
        AskFile(false, Text(ridelogtext::kReplayRideLog, Language()), SuggestedFolder());
    if (!path.isEmpty()) StartReplay(path);
}

bool RideLogController::StartReplay(const QString& path) {
    if (replay_ == nullptr) {
        replay_ = new ReplayController(this);
        connect(replay_, &ReplayController::FrameReady, this, &RideLogController::OnReplayFrame);
        connect(replay_, &ReplayController::MarkPassed, this, &RideLogController::OnMarkPassed);
        connect(replay_, &ReplayController::PositionChanged, this,
                [this] { emit ReplayMoved(replay_->PositionSeconds()); });
        panel_ = new ReplayPanel(*replay_, Language(), &window_);
        panel_->setWindowFlag(Qt::Tool);
        panel_->installEventFilter(this);
        connect(panel_, &ReplayPanel::CloseRequested, this, &RideLogController::EndReplay);
    }
    // The link stops asking before the first row is shown, so no live frame mixes in.
    link_.PauseMonitor(true);
    replaying_ = true;
    emit ReplayRunning(true);
    const bool loaded = replay_->Load(path, Language());
    if (!loaded) {
        EndReplay();
        heatBox_->setEnabled(false);
        heatBox_->setChecked(false);
        dialogs_.ShowMessage(replay_->Message());
        return false;
    }
    panel_->Refresh();
    if (!panel_->isVisible()) {
        const QRect frame = window_.frameGeometry();
        panel_->resize(frame.width(), panel_->sizeHint().height());
        panel_->move(frame.left(), frame.bottom() + 1);
        panel_->show();
    }
    heatBox_->setEnabled(true);
    if (heatBox_->isChecked()) ShowHeat();
    // The bad rows left out, named in one line; the rest is replayed.
    if (!replay_->Message().isEmpty()) dialogs_.ShowMessage(replay_->Message());
    return true;
}

void RideLogController::EndReplay() {
    if (!replaying_) return;
    replaying_ = false;
    replay_->Pause();
    if (panel_->isVisible()) panel_->hide();
    link_.PauseMonitor(false);
    emit ReplayRunning(false);
    // What was changed during the replay reaches the unit now, when that is asked for.
    link_.CheckProgramOnChange(pages_.ProgramAfterChange());
}

void RideLogController::OnReplayFrame(const QByteArray& frame) {
    if (!replaying_ || frame.size() != static_cast<qsizetype>(kFrameSize)) return;
    injecting_ = true;
    link_.InjectMonitorFrame(reinterpret_cast<const std::uint8_t*>(frame.constData()));
    injecting_ = false;
}

const RideLogReadResult* RideLogController::ReplayLog() const {
    return replay_ != nullptr && replay_->IsLoaded() ? &replay_->Log() : nullptr;
}

QString RideLogController::ReplayPath() const {
    return ReplayLog() != nullptr ? replay_->FilePath() : QString();
}

double RideLogController::ReplaySeconds() const {
    return replay_ != nullptr ? replay_->PositionSeconds() : 0;
}

void RideLogController::OnMarkPassed(int mark) {
    if (!replaying_) return;
    const RideLogReadResult& log = replay_->Log();
    const QString seconds =
        QLocale().toString(MarkTimeS(log, static_cast<std::size_t>(mark)), 'f', 1);
    ShowBriefly(QFill(ridelogtext::kMarkerPassed, Language(), mark + 1, seconds));
}

// --- Time in cell ---

void RideLogController::SetHeatShown(bool shown) {
    if (shown && (replay_ == nullptr || !replay_->IsLoaded())) {
        heatBox_->setChecked(false);
        return;
    }
    if (shown) {
        ShowHeat();
    } else {
        pages_.SetMapHeat({}, {});
    }
}

void RideLogController::ShowHeat() {
    if (replay_ == nullptr || !replay_->IsLoaded()) {
        pages_.SetMapHeat({}, {});
        return;
    }
    const TimeInCells cells =
        ComputeTimeInCells(replay_->Log().rows, model_.Image(), pages_.TpsAxis());
    const HeatMap heat = BuildHeatMap(cells, Language());
    pages_.SetMapHeat(heat.colours, heat.tooltips);
}

// --- Curves ---

void RideLogController::ShowCurves() {
    if (curveWindow_ == nullptr) {
        curveWindow_ = new QWidget(&window_, Qt::Window);
        curveWindow_->setObjectName("CurveWindow");
        curves_ = new CurveView(Language(), curveWindow_);
        connect(curves_, &CurveView::PointEdited, this, &RideLogController::OnPointEdited);
        // Escape closes the window, as it closes a dialog (during a drag it puts the point
        // back first).
        auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), curveWindow_);
        connect(close, &QShortcut::activated, curveWindow_, &QWidget::close);
        printCurvesButton_ = new QPushButton(curveWindow_);
        printCurvesButton_->setObjectName("ButtonPrintCurves");
        connect(printCurvesButton_, &QPushButton::clicked, this, &RideLogController::PrintCurves);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch(1);
        buttons->addWidget(printCurvesButton_);
        auto* layout = new QVBoxLayout(curveWindow_);
        layout->addWidget(curves_, 1);
        layout->addLayout(buttons);
        curveWindow_->resize(kCurveWindowWidth, kCurveWindowHeight);
        // Over the map, where the eye already is.
        curveWindow_->move(window_.frameGeometry().center() - curveWindow_->rect().center());
        ApplyLanguage();
        curves_->SetImage(model_.Image());
        curves_->SetCompare(compare_, compareName_);
        shownCursor_ = cursor_;
        curves_->SetCursor(shownCursor_);
    }
    curveWindow_->show();
    curveWindow_->raise();
    curveWindow_->activateWindow();
}

void RideLogController::SetCompare(const std::optional<DeviceImage>& other, const QString& name) {
    compare_ = other;
    compareName_ = name;
    if (curves_ != nullptr) curves_->SetCompare(compare_, compareName_);
}

void RideLogController::OnPointEdited(int imageIndex, int value) {
    const auto index = static_cast<std::size_t>(imageIndex);
    if (index < kParamImageBegin || index >= kImageSize) return;
    // A value still being typed into a field goes in with the drag, as with the tools.
    pages_.ControlsToImage();
    model_.MutableImage()[index] = static_cast<std::uint8_t>(value);
    model_.Commit(ModelChange(CommitKind::CurveDrag, CurveStepName(model_.Image(), index)));
}

void RideLogController::PrintCurves() {
    if (curves_ != nullptr) dialogs_.PrintPicture(curves_->Picture().toImage());
}

bool RideLogController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == panel_ && event->type() == QEvent::Close) {
        EndReplay();
    } else if (event->type() == QEvent::KeyPress && IsRecording()) {
        // M marks the moment, wherever the focus is in the window: the numeric fields take
        // no letters, so nothing typed is lost.
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        // With Shift too: Caps Lock or a held Shift must not lose the moment.
        const Qt::KeyboardModifiers modifiers =
            key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
        if (key->key() == Qt::Key_M && !key->isAutoRepeat() && modifiers == Qt::NoModifier &&
            widget != nullptr && widget->window() == &window_) {
            Mark();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace korvan
