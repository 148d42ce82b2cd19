#include "ui/window/surface_window_controller.h"

#include <QAction>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>
#include <QPrinter>
#include <QTimeZone>
#include <QVector>

#include "files/ini_store.h"
#include "files/parameter_file.h"
#include "history/restore_store.h"
#include "params/binding.h"
#include "params/language_tables.h"
#include "ui/languages/qt_fill.h"
#include "ui/surface/surface_texts.h"
#include "ui/surface/surface_view.h"
#include "ui/surface/surface_window.h"
#include "ui/window/dialogs.h"
#include "ui/window/link_view.h"
#include "ui/window/main_menu.h"
#include "ui/window/parameter_model.h"

namespace korvan {

namespace {

// The compare menu lists this many of the newest restore points; the history window has all.
constexpr int kOfferedPoints = 25;
// The window opens beside the main window's top left corner, not over its menu.
constexpr int kWindowOffset = 40;

const QString kIgnFilter = QStringLiteral("Ignition Parametrs(*.ign)");
const QString kAllFilesFilter = QStringLiteral("All Files (*.*)");

SurfaceMap MapOf(const DeviceImage& image) {
    return SurfaceMapFromImage(image, image[field::TpsMapa] != 0);
}

// "20261208T064503Z" in the user's local time and short date.
QString LocalTime(const std::string& stamp) {
    const QDateTime utc =
        QDateTime::fromString(QString::fromLatin1(stamp.c_str()), "yyyyMMdd'T'HHmmss'Z'");
    if (!utc.isValid()) return QString::fromStdString(stamp);
    const QDateTime t(utc.date(), utc.time(), QTimeZone::utc());
    return QLocale::system().toString(t.toLocalTime(), QLocale::ShortFormat);
}

}  // namespace

SurfaceWindowController::SurfaceWindowController(QMainWindow& window, ParameterModel& model,
                                                 DeviceLink& link, LinkView& view, MainMenu& menu,
                                                 Dialogs& dialogs, RestoreStore& points)
    : window_(window), model_(model), link_(link), dialogs_(dialogs), points_(points) {
    menu.toolsMenu->addSeparator()->setObjectName("NSurface3D");
    menuItem_ = MainMenu::AddItem(menu.toolsMenu, "MenuSurface3D", QString(),
                                  QKeySequence(Qt::CTRL | Qt::Key_3));
    connect(menuItem_, &QAction::triggered, this, &SurfaceWindowController::ShowWindow);
    connect(&model, &ParameterModel::Changed, this, &SurfaceWindowController::ShowMaps);
    connect(&model, &ParameterModel::EditsTaken, this, &SurfaceWindowController::ShowMaps);
    connect(&model, &ParameterModel::LanguageChanged, this,
            &SurfaceWindowController::ApplyLanguage);
    connect(&view, &LinkView::CursorMoved, this, &SurfaceWindowController::ShowCursor);
    connect(&view, &LinkView::OperationEnded, this, &SurfaceWindowController::OperationFinished);
    ApplyLanguage();
}

SurfaceWindowController::~SurfaceWindowController() {
    // The window is the main window's child but shows what is ours.
    delete window3d_;
}

QString SurfaceWindowController::Tr(const LocalizedText& text) const {
    return QString::fromUtf8(text.In(model_.Language()));
}

void SurfaceWindowController::Load(const IniStore& store) {
    const std::optional<std::string> text = store.ReadString(kSection, kViewKey);
    if (!text) return;
    if (const std::optional<ViewAngle> view = ParseViewAngle(*text)) {
        view_ = *view;
        viewKnown_ = true;
        if (window3d_ != nullptr) window3d_->View().SetView(view_);
    }
}

void SurfaceWindowController::Save(IniStore& store) const {
    // A user who never opened the window gets no key of it.
    if (!viewKnown_ && window3d_ == nullptr) return;
    const ViewAngle view = window3d_ != nullptr ? window3d_->View().View() : view_;
    store.SetString(kSection, kViewKey, ViewAngleText(view));
}

void SurfaceWindowController::ApplyLanguage() {
    menuItem_->setText(Tr(surfacetext::kMenuItem));
    if (window3d_ == nullptr) return;
    window3d_->SetLanguage(model_.Language());
    ShowMaps();  // the compared tune's name is in words
    if (compared_) emit CompareChanged(compared_, ComparedName());
}

QString SurfaceWindowController::ComparedName() const {
    if (!compared_) return QString();
    switch (source_) {
        case Source::Unit:
            return Tr(surfacetext::kTheUnit);
        case Source::Point:
            return QFill(surfacetext::kPointName, model_.Language(), subject_);
        case Source::File:
            break;
    }
    return subject_;
}

void SurfaceWindowController::ShowWindow() {
    if (window3d_ == nullptr) {
        window3d_ = new SurfaceWindow(model_.Language(), &window_);
        SurfaceWindow& w = *window3d_;
        w.View().SetView(view_);
        w.View().SetSelection(selection_);
        connect(&w, &SurfaceWindow::CompareFileRequested, this,
                &SurfaceWindowController::CompareWithFile);
        connect(&w, &SurfaceWindow::CompareUnitRequested, this,
                &SurfaceWindowController::CompareWithUnit);
        connect(&w, &SurfaceWindow::ComparePointRequested, this,
                &SurfaceWindowController::CompareWithPoint);
        connect(&w, &SurfaceWindow::CompareEndRequested, this,
                &SurfaceWindowController::EndCompare);
        connect(&w, &SurfaceWindow::PointsWanted, this, &SurfaceWindowController::OfferPoints);
        connect(&w, &SurfaceWindow::SavePngRequested, this, &SurfaceWindowController::SavePicture);
        connect(&w, &SurfaceWindow::PrintRequested, this, &SurfaceWindowController::PrintPicture);
        connect(&w, &SurfaceWindow::CellClicked, this, [this](int row, int column) {
            emit CellClicked(MapCell{row, column});
        });
        ShowMaps();
        w.View().SetLiveCell(live_);
        w.move(window_.frameGeometry().topLeft() + QPoint(kWindowOffset, kWindowOffset));
        viewKnown_ = true;
    }
    window3d_->show();
    window3d_->raise();
    window3d_->activateWindow();
}

void SurfaceWindowController::ShowMaps() {
    if (window3d_ == nullptr) return;
    std::optional<SurfaceMap> other;
    if (compared_) other = MapOf(*compared_);
    window3d_->SetMaps(MapOf(model_.Image()), other, ComparedName());
}

void SurfaceWindowController::ShowCursor(const MapCursor& cursor) {
    live_ = SurfaceView::LiveCellOf(cursor);
    // Followed while the window is hidden too, so the trail is whole when it is shown again;
    // an unchanged cell costs a comparison.
    if (window3d_ != nullptr) window3d_->View().SetLiveCell(live_);
}

void SurfaceWindowController::ShowSelection(const MapRect& selection) {
    selection_.reset();
    if (selection.OnMap()) {
        selection_ =
            CellRange{{selection.top, selection.left}, {selection.bottom, selection.right}};
    }
    if (window3d_ != nullptr) window3d_->View().SetSelection(selection_);
}

// --- Comparing ---

void SurfaceWindowController::SetCompared(const DeviceImage& other, Source source,
                                          const QString& subject) {
    compared_ = other;
    source_ = source;
    subject_ = subject;
    ShowMaps();
    emit CompareChanged(compared_, ComparedName());
}

void SurfaceWindowController::EndCompare() {
    readingUnit_ = false;
    if (!compared_) return;
    compared_.reset();
    ShowMaps();
    emit CompareChanged(compared_, QString());
}

QFileDialog& SurfaceWindowController::Dialog(QFileDialog*& dialog, const char* name, bool save) {
    if (dialog == nullptr) {
        dialog = new QFileDialog(window3d_ != nullptr ? static_cast<QWidget*>(window3d_)
                                                      : static_cast<QWidget*>(&window_));
        dialog->setObjectName(name);
        dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    }
    return *dialog;
}

QString SurfaceWindowController::ChooseFile(QFileDialog& dialog) {
    const QString path = dialogs_.ChooseFile(dialog);
    // The dialog gives the main window its focus back; the user was working in this one.
    if (window3d_ != nullptr && window3d_->isVisible()) window3d_->activateWindow();
    return path;
}

void SurfaceWindowController::CompareWithFile() {
    QFileDialog& dialog = Dialog(compareDialog_, "SurfaceCompareDialog", false);
    dialog.setNameFilters({kIgnFilter, kAllFilesFilter});
    const QString path = ChooseFile(dialog);
    if (path.isEmpty()) return;
    model_.TakeEdits();
    // The file's values over the current set, as Open takes them: bytes a file does not hold
    // show no difference.
    DeviceImage read = model_.Image();
    const ParameterFileLoad load = LoadParameterFile(path.toStdString(), read);
    if (!load.file.ok) {
        dialogs_.ShowMessage(
            QFill(surfacetext::kFileNotCompared, model_.Language(), path, load.file.error));
        return;
    }
    if (!load.parsed.accepted) {
        dialogs_.ShowMessage(Tr(kIgnVersionMessage));
        return;
    }
    NormalizeImage(read);
    SetCompared(read, Source::File, QFileInfo(path).fileName());
}

void SurfaceWindowController::CompareWithUnit() {
    unitCopy_ = model_.Image();
    link_.StartReadInto(unitCopy_);
    // Set after the start: the end of an operation the read replaced is not this read's.
    readingUnit_ = true;
}

void SurfaceWindowController::OperationFinished(const OperationEnd& end) {
    if (!end.separateImage || !readingUnit_) return;
    readingUnit_ = false;
    // A read that failed says so in the message row; the comparison stays as it was, and
    // what the unit holds is no longer known (as after the history's compare).
    if (!end.ok) {
        model_.RecordUnitFailure();
        return;
    }
    model_.RecordUnitSuccess(unitCopy_);
    SetCompared(unitCopy_, Source::Unit, QString());
}

void SurfaceWindowController::CompareWithPoint(const QString& fileName) {
    model_.TakeEdits();
    LoadedPoint loaded = points_.Load(fileName.toStdString(), model_.Image());
    if (!loaded.ok) {
        dialogs_.ShowMessage(QFill(surfacetext::kPointNotRead, model_.Language(), fileName));
        return;
    }
    NormalizeImage(loaded.image);
    SetCompared(loaded.image, Source::Point, fileName);
}

void SurfaceWindowController::OfferPoints() {
    if (window3d_ == nullptr) return;
    QVector<SurfaceWindow::PointItem> items;
    const std::uint8_t language = model_.Language();
    for (const RestorePoint& p : points_.List()) {
        if (p.unreadable) continue;
        QString text =
            LocalTime(p.time) + "  " + QString::fromUtf8(RestoreKindText(p.kind, language));
        if (!p.unit.VersionString.empty())
            text += "  " + QString::fromStdString(p.unit.VersionString).remove(QChar(u'\0'));
        if (!p.sourcePath.empty())
            text += "  " + QFileInfo(QString::fromStdString(p.sourcePath)).fileName();
        if (!p.note.empty()) text += "  " + QString::fromStdString(p.note);
        items.push_back({QString::fromStdString(p.fileName), text});
        if (items.size() >= kOfferedPoints) break;
    }
    window3d_->SetRestorePoints(items);
}

// --- Pictures ---

void SurfaceWindowController::SavePicture() {
    if (window3d_ == nullptr) return;
    QFileDialog& dialog = Dialog(pngDialog_, "SurfacePngDialog", true);
    dialog.setNameFilter(Tr(surfacetext::kPngFiles));
    dialog.setDefaultSuffix(QStringLiteral("png"));
    const QString path = ChooseFile(dialog);
    if (path.isEmpty()) return;
    QString error;
    if (!window3d_->View().SavePng(path, &error)) dialogs_.ShowMessage(error);
}

void SurfaceWindowController::PrintPicture() {
    if (window3d_ == nullptr) return;
    std::unique_ptr<QPrinter> printer = dialogs_.Printer();
    if (!printer) {
        dialogs_.ShowMessage(Tr(kNoPrinterMessage));
        return;
    }
    QString error;
    if (!window3d_->View().Print(*printer, &error)) dialogs_.ShowMessage(error);
}

}  // namespace korvan
