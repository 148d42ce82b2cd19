#include "ui/window/history_controller.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>

#include "files/atomic_write.h"
#include "files/parameter_file.h"
#include "params/binding.h"
#include "params/localized_text.h"
#include "ui/history/compare_view.h"
#include "ui/history/history_window.h"
#include "params/language_tables.h"
#include "ui/printing/window_print.h"
#include "ui/window/form_hlav.h"
#include "ui/window/main_menu.h"
#include "ui/window/monitor_column.h"
#include "ui/window/progress_row.h"

namespace korvan {

namespace {

const LocalizedText kHistoryItem{"&Historie...", "&History...", "&Verlauf..."};
const LocalizedText kCompareFileItem{"Porovnat se &souborem...", "Compare with &file...",
                                     "Mit &Datei vergleichen..."};
const LocalizedText kCompareUnitItem{"Porovnat s &jednotkou", "Compare with &unit",
                                     "Mit &Zündbox vergleichen"};
const LocalizedText kCompareTitle{"Porovnání", "Compare", "Vergleich"};
const LocalizedText kPrint{"&Tisk", "&Print", "&Drucken"};
const LocalizedText kCurrent{"aktuální parametry", "current parameters", "aktuelle Parameter"};
const LocalizedText kTheUnit{"jednotka", "the unit", "die Zündbox"};
const LocalizedText kPointName{"bod obnovy %1", "restore point %1", "Wiederherstellungspunkt %1"};
const LocalizedText kNotStored{"Bod obnovy nebyl uložen: %1", "Restore point not stored: %1",
                               "Wiederherstellungspunkt nicht gespeichert: %1"};
const LocalizedText kUnreadablePoint{"Bod obnovy %1 nelze přečíst.",
                                     "The restore point %1 cannot be read.",
                                     "Der Wiederherstellungspunkt %1 ist nicht lesbar."};
constexpr int kHistoryWidth = 640;
constexpr int kHistoryHeight = 360;
constexpr int kCompareWidth = 900;
constexpr int kCompareHeight = 720;

const char* kOpenFileError = "Open file error";
const char* kNoPrinter = "There is no default printer currently selected";
const QString kIgnFilter = QStringLiteral("Ignition Parametrs(*.ign)");
const QString kAllFilesFilter = QStringLiteral("All Files (*.*)");

}  // namespace

HistoryController::HistoryController(QMainWindow& window, DeviceImage& image,
                                     const std::uint8_t& languageIndex, const FormOptions& options,
                                     DeviceLink& link, MonitorColumn& monitor,
                                     ProgressRow& progress, QMenu* tools)
    : window_(window),
      image_(image),
      languageIndex_(languageIndex),
      options_(options),
      link_(link),
      monitor_(monitor),
      progress_(progress),
      store_(HistoryFolder().toStdString()) {
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
    return QString::fromUtf8(text.In(languageIndex_));
}

void HistoryController::SetLanguage(std::uint8_t language) {
    (void)language;  // the reference already holds it
    historyItem->setText(Tr(kHistoryItem));
    compareFileItem->setText(Tr(kCompareFileItem));
    compareUnitItem->setText(Tr(kCompareUnitItem));
    if (history_ != nullptr) history_->SetLanguage(languageIndex_);
    if (compare_ != nullptr) {
        compare_->SetLanguage(languageIndex_);
        compareWindow_->setWindowTitle(Tr(kCompareTitle));
        printButton_->setText(Tr(kPrint));
    }
    UpdateUnitState();
}

void HistoryController::UpdateUnitState() {
    unitState_->setText(
        QString::fromStdString(UnitStateText(tracker_.ChangesSinceUnit(image_), languageIndex_)));
    // The status bar lays its fields out later; the text must never be cut meanwhile.
    unitState_->setMinimumWidth(unitState_->sizeHint().width());
}

void HistoryController::OperationFinished(const OperationEnd& end) {
    if (end.separateImage) {
        // "Compare with unit": a read that verified tells what the unit holds as well.
        if (!comparingUnit_) return;
        comparingUnit_ = false;
        if (end.ok) {
            tracker_.RecordSuccess(unitCopy_);
            ShowComparison(unitCopy_, Tr(kTheUnit));
        } else {
            tracker_.RecordFailure();
        }
        UpdateUnitState();
        return;
    }
    comparingUnit_ = false;  // a plain start command replaced the compare's read
    if (!end.ok) {
        // A burn broken off may have left any mix of pages behind.
        tracker_.RecordFailure();
        UpdateUnitState();
        return;
    }
    tracker_.RecordSuccess(image_);
    UpdateUnitState();
    if (end.started == OperationMode::Read) {
        StorePoint(RestoreKind::Read, DecodeIdentity(image_), {});
    } else if (end.started == OperationMode::Program) {
        StorePoint(RestoreKind::Programmed, DecodeIdentity(image_), {});
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
    const AddResult added = store_.Add(kind, image_, monitor_.Extended(), unit,
                                       sourcePath.toStdString(), std::string());
    if (!added.ok) {
        // The operation has completed; a history that cannot be written only says so, once,
        // until a point can be stored again.
        if (!storeProblemShown_) {
            window_.statusBar()->showMessage(
                Tr(kNotStored).arg(QString::fromStdString(added.error)));
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
        history_->SetFolderOpener([this](const QString& path) {
            const QUrl url = QUrl::fromLocalFile(path);
            if (options_.openUrl) {
                options_.openUrl(url);
            } else {
                QDesktopServices::openUrl(url);
            }
        });
        connect(history_, &HistoryWindow::openRequested, this, &HistoryController::OpenPoint);
        connect(history_, &HistoryWindow::compareRequested, this, &HistoryController::ComparePoint);
    }
    history_->SetLanguage(languageIndex_);
    history_->Refresh();
    history_->show();
    history_->raise();
    history_->activateWindow();
}

bool HistoryController::LoadPoint(const QString& fileName, LoadedPoint& loaded) {
    loaded = store_.Load(fileName.toStdString(), image_);
    if (loaded.ok) return true;
    if (history_ != nullptr) history_->MarkUnreadable(fileName);
    showMessage(Tr(kUnreadablePoint).arg(fileName));
    return false;
}

void HistoryController::OpenPoint(const QString& fileName) {
    LoadedPoint loaded;
    if (!LoadPoint(fileName, loaded)) return;
    LoadIntoEditor(loaded.image, loaded.extendedMonitor, Tr(kPointName).arg(fileName));
}

void HistoryController::LoadIntoEditor(const DeviceImage& loaded, bool extendedMonitor,
                                       const QString& name) {
    // As File > Open takes a file, without the dialog, and as one undo step where the window
    // keeps an undo stack.
    if (loadAsStep) {
        loadAsStep(loaded, extendedMonitor, name);
    } else {
        image_ = loaded;
        monitor_.SetExtended(extendedMonitor);
        applyChange();
    }
    // The tune no longer is the file the label named; Save asks for a name as after Read.
    progress_.SetFileName(QString());
}

void HistoryController::ComparePoint(const QString& fileName) {
    takeControls();
    LoadedPoint loaded;
    if (!LoadPoint(fileName, loaded)) return;
    NormalizeImage(loaded.image);
    ShowComparison(loaded.image, Tr(kPointName).arg(fileName));
}

void HistoryController::CompareWithFile() {
    if (compareDialog_ == nullptr) {
        compareDialog_ = new QFileDialog(&window_);
        compareDialog_->setObjectName("CompareDialog");
        compareDialog_->setAcceptMode(QFileDialog::AcceptOpen);
        compareDialog_->setFileMode(QFileDialog::ExistingFile);
        compareDialog_->setNameFilters({kIgnFilter, kAllFilesFilter});
    }
    QString path;
    if (options_.fileDialog) {
        path = options_.fileDialog(*compareDialog_);
    } else if (compareDialog_->exec() == QDialog::Accepted &&
               !compareDialog_->selectedFiles().isEmpty()) {
        path = compareDialog_->selectedFiles().first();
    }
    window_.activateWindow();
    if (path.isEmpty()) return;
    takeControls();

    // The file's values over the current set, as Open takes them: bytes a file does not
    // hold show no difference.
    DeviceImage read = image_;
    const ParameterFileLoad load = LoadParameterFile(path.toStdString(), read);
    if (!load.file.ok) {
        showMessage(QString::fromUtf8(kOpenFileError));
        return;
    }
    if (!load.parsed.accepted) {
        showMessage(QString::fromUtf8(kIgnVersionMessage.In(languageIndex_)));
        return;
    }
    NormalizeImage(read);
    ShowComparison(read, QFileInfo(path).fileName());
}

void HistoryController::CompareWithUnit() {
    // The unit is read into a set of its own, through the same requests and checks as Read;
    // the comparison shows when the read has verified.
    unitCopy_ = image_;
    comparingUnit_ = true;
    link_.StartReadInto(unitCopy_);
}

void HistoryController::ShowComparison(const DeviceImage& reference, const QString& referenceName) {
    takeControls();
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
    compare_->SetLanguage(languageIndex_);
    compareWindow_->setWindowTitle(Tr(kCompareTitle));
    printButton_->setText(Tr(kPrint));
    compare_->ShowComparison(reference, image_, referenceName + "  →  " + Tr(kCurrent));
    compareWindow_->show();
    compareWindow_->raise();
    compareWindow_->activateWindow();
}

void HistoryController::PrintComparison() {
    if (compare_ == nullptr) return;
    std::unique_ptr<QPrinter> printer;
    if (options_.printer) {
        printer = options_.printer();
    } else if (DefaultPrinterAvailable()) {
        printer =
            std::make_unique<QPrinter>(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    }
    QString error = QString::fromUtf8(kNoPrinter);
    if (printer && PrintImageOnePage(*printer, compare_->PrintWidget()->grab().toImage(), &error)) {
        return;
    }
    showMessage(error);
}

}  // namespace korvan
