#include "ui/window/analysis_controller.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QPrinter>
#include <QScreen>
#include <QTabWidget>
#include <QTextDocument>
#include <algorithm>

#include "files/atomic_write.h"
#include "log/ride_log_writer.h"
#include "params/language_tables.h"
#include "ui/analysis/analysis_texts.h"
#include "ui/analysis/analysis_window.h"
#include "ui/languages/qt_fill.h"
#include "ui/ridelog/ridelog_texts.h"
#include "ui/window/dialogs.h"
#include "ui/window/main_menu.h"
#include "ui/window/parameter_model.h"
#include "ui/window/ride_log_controller.h"

namespace korvan {

namespace {

QString Text(const LocalizedText& text, std::uint8_t language) {
    return QString::fromUtf8(text.In(language));
}

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

constexpr int kOffset = 40;

}  // namespace

AnalysisController::AnalysisController(QMainWindow& window, ParameterModel& model, MainMenu& menu,
                                       Dialogs& dialogs, RideLogController& rideLog)
    : QObject(&rideLog), main_(window), model_(model), dialogs_(dialogs), rideLog_(rideLog) {
    item_ = MainMenu::AddItem(menu.toolsMenu, "MenuRideAnalysis", QString());
    connect(item_, &QAction::triggered, this, &AnalysisController::Show);
    connect(&loader_, &LogLoader::Loaded, this,
            [this](const QString& path, const SharedLog& log) { OnLoaded(path, log, false); });
    connect(&secondLoader_, &LogLoader::Loaded, this,
            [this](const QString& path, const SharedLog& log) { OnLoaded(path, log, true); });
    connect(&model, &ParameterModel::LanguageChanged, this, &AnalysisController::ApplyLanguage);
    connect(&model, &ParameterModel::Changed, this, [this] {
        // The axes may have moved: the same rows fall into other cells.
        if (window_ != nullptr) window_->SetTune(model_.Image());
    });
    connect(&rideLog, &RideLogController::AnalysisWanted, this, &AnalysisController::AnalyseFile);
    connect(&rideLog, &RideLogController::ReplayMoved, this,
            &AnalysisController::ShowReplayPosition);
    connect(&rideLog, &RideLogController::ReplayRunning, this,
            &AnalysisController::ShowReplayPosition);
    ApplyLanguage();
}

AnalysisController::~AnalysisController() {
    // A top-level child of the main window that refers to nothing of ours but its signals.
    delete window_;
}

std::uint8_t AnalysisController::Language() const {
    return model_.Language();
}

void AnalysisController::ApplyLanguage() {
    item_->setText(Text(analysistext::kMenuItem, Language()));
    if (window_ != nullptr) window_->SetLanguage(Language());
}

AnalysisWindow& AnalysisController::MakeWindow() {
    if (window_ != nullptr) return *window_;
    window_ = new AnalysisWindow(Language(), &main_);
    window_->SetTune(model_.Image());
    connect(window_, &AnalysisWindow::OpenLogWanted, this, &AnalysisController::OpenLog);
    connect(window_, &AnalysisWindow::ReplayLogWanted, this, &AnalysisController::AnalyseReplay);
    connect(window_, &AnalysisWindow::LastRecordingWanted, this,
            &AnalysisController::AnalyseLastRecording);
    connect(window_, &AnalysisWindow::SecondLogWanted, this, &AnalysisController::OpenSecondLog);
    connect(window_, &AnalysisWindow::ExportWanted, this, &AnalysisController::Export);
    connect(window_, &AnalysisWindow::PrintWanted, this, &AnalysisController::PrintSummary);
    // Over the main window, a little below, and wholly on the screen it is on.
    QRect place(main_.frameGeometry().topLeft() + QPoint(kOffset, kOffset), window_->size());
    if (const QScreen* screen = main_.screen()) {
        const QRect area = screen->availableGeometry();
        place.setSize(place.size().boundedTo(area.size()));
        place.moveLeft(std::clamp(place.left(), area.left(), area.right() - place.width() + 1));
        place.moveTop(std::clamp(place.top(), area.top(), area.bottom() - place.height() + 1));
    }
    window_->setGeometry(place);
    return *window_;
}

void AnalysisController::Show() {
    AnalysisWindow& w = MakeWindow();
    w.show();
    w.raise();
    w.activateWindow();
    if (w.Log() != nullptr || loader_.Busy()) return;
    if (rideLog_.ReplayLog() != nullptr) {
        AnalyseReplay();
    } else if (!rideLog_.LastRecording().isEmpty()) {
        AnalyseLastRecording();
    } else {
        OpenLog();
    }
}

void AnalysisController::AnalyseFile(const QString& path) {
    AnalysisWindow& w = MakeWindow();
    w.SetNote(QFill(analysistext::kReading, Language(), Native(path)));
    loader_.Load(path);
    if (!w.isVisible()) w.show();
    w.raise();
}

void AnalysisController::AnalyseReplay() {
    AnalysisWindow& w = MakeWindow();
    const RideLogReadResult* log = rideLog_.ReplayLog();
    if (log == nullptr) {
        w.SetNote(Text(analysistext::kNoReplay, Language()));
        return;
    }
    // The replay keeps its own copy; the window's is read-only and shared by its views.
    w.SetLog(std::make_shared<const RideLogReadResult>(*log), rideLog_.ReplayPath());
    w.SetNote(QString());
    ShowReplayPosition();
}

void AnalysisController::AnalyseLastRecording() {
    if (rideLog_.LastRecording().isEmpty()) {
        MakeWindow().SetNote(Text(analysistext::kNoRecording, Language()));
        return;
    }
    AnalyseFile(rideLog_.LastRecording());
}

QString AnalysisController::Folder() const {
    if (!lastFolder_.isEmpty()) return lastFolder_;
    if (!rideLog_.LastRecording().isEmpty())
        return QFileInfo(rideLog_.LastRecording()).absolutePath();
    return QDir::homePath();
}

QString AnalysisController::AskFile(QFileDialog& dialog) {
    const std::uint8_t l = Language();
    dialog.setNameFilters({Text(ridelogtext::kRideLogFiles, l), Text(ridelogtext::kMslFiles, l),
                           Text(ridelogtext::kMlgFiles, l), Text(ridelogtext::kCsvFiles, l)});
    const QString path = dialogs_.ChooseFile(dialog);
    if (!path.isEmpty()) lastFolder_ = QFileInfo(path).absolutePath();
    // The file dialog gave the focus to the main window; the analysis goes on here.
    if (window_ != nullptr && window_->isVisible()) window_->activateWindow();
    return path;
}

void AnalysisController::OpenLog() {
    QFileDialog dialog(&MakeWindow(), Text(analysistext::kTitleNone, Language()), Folder());
    dialog.setObjectName("AnalysisOpenDialog");
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QString path = AskFile(dialog);
    if (!path.isEmpty()) AnalyseFile(path);
}

void AnalysisController::OpenSecondLog() {
    QFileDialog dialog(&MakeWindow(), Text(analysistext::kOpenSecondLog, Language()), Folder());
    dialog.setObjectName("AnalysisSecondDialog");
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QString path = AskFile(dialog);
    if (path.isEmpty()) return;
    window_->SetNote(QFill(analysistext::kReading, Language(), Native(path)));
    secondLoader_.Load(path);
}

void AnalysisController::OnLoaded(const QString& path, const SharedLog& log, bool second) {
    if (window_ == nullptr) return;
    const std::uint8_t l = Language();
    const std::string name = Native(path).toStdString();
    if (!log->Ok()) {
        // A refused file changes nothing that is shown.
        window_->SetNote(QString());
        dialogs_.ShowMessage(QString::fromStdString(log->RefusalText(name, l)));
        return;
    }
    if (second) {
        window_->SetSecondLog(log, path);
        window_->Tabs()->setCurrentIndex(3);
    } else {
        window_->SetLog(log, path);
        ShowReplayPosition();
    }
    // What was left out is said and the rest is used, as the replay does.
    QStringList notes;
    for (const std::string& note : {log->BadRowsText(l), log->TruncatedText(l)}) {
        if (!note.empty()) notes << QString::fromStdString(note);
    }
    window_->SetNote(notes.join(' '));
}

void AnalysisController::ShowReplayPosition() {
    if (window_ == nullptr) return;
    // The replay's position means something only on the log the replay plays.
    const bool same = rideLog_.IsReplaying() && rideLog_.ReplayLog() != nullptr &&
                      window_->Log() != nullptr &&
                      QFileInfo(rideLog_.ReplayPath()) == QFileInfo(window_->LogPath());
    window_->SetReplayPosition(same ? std::optional<double>(rideLog_.ReplaySeconds())
                                    : std::nullopt);
}

void AnalysisController::Export() {
    if (window_ == nullptr || window_->Log() == nullptr) return;
    const std::uint8_t l = Language();
    const QFileInfo source(window_->LogPath());
    QFileDialog dialog(window_, Text(analysistext::kExportLog, l).remove('&'),
                       QDir(Folder()).filePath(source.completeBaseName() + kMlgExtension));
    dialog.setObjectName("AnalysisExportDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({Text(ridelogtext::kMlgFiles, l), Text(ridelogtext::kCsvFiles, l),
                           Text(ridelogtext::kMslFiles, l)});
    dialog.setDefaultSuffix(QString(kMlgExtension).mid(1));
    const QStringList suffixes = {QString(kMlgExtension).mid(1), QString(kCsvExtension).mid(1),
                                  QString(kLogExtension).mid(1)};
    const QStringList filters = dialog.nameFilters();
    connect(&dialog, &QFileDialog::filterSelected, &dialog,
            [&dialog, filters, suffixes](const QString& f) {
                const qsizetype i = filters.indexOf(f);
                if (i >= 0) dialog.setDefaultSuffix(suffixes[i]);
            });
    const QString path = AskFile(dialog);
    if (path.isEmpty()) return;
    const std::optional<LogFormat> format = LogFormatOfPath(path.toStdString());
    if (!format) {
        dialogs_.ShowMessage(QFill(analysistext::kExportFormat, l, Native(path)));
        return;
    }
    const RideLogReadResult& log = *window_->Log();
    const DeviceImage& tune = window_->Tune();
    const std::string bytes =
        EncodeRideLog(log, *format, LogHeaderOf(log), tune, tune[field::TpsMapa] != 0);
    // The old file stays whole until the new one is completely on the disk.
    const WriteResult written = WriteFileAtomically(path.toStdString(), bytes);
    if (!written.ok) {
        dialogs_.ShowMessage(
            QFill(analysistext::kExportFailed, l, QString::fromStdString(written.error)));
        return;
    }
    window_->SetNote(
        QFill(analysistext::kExported, l, Native(path), log.rows.size(), log.marks.size()));
}

void AnalysisController::PrintSummary() {
    if (window_ == nullptr) return;
    std::unique_ptr<QPrinter> printer = dialogs_.Printer();
    if (!printer) {
        dialogs_.ShowMessage(Text(kNoPrinterMessage, Language()));
        return;
    }
    QTextDocument document;
    document.setPlainText(window_->SummaryText());
    document.print(printer.get());
}

}  // namespace korvan
