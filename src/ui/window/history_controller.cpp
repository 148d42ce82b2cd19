#include "ui/window/history_controller.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>

#include "files/atomic_write.h"
#include "files/parameter_file.h"
#include "params/binding.h"
#include "params/language_tables.h"
#include "params/localized_text.h"
#include "ui/history/compare_view.h"
#include "ui/history/history_window.h"
#include "ui/window/dialogs.h"
#include "ui/window/file_messages.h"
#include "ui/window/link_view.h"
#include "ui/window/main_menu.h"
#include "ui/window/parameter_model.h"
#include "ui/window/progress_row.h"

namespace korvan {

namespace {

const LocalizedText kHistoryItem{"&Historie...", "&History...", "&Verlauf..."};
const LocalizedText kCompareFileItem{"Porovnat se &souborem...", "Compare with &file...",
                                     "Unterschiede zur &Datei..."};
const LocalizedText kCompareUnitItem{"Porovnat s &jednotkou", "Compare with &unit",
                                     "Unterschiede zur &Zündbox"};
const LocalizedText kCompareTitle{"Porovnání", "Compare", "Unterschiede"};
const LocalizedText kPrint{"&Tisk", "&Print", "&Drucken"};
const LocalizedText kCurrent{"aktuální parametry", "current parameters", "aktuelle Parameter"};
const LocalizedText kTheUnit{"jednotka", "the unit", "die Zündbox"};
const LocalizedText kPointName{"bod obnovy %1", "restore point %1", "Wiederherstellungspunkt %1"};
const LocalizedText kNotStored{"Bod obnovy nebyl uložen: %1", "Restore point not stored: %1",
                               "Wiederherstellungspunkt nicht gespeichert: %1"};
const LocalizedText kUnreadablePoint{"Bod obnovy %1 nelze přečíst.",
                                     "The restore point %1 cannot be read.",
                                     "Der Wiederherstellungspunkt %1 ist nicht lesbar."};
// A temporary file younger than this may belong to another copy's write in progress.
constexpr long long kStaleTemporarySeconds = 10;
constexpr int kHistoryWidth = 640;
constexpr int kHistoryHeight = 360;
constexpr int kCompareWidth = 900;
constexpr int kCompareHeight = 720;

const QString kIgnFilter = QStringLiteral("Ignition Parametrs(*.ign)");
const QString kAllFilesFilter = QStringLiteral("All Files (*.*)");

}  // namespace

HistoryController::HistoryController(QMainWindow& window, ParameterModel& model, DeviceLink& link,
                                     LinkView& view, Dialogs& dialogs, ProgressRow& progress,
                                     QMenu* tools)
    : window_(window),
      model_(model),
      link_(link),
      dialogs_(dialogs),
      progress_(progress),
      store_(HistoryFolder().toStdString()) {
    // What a kill during an earlier write of a point or the index left behind.
    store_.RemoveStaleTemporaryFiles(kStaleTemporarySeconds);
    tools->addSeparator();
    historyItem = MainMenu::AddItem(tools, "MenuHistory", Tr(kHistoryItem));
    compareFileItem = MainMenu::AddItem(tools, "MenuCompareFile", Tr(kCompareFileItem));
    compareUnitItem = MainMenu::AddItem(tools, "MenuCompareUnit", Tr(kCompareUnitItem));
    connect(historyItem, &QAction::triggered, this, &HistoryController::ShowHistory);
    connect(compareFileItem, &QAction::triggered, this, &HistoryController::CompareWithFile);
    connect(compareUnitItem, &QAction::triggered, this, &HistoryController::CompareWithUnit);

    unitState_ = new QLabel(&window_);
    unitState_->setObjectName("LabelUnitState");
    window_.statusBar()->addPermanentWidget(unitState_);
    UpdateUnitState();

    connect(&view, &LinkView::OperationEnded, this, &HistoryController::OperationFinished);
    connect(&model, &ParameterModel::Changed, this, &HistoryController::UpdateUnitState);
    connect(&model, &ParameterModel::EditsTaken, this, &HistoryController::UpdateUnitState);
    connect(&model, &ParameterModel::UnitChanged, this, &HistoryController::UpdateUnitState);
    connect(&model, &ParameterModel::LanguageChanged, this, &HistoryController::ApplyLanguage);
}

HistoryController::~HistoryController() {
    // The windows refer to the store; they go first.
    delete history_;
    delete compareWindow_;
}

QString HistoryController::HistoryFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           "/Korvan2/history";
}

QString HistoryController::Tr(const LocalizedText& text) const {
    return QString::fromUtf8(text.In(model_.Language()));
}

void HistoryController::ApplyLanguage() {
    historyItem->setText(Tr(kHistoryItem));
    compareFileItem->setText(Tr(kCompareFileItem));
    compareUnitItem->setText(Tr(kCompareUnitItem));
    if (history_ != nullptr) history_->SetLanguage(model_.Language());
    if (compare_ != nullptr) {
        compare_->SetLanguage(model_.Language());
        compareWindow_->setWindowTitle(Tr(kCompareTitle));
        printButton_->setText(Tr(kPrint));
    }
    UpdateUnitState();
}

void HistoryController::UpdateUnitState() {
    unitState_->setText(QString::fromStdString(
        UnitStateText(model_.Unit().ChangesSinceUnit(model_.Image()), model_.Language())));
    // The status bar lays its fields out later; the text must never be cut meanwhile.
    unitState_->setMinimumWidth(unitState_->sizeHint().width());
}

void HistoryController::OperationFinished(const OperationEnd& end) {
    if (end.separateImage) {
        // "Compare with unit": a read that verified tells what the unit holds as well.
        if (!comparingUnit_) return;
        comparingUnit_ = false;
        if (end.ok) {
            model_.RecordUnitSuccess(unitCopy_);
            ShowComparison(unitCopy_, Tr(kTheUnit));
        } else {
            model_.RecordUnitFailure();
        }
        return;
    }
    comparingUnit_ = false;  // a plain start command replaced the compare's read
    if (!end.ok) {
        // A burn broken off may have left any mix of pages behind.
        model_.RecordUnitFailure();
        return;
    }
    model_.RecordUnitSuccess(model_.Image());
    if (end.started == OperationMode::Read) {
        StorePoint(RestoreKind::Read, DecodeIdentity(model_.Image()), {});
    } else if (end.started == OperationMode::Program) {
        StorePoint(RestoreKind::Programmed, DecodeIdentity(model_.Image()), {});
    }
}

void HistoryController::FileOpened(const QString& path) {
    StorePoint(RestoreKind::Opened, {}, path);
}

void HistoryController::FileSaved(const QString& path) {
    StorePoint(RestoreKind::Saved, {}, path);
}

void HistoryController::StorePoint(RestoreKind kind, const IdentityTexts& unit,
                                   const QString& sourcePath) {
    const AddResult added = store_.Add(kind, model_.Image(), model_.ExtendedMonitor(), unit,
                                       sourcePath.toStdString(), std::string());
    if (!added.ok) {
        // The operation has completed; a history that cannot be written only says so, once,
        // until a point can be stored again.
        if (!storeProblemShown_) {
            window_.statusBar()->showMessage(
                QString::fromStdString(Fill(kNotStored, model_.Language(), added.error)));
        }
        storeProblemShown_ = true;
        return;
    }
    storeProblemShown_ = false;
    if (history_ != nullptr && history_->isVisible()) history_->Refresh();
}

void HistoryController::ShowHistory() {
    if (history_ == nullptr) {
        history_ = new HistoryWindow(&store_, &window_);
        history_->setWindowFlag(Qt::Window);
        // Wide enough for time, kind, unit and a short note side by side.
        history_->resize(kHistoryWidth, kHistoryHeight);
        history_->SetFolderOpener(
            [this](const QString& path) { dialogs_.OpenUrl(QUrl::fromLocalFile(path)); });
        connect(history_, &HistoryWindow::openRequested, this, &HistoryController::OpenPoint);
        connect(history_, &HistoryWindow::compareRequested, this, &HistoryController::ComparePoint);
    }
    history_->SetLanguage(model_.Language());
    history_->Refresh();
    history_->show();
    history_->raise();
    history_->activateWindow();
}

bool HistoryController::LoadPoint(const QString& fileName, LoadedPoint& loaded) {
    loaded = store_.Load(fileName.toStdString(), model_.Image());
    if (loaded.ok) return true;
    if (history_ != nullptr) history_->MarkUnreadable(fileName);
    dialogs_.ShowMessage(
        QString::fromStdString(Fill(kUnreadablePoint, model_.Language(), fileName.toStdString())));
    return false;
}

void HistoryController::OpenPoint(const QString& fileName) {
    LoadedPoint loaded;
    if (!LoadPoint(fileName, loaded)) return;
    LoadIntoEditor(loaded.image, loaded.extendedMonitor, fileName);
}

void HistoryController::LoadIntoEditor(const DeviceImage& loaded, bool extendedMonitor,
                                       const QString& fileName) {
    // As File > Open takes a file, without the dialog, and as one undo step.
    model_.Replace(loaded, extendedMonitor,
                   ModelChange(CommitKind::HistoryPoint, fileName.toStdString()));
    // The tune no longer is the file the label named; Save asks for a name as after Read.
    progress_.SetFileName(QString());
}

void HistoryController::ComparePoint(const QString& fileName) {
    model_.TakeEdits();
    LoadedPoint loaded;
    if (!LoadPoint(fileName, loaded)) return;
    NormalizeImage(loaded.image);
    ShowComparison(loaded.image, QString::fromStdString(
                                     Fill(kPointName, model_.Language(), fileName.toStdString())));
}

void HistoryController::CompareWithFile() {
    if (compareDialog_ == nullptr) {
        compareDialog_ = new QFileDialog(&window_);
        compareDialog_->setObjectName("CompareDialog");
        compareDialog_->setAcceptMode(QFileDialog::AcceptOpen);
        compareDialog_->setFileMode(QFileDialog::ExistingFile);
        compareDialog_->setNameFilters({kIgnFilter, kAllFilesFilter});
    }
    const QString path = dialogs_.ChooseFile(*compareDialog_);
    if (path.isEmpty()) return;
    model_.TakeEdits();

    // The file's values over the current set, as Open takes them: bytes a file does not
    // hold show no difference.
    DeviceImage read = model_.Image();
    const ParameterFileLoad load = LoadParameterFile(path.toStdString(), read);
    const QString refusal = OpenRefusalText(path, load, model_.Language());
    if (!refusal.isEmpty()) {
        dialogs_.ShowMessage(refusal);
        return;
    }
    NormalizeImage(read);
    ShowComparison(read, QFileInfo(path).fileName());
}

void HistoryController::CompareWithUnit() {
    // The unit is read into a set of its own, through the same requests and checks as Read;
    // the comparison shows when the read has verified.
    unitCopy_ = model_.Image();
    comparingUnit_ = true;
    link_.StartReadInto(unitCopy_);
}

void HistoryController::ShowComparison(const DeviceImage& reference, const QString& referenceName) {
    model_.TakeEdits();
    if (compareWindow_ == nullptr) {
        compareWindow_ = new QWidget(&window_, Qt::Window);
        compareWindow_->setObjectName("CompareWindow");
        auto* layout = new QVBoxLayout(compareWindow_);
        compare_ = new CompareView(compareWindow_);
        layout->addWidget(compare_, 1);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch(1);
        printButton_ = new QPushButton(compareWindow_);
        printButton_->setObjectName("ButtonComparePrint");
        buttons->addWidget(printButton_);
        layout->addLayout(buttons);
        connect(printButton_, &QPushButton::clicked, this, &HistoryController::PrintComparison);
        // The whole 10 x 10 map without scrolling.
        compareWindow_->resize(kCompareWidth, kCompareHeight);
    }
    compare_->SetLanguage(model_.Language());
    compareWindow_->setWindowTitle(Tr(kCompareTitle));
    printButton_->setText(Tr(kPrint));
    compare_->ShowComparison(reference, model_.Image(), referenceName + "  →  " + Tr(kCurrent));
    compareWindow_->show();
    compareWindow_->raise();
    compareWindow_->activateWindow();
}

void HistoryController::PrintComparison() {
    if (compare_ != nullptr) dialogs_.PrintPicture(compare_->PrintWidget()->grab().toImage());
}

}  // namespace korvan
