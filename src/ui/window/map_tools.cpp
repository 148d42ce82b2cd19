#include "ui/window/map_tools.h"

#include <QAction>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTabWidget>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "device/map_cursor.h"
#include "ui/window/dialogs.h"
#include "ui/window/file_commands.h"
#include "ui/window/hint_status.h"
#include "ui/window/inline_value_editor.h"
#include "ui/window/main_menu.h"
#include "ui/window/map_exchange.h"
#include "ui/window/map_tools_texts.h"
#include "ui/window/numeric_edit.h"
#include "ui/window/parameter_model.h"
#include "ui/window/parameter_pages.h"
#include "ui/window/table_colours.h"

namespace korvan {

namespace {

// How long a message of the map tools stays in the status bar.
constexpr int kStatusMs = 8000;
// The servo voltages step by 20 mV, the map by one degree; the page keys take five steps.
constexpr int kPageSteps = 5;
// A typed number beyond this is refused by the operation with what was typed.
constexpr double kLargestTyped = 1e9;

QString Text(const LocalizedText& text, std::uint8_t language) {
    return QString::fromUtf8(text.In(language));
}

// What the inline editor took: a number with "," or "." before its decimals, rounded to a
// whole number (halves away from zero), a unit behind it allowed.
std::optional<int> ParseTypedNumber(QString text) {
    text = text.trimmed();
    for (const QString& unit :
         {QStringLiteral("°"), QStringLiteral("%"), QStringLiteral("mV"), QStringLiteral("mv")}) {
        if (text.endsWith(unit)) {
            text.chop(unit.size());
            break;
        }
    }
    text.remove(QChar(' '));
    text.remove(QChar(0x00A0));  // the no-break space some locales group digits with
    text.replace(QChar(','), QChar('.'));
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    if (std::fabs(value) > kLargestTyped) return value > 0 ? INT_MAX : INT_MIN;
    return static_cast<int>(std::lround(value));
}

bool IsPlain(const QKeyEvent& key, bool shiftAllowed) {
    Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    if (shiftAllowed) mods &= ~Qt::ShiftModifier;
    return mods == Qt::NoModifier;
}

}  // namespace

MapTools::MapTools(QMainWindow& window, ParameterModel& model, ParameterPages& pages,
                   MainMenu& menu, Dialogs& dialogs, HintStatus& hints, const MapCursor& cursor,
                   const FileCommands& files)
    : window_(window),
      model_(model),
      pages_(pages),
      dialogs_(dialogs),
      hints_(hints),
      cursor_(cursor),
      exchange_(std::make_unique<MapExchange>(window, model, dialogs, files)),
      selection_(pages.TpsAxis()) {
    editor_ = new InlineValueEditor(pages.MapGroup());
    connect(editor_, &InlineValueEditor::Accepted, this, &MapTools::OnValueTyped);
    RegisterCells();
    BuildMenus(menu);
    connect(&pages, &ParameterPages::TpsAxisShown, this, &MapTools::OnThrottleAxisShown);
    connect(&model, &ParameterModel::LanguageChanged, this, &MapTools::ApplyLanguage);
    ApplyLanguage();
}

MapTools::~MapTools() {
    for (auto it = cells_.constBegin(); it != cells_.constEnd(); ++it)
        const_cast<QObject*>(it.key())->removeEventFilter(this);
}

// --- Building ---------------------------------------------------------------------------------

void MapTools::RegisterCells() {
    const TableColours::Edits& edits = pages_.Colours().Cells();
    const auto add = [this](NumericEdit* edit, Table table, int index) {
        for (QObject* part :
             {static_cast<QObject*>(edit), static_cast<QObject*>(edit->lineEdit())}) {
            cells_.insert(part, CellRef{table, index});
            part->installEventFilter(this);
        }
    };
    for (int i = 0; i < TableColours::kMapCells; ++i) add(edits.map[i], Table::Map, i);
    for (int k = 0; k < kAxisPoints; ++k) {
        add(edits.mapRpm[k], Table::MapRpm, k);
        add(edits.servoRpm[k], Table::ServoRpm, k);
        add(edits.servoVoltage[k], Table::ServoVoltage, k);
    }
}

QAction* MapTools::AddMapItem(const char* name, const QKeySequence& key) {
    QAction* item = MainMenu::AddItem(menu_, name, QString());
    // The key is shown beside the item but is not the item's shortcut: it works only while
    // the map has the focus, where the fields would otherwise take it as typing.
    item->setData(QVariant::fromValue(key));
    return item;
}

void MapTools::BuildMenus(MainMenu& menu) {
    QMenuBar* bar = window_.menuBar();
    menu_ = new QMenu(bar);
    menu_->setObjectName("MenuMap");
    bar->insertMenu(menu.languageMenu->menuAction(), menu_);

    setItem_ = AddMapItem("MenuMapSet", QKeySequence(Qt::Key_Equal));
    addItem_ = AddMapItem("MenuMapAdd", QKeySequence(Qt::Key_Plus));
    subtractItem_ = AddMapItem("MenuMapSubtract", QKeySequence(Qt::Key_Minus));
    addFiveItem_ = AddMapItem("MenuMapAddFive", QKeySequence(Qt::Key_PageUp));
    subtractFiveItem_ = AddMapItem("MenuMapSubtractFive", QKeySequence(Qt::Key_PageDown));
    scaleItem_ = AddMapItem("MenuMapScale", QKeySequence(Qt::Key_Asterisk));
    menu_->addSeparator();
    interpolateRpmItem_ = AddMapItem("MenuMapInterpolateRpm", QKeySequence(Qt::Key_H));
    interpolateThrottleItem_ = AddMapItem("MenuMapInterpolateThrottle", QKeySequence(Qt::Key_V));
    interpolateCornersItem_ = AddMapItem("MenuMapInterpolateCorners", QKeySequence(Qt::Key_Slash));
    smoothItem_ = AddMapItem("MenuMapSmooth", QKeySequence(Qt::Key_S));
    menu_->addSeparator();
    copyItem_ = AddMapItem("MenuMapCopy", QKeySequence(Qt::CTRL | Qt::Key_C));
    copyWithAxesItem_ =
        AddMapItem("MenuMapCopyWithAxes", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    pasteItem_ = AddMapItem("MenuMapPaste", QKeySequence(Qt::CTRL | Qt::Key_V));
    menu_->addSeparator();
    selectAllItem_ = AddMapItem("MenuMapSelectAll", QKeySequence(Qt::CTRL | Qt::Key_A));
    clearItem_ = AddMapItem("MenuMapClearSelection", QKeySequence(Qt::Key_Escape));
    // The one key that works from anywhere in the window: the engine's cell is wanted most
    // when the eyes are elsewhere.
    liveCellItem_ =
        MainMenu::AddItem(menu_, "MenuMapLiveCell", QString(), QKeySequence(Qt::CTRL | Qt::Key_L));

    connect(setItem_, &QAction::triggered, this, &MapTools::AskValue);
    connect(addItem_, &QAction::triggered, this, [this] { Add(1); });
    connect(subtractItem_, &QAction::triggered, this, [this] { Add(-1); });
    connect(addFiveItem_, &QAction::triggered, this, [this] { Add(kPageSteps); });
    connect(subtractFiveItem_, &QAction::triggered, this, [this] { Add(-kPageSteps); });
    connect(scaleItem_, &QAction::triggered, this, &MapTools::AskPercent);
    connect(interpolateRpmItem_, &QAction::triggered, this, &MapTools::InterpolateAlongRpm);
    connect(interpolateThrottleItem_, &QAction::triggered, this,
            &MapTools::InterpolateAlongThrottle);
    connect(interpolateCornersItem_, &QAction::triggered, this, &MapTools::InterpolateFromCorners);
    connect(smoothItem_, &QAction::triggered, this, &MapTools::Smooth);
    connect(copyItem_, &QAction::triggered, this, [this] { Copy(false); });
    connect(copyWithAxesItem_, &QAction::triggered, this, [this] { Copy(true); });
    connect(pasteItem_, &QAction::triggered, this, &MapTools::Paste);
    connect(selectAllItem_, &QAction::triggered, this, &MapTools::SelectAll);
    connect(clearItem_, &QAction::triggered, this, &MapTools::ClearSelection);
    connect(liveCellItem_, &QAction::triggered, this, &MapTools::GoToLiveCell);

    // The map as a file sits with the other files, after Save.
    QMenu* file = menu.fileMenu;
    QAction* afterSave = nullptr;
    for (QAction* item : file->actions()) {
        if (item->objectName() == QLatin1String("N2")) afterSave = item;
    }
    exportItem_ = new QAction(file);
    exportItem_->setObjectName("MenuExportMapCsv");
    importItem_ = new QAction(file);
    importItem_->setObjectName("MenuImportMapCsv");
    file->insertAction(afterSave, exportItem_);
    file->insertAction(afterSave, importItem_);
    connect(exportItem_, &QAction::triggered, this, &MapTools::ExportCsv);
    connect(importItem_, &QAction::triggered, this, &MapTools::ImportCsv);
}

void MapTools::ApplyLanguage() {
    namespace t = maptoolstext;
    const std::uint8_t language = model_.Language();
    menu_->setTitle(Text(t::kMapMenu, language));
    const struct {
        QAction* item;
        const LocalizedText& caption;
        const LocalizedText& tip;
    } items[] = {
        {setItem_, t::kSetItem, t::kSetTip},
        {addItem_, t::kAddItem, t::kAddTip},
        {subtractItem_, t::kSubtractItem, t::kSubtractTip},
        {addFiveItem_, t::kAddFiveItem, t::kAddFiveTip},
        {subtractFiveItem_, t::kSubtractFiveItem, t::kSubtractFiveTip},
        {scaleItem_, t::kScaleItem, t::kScaleTip},
        {interpolateRpmItem_, t::kInterpolateRpmItem, t::kInterpolateRpmTip},
        {interpolateThrottleItem_, t::kInterpolateThrottleItem, t::kInterpolateThrottleTip},
        {interpolateCornersItem_, t::kInterpolateCornersItem, t::kInterpolateCornersTip},
        {smoothItem_, t::kSmoothItem, t::kSmoothTip},
        {copyItem_, t::kCopyItem, t::kCopyTip},
        {copyWithAxesItem_, t::kCopyWithAxesItem, t::kCopyWithAxesTip},
        {pasteItem_, t::kPasteItem, t::kPasteTip},
        {selectAllItem_, t::kSelectAllItem, t::kSelectAllTip},
        {clearItem_, t::kClearSelectionItem, t::kClearSelectionTip},
        {liveCellItem_, t::kLiveCellItem, t::kLiveCellTip},
        {exportItem_, t::kExportItem, t::kExportTip},
        {importItem_, t::kImportItem, t::kImportTip},
    };
    for (const auto& i : items) {
        QString text = Text(i.caption, language);
        // A menu shows what follows a tab in its column of keys.
        const QKeySequence key = i.item->data().value<QKeySequence>();
        if (!key.isEmpty()) text += '\t' + key.toString(QKeySequence::NativeText);
        i.item->setText(text);
        hints_.SetHint(i.item->objectName(), Text(i.tip, language));
    }
    const TableColours::Edits& edits = pages_.Colours().Cells();
    const QString mapHint = Text(t::kMapCellHint, language);
    for (NumericEdit* edit : edits.map) hints_.SetHint(edit->objectName(), mapHint);
    for (int k = 0; k < kAxisPoints; ++k) {
        hints_.SetHint(edits.mapRpm[k]->objectName(), Text(t::kMapRpmHint, language));
        hints_.SetHint(edits.servoRpm[k]->objectName(), Text(t::kServoRpmHint, language));
        hints_.SetHint(edits.servoVoltage[k]->objectName(), Text(t::kServoVoltageHint, language));
    }
}

// --- Cells and tables -------------------------------------------------------------------------

MapCell MapTools::CellOf(int index) const {
    return {index / kMapColumns, index % kMapColumns};
}

NumericEdit* MapTools::Widget(Table table, int index) const {
    const TableColours::Edits& edits = pages_.Colours().Cells();
    switch (table) {
        case Table::Map:
            return edits.map[static_cast<std::size_t>(index)];
        case Table::MapRpm:
            return edits.mapRpm[static_cast<std::size_t>(index)];
        case Table::ServoRpm:
            return edits.servoRpm[static_cast<std::size_t>(index)];
        case Table::ServoVoltage:
            break;
    }
    return edits.servoVoltage[static_cast<std::size_t>(index)];
}

NumericEdit* MapTools::FocusedWidget() const {
    if (table_ == Table::Map) {
        const MapCell focus = selection_.Focus();
        return Widget(Table::Map, focus.row * kMapColumns + focus.column);
    }
    return Widget(table_, points_.Focus().column);
}

std::optional<PointTable> MapTools::RowTable() const {
    switch (table_) {
        case Table::Map:
            break;
        case Table::MapRpm:
            return PointTable::MapRpm;
        case Table::ServoRpm:
            return PointTable::ServoRpm;
        case Table::ServoVoltage:
            return PointTable::ServoVoltage;
    }
    return std::nullopt;
}

PointRun MapTools::SelectedRun() const {
    const MapRect run = points_.Cells();
    return {run.left, run.right};
}

void MapTools::Activate(Table table, int point) {
    if (table == table_) return;
    if (const std::optional<PointTable> old = RowTable())
        pages_.Colours().ShowPointSelection(*old, std::nullopt);
    table_ = table;
    if (table != Table::Map) {
        points_ = MapSelection(true);
        points_.FocusCell({0, point});
        ShowPointSelection();
    }
}

int MapTools::NearestIndex(Table table, const QPoint& global) const {
    const QWidget* area = Widget(table, 0)->parentWidget();
    const QPoint at = area->mapFromGlobal(global);
    const auto nearest = [](int from, int to, auto distance) {
        int best = from;
        for (int i = from + 1; i <= to; ++i) {
            if (distance(i) < distance(best)) best = i;
        }
        return best;
    };
    if (table != Table::Map) {
        return nearest(0, kAxisPoints - 1, [&](int k) {
            return std::abs(Widget(table, k)->geometry().center().x() - at.x());
        });
    }
    // The curve row is in use with and without the throttle axis; its cells give the columns.
    const int column = nearest(0, kMapColumns - 1, [&](int c) {
        return std::abs(Widget(table, kCurveRow * kMapColumns + c)->geometry().center().x() -
                        at.x());
    });
    const int row = nearest(FirstRowInUse(selection_.ThrottleAxis()), kMapRows - 1, [&](int r) {
        return std::abs(Widget(table, r * kMapColumns)->geometry().center().y() - at.y());
    });
    return row * kMapColumns + column;
}

void MapTools::FocusWidget(NumericEdit* edit) {
    movingFocus_ = true;
    edit->setFocus(Qt::OtherFocusReason);
    movingFocus_ = false;
}

void MapTools::ShowPageOf(QWidget* w) const {
    QTabWidget* tabs = pages_.Tabs();
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->widget(i)->isAncestorOf(w) && tabs->currentIndex() != i) tabs->setCurrentIndex(i);
    }
}

void MapTools::OnThrottleAxisShown(bool shown) {
    if (selection_.ThrottleAxis() != shown) selection_.SetThrottleAxis(shown);
    // The curve row may have moved: the frame follows it.
    ShowSelection();
}

void MapTools::ShowSelection() {
    pages_.Colours().ShowMapSelection(
        selection_.HasSelection() ? std::optional<MapRect>(selection_.Cells()) : std::nullopt);
    const MapRect cells = selection_.Cells();
    if (announced_ && *announced_ == cells) return;
    announced_ = cells;
    emit SelectionChanged(cells);
}

void MapTools::ShowPointSelection() {
    if (const std::optional<PointTable> row = RowTable()) {
        pages_.Colours().ShowPointSelection(
            *row, points_.HasSelection() ? std::optional<PointRun>(SelectedRun()) : std::nullopt);
    }
}

// --- Mouse, focus and keys ----------------------------------------------------------------------

bool MapTools::eventFilter(QObject* watched, QEvent* event) {
    const auto found = cells_.constFind(watched);
    if (found == cells_.constEnd()) return QObject::eventFilter(watched, event);
    const CellRef ref = *found;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            return OnMouse(ref, event);
        case QEvent::FocusIn:
            // The field itself; its text part follows it.
            if (qobject_cast<NumericEdit*>(watched) != nullptr)
                OnFocusIn(ref, static_cast<QFocusEvent*>(event)->reason());
            break;
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            Activate(ref.table, ref.index);
            const KeyAction action = KeyActionOf(*key, ref.table);
            if (action == KeyAction::None) break;
            // The map's key: no shortcut of the window takes it and the field does not see it.
            key->accept();
            if (event->type() == QEvent::KeyPress) Do(action);
            return true;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

bool MapTools::OnMouse(const CellRef& ref, QEvent* event) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const bool map = ref.table == Table::Map;
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            if (mouse->button() != Qt::LeftButton) return false;
            Activate(ref.table, ref.index);
            const bool shift = (mouse->modifiers() & Qt::ShiftModifier) != 0;
            if (map) {
                selection_.Press(CellOf(ref.index), shift);
                ShowSelection();
            } else {
                points_.Press({0, ref.index}, shift);
                ShowPointSelection();
            }
            dragging_ = ref.table;
            return false;
        }
        case QEvent::MouseMove: {
            if (dragging_ != ref.table || (mouse->buttons() & Qt::LeftButton) == 0) return false;
            MapSelection& selection = map ? selection_ : points_;
            const int index = NearestIndex(ref.table, mouse->globalPosition().toPoint());
            const MapCell target = map ? CellOf(index) : MapCell{0, index};
            if (target != selection.Focus()) {
                selection.DragTo(target);
                if (map) {
                    ShowSelection();
                } else {
                    ShowPointSelection();
                }
            }
            // Beyond the cell where the button went down the drag selects cells, not text.
            return selection.HasSelection();
        }
        case QEvent::MouseButtonRelease:
            if (mouse->button() != Qt::LeftButton || dragging_ != ref.table) return false;
            dragging_.reset();
            // The cursor goes where the drag ended, as in a spreadsheet: Shift+arrows go on
            // from there, and without the block the tools act on that cell.
            if ((map ? selection_ : points_).HasSelection()) FocusWidget(FocusedWidget());
            return false;
        default:
            return false;
    }
}

void MapTools::OnFocusIn(const CellRef& ref, Qt::FocusReason reason) {
    // The focus coming back (another program, a box, a menu) or moved by this class itself
    // is no new choice.
    if (movingFocus_ || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return;
    Activate(ref.table, ref.index);
    // Tab, Enter and a mnemonic move on to a cell; a click is the mouse press's.
    if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason &&
        reason != Qt::ShortcutFocusReason)
        return;
    if (ref.table == Table::Map) {
        selection_.FocusCell(CellOf(ref.index));
        ShowSelection();
    } else {
        points_.FocusCell({0, ref.index});
        ShowPointSelection();
    }
}

MapTools::KeyAction MapTools::KeyActionOf(const QKeyEvent& key, Table table) const {
    const bool map = table == Table::Map;
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::ShiftModifier) {
        switch (key.key()) {
            case Qt::Key_Left:
                return KeyAction::GrowLeft;
            case Qt::Key_Right:
                return KeyAction::GrowRight;
            case Qt::Key_Up:
                return map ? KeyAction::GrowUp : KeyAction::None;
            case Qt::Key_Down:
                return map ? KeyAction::GrowDown : KeyAction::None;
            default:
                break;
        }
    }
    if (mods == Qt::ControlModifier) {
        switch (key.key()) {
            case Qt::Key_A:
                return KeyAction::SelectAll;
            case Qt::Key_C:
                return map ? KeyAction::Copy : KeyAction::None;
            case Qt::Key_V:
                return map ? KeyAction::Paste : KeyAction::None;
            default:
                return KeyAction::None;
        }
    }
    if (mods == (Qt::ControlModifier | Qt::ShiftModifier) && key.key() == Qt::Key_C)
        return map ? KeyAction::CopyWithAxes : KeyAction::None;
    if (key.key() == Qt::Key_Escape && mods == Qt::NoModifier) {
        const bool selecting = map ? selection_.HasSelection() : points_.HasSelection();
        return selecting ? KeyAction::Clear : KeyAction::None;
    }
    if (IsPlain(key, false)) {
        if (key.key() == Qt::Key_PageUp) return KeyAction::AddFive;
        if (key.key() == Qt::Key_PageDown) return KeyAction::SubtractFive;
    }
    // The signs and letters come with Shift on many keyboards.
    if (!IsPlain(key, true)) return KeyAction::None;
    switch (key.key()) {
        case Qt::Key_Equal:
            return KeyAction::AskValue;
        case Qt::Key_Plus:
            return KeyAction::AddOne;
        case Qt::Key_Minus:
            return KeyAction::SubtractOne;
        case Qt::Key_Asterisk:
            return KeyAction::AskPercent;
        case Qt::Key_H:
            return KeyAction::InterpolateRpm;
        case Qt::Key_V:
            return KeyAction::InterpolateThrottle;
        case Qt::Key_Slash:
            return KeyAction::InterpolateCorners;
        case Qt::Key_S:
            return KeyAction::Smooth;
        default:
            return KeyAction::None;
    }
}

void MapTools::Do(KeyAction action) {
    const auto grow = [this](int rows, int columns) {
        const bool map = table_ == Table::Map;
        MapSelection& selection = map ? selection_ : points_;
        selection.Step(rows, columns, true);
        FocusWidget(FocusedWidget());
        if (map) {
            ShowSelection();
        } else {
            ShowPointSelection();
        }
    };
    switch (action) {
        case KeyAction::None:
            break;
        case KeyAction::GrowLeft:
            grow(0, -1);
            break;
        case KeyAction::GrowRight:
            grow(0, 1);
            break;
        case KeyAction::GrowUp:
            grow(-1, 0);
            break;
        case KeyAction::GrowDown:
            grow(1, 0);
            break;
        case KeyAction::SelectAll:
            SelectAll();
            break;
        case KeyAction::Clear:
            ClearSelection();
            break;
        case KeyAction::Copy:
            Copy(false);
            break;
        case KeyAction::CopyWithAxes:
            Copy(true);
            break;
        case KeyAction::Paste:
            Paste();
            break;
        case KeyAction::AskValue:
            AskValue();
            break;
        case KeyAction::AddOne:
            Add(1);
            break;
        case KeyAction::SubtractOne:
            Add(-1);
            break;
        case KeyAction::AddFive:
            Add(kPageSteps);
            break;
        case KeyAction::SubtractFive:
            Add(-kPageSteps);
            break;
        case KeyAction::AskPercent:
            AskPercent();
            break;
        case KeyAction::InterpolateRpm:
            InterpolateAlongRpm();
            break;
        case KeyAction::InterpolateThrottle:
            InterpolateAlongThrottle();
            break;
        case KeyAction::InterpolateCorners:
            InterpolateFromCorners();
            break;
        case KeyAction::Smooth:
            Smooth();
            break;
    }
}

// --- Selection commands -------------------------------------------------------------------------

void MapTools::SelectAll() {
    if (table_ == Table::Map) {
        selection_.SelectAll();
        ShowSelection();
    } else {
        points_.Select({0, 0, 0, kAxisPoints - 1});
        ShowPointSelection();
    }
}

void MapTools::ClearSelection() {
    if (table_ == Table::Map) {
        selection_.Clear();
        ShowSelection();
    } else {
        points_.Clear();
        ShowPointSelection();
    }
}

void MapTools::SelectCell(const MapCell& cell) {
    const bool inUse = cell.row >= 0 && cell.row < kMapRows && cell.column >= 0 &&
                       cell.column < kMapColumns && (pages_.TpsAxis() || cell.row == kCurveRow);
    if (!inUse) return;
    Activate(Table::Map, 0);
    selection_.FocusCell(cell);
    // The click may come from another window (the 3D view): the main window comes forward and
    // the cell's text is selected, so that typing replaces it.
    movingFocus_ = true;
    pages_.FocusMapCell(cell);
    movingFocus_ = false;
    ShowSelection();
}

void MapTools::GoToLiveCell() {
    const std::uint8_t language = model_.Language();
    if (cursor_.Cleared) {
        ShowStatus(Text(maptoolstext::kNoLiveCell, language));
        return;
    }
    if (cursor_.BelowRpmAxis) {
        ShowStatus(Text(maptoolstext::kBelowRpmAxis, language));
        return;
    }
    SelectCell({cursor_.TpsIndex, cursor_.RpmIndex});
}

// --- Operations ---------------------------------------------------------------------------------

void MapTools::ShowStatus(const QString& text) const {
    window_.statusBar()->showMessage(text, kStatusMs);
}

void MapTools::TakeTypedText() {
    const DeviceImage before = model_.Image();
    model_.TakeEdits();
    if (model_.Image() != before) model_.Commit(ModelChange(CommitKind::TypedField));
}

bool MapTools::Apply(const DeviceImage& edited, const EditOutcome& outcome, Tell tell,
                     const LocalizedText* refusalHeading) {
    const std::uint8_t language = model_.Language();
    if (outcome.refused) {
        // A cancelled dialog refuses without a word.
        if (outcome.reason.Empty()) return false;
        const std::string reason = outcome.reason.In(language);
        ShowStatus(QString::fromStdString(reason));
        if (tell == Tell::Box) {
            dialogs_.ShowMessage(QString::fromStdString(
                refusalHeading ? Fill(*refusalHeading, language, reason) : reason));
        }
        return false;
    }
    if (outcome.cellsChanged == 0) {
        ShowStatus(Text(maptoolstext::kNothingChanged, language));
        return false;
    }
    model_.MutableImage() = edited;
    model_.Commit(ModelChange(CommitKind::MapOperation, StepName(outcome.step)));
    ShowStatus(QString::fromStdString(outcome.step.In(language)));
    return true;
}

template <typename Operation>
bool MapTools::Run(Operation operation) {
    editor_->Cancel();
    ShowPageOf(FocusedWidget());
    TakeTypedText();
    DeviceImage edited = model_.Image();
    const EditOutcome outcome = operation(edited);
    return Apply(edited, outcome);
}

void MapTools::SetTo(int value) {
    Run([&](DeviceImage& image) {
        const std::optional<PointTable> row = RowTable();
        return row ? SetPoints(image, *row, SelectedRun(), value)
                   : SetCells(image, selection_.Cells(), value);
    });
}

void MapTools::Add(int steps) {
    Run([&](DeviceImage& image) {
        const std::optional<PointTable> row = RowTable();
        return row ? AddToPoints(image, *row, SelectedRun(), steps)
                   : AddToCells(image, selection_.Cells(), steps);
    });
}

void MapTools::Scale(int percent) {
    Run([&](DeviceImage& image) {
        const std::optional<PointTable> row = RowTable();
        return row ? ScalePoints(image, *row, SelectedRun(), percent)
                   : ScaleCells(image, selection_.Cells(), percent);
    });
}

void MapTools::InterpolateAlongRpm() {
    Run([&](DeviceImage& image) {
        const std::optional<PointTable> row = RowTable();
        return row ? InterpolatePoints(image, *row, SelectedRun())
                   : korvan::InterpolateAlongRpm(image, selection_.Cells());
    });
}

void MapTools::InterpolateAlongThrottle() {
    if (RowTable()) {
        ShowStatus(Text(maptoolstext::kNoThrottleInARow, model_.Language()));
        return;
    }
    Run([&](DeviceImage& image) {
        return korvan::InterpolateAlongThrottle(image, selection_.Cells());
    });
}

void MapTools::InterpolateFromCorners() {
    Run([&](DeviceImage& image) {
        const std::optional<PointTable> row = RowTable();
        return row ? InterpolatePoints(image, *row, SelectedRun())
                   : korvan::InterpolateFromCorners(image, selection_.Cells());
    });
}

void MapTools::Smooth() {
    Run([&](DeviceImage& image) {
        const std::optional<PointTable> row = RowTable();
        return row ? SmoothPoints(image, *row, SelectedRun())
                   : SmoothCells(image, selection_.Cells());
    });
}

void MapTools::AskValue() {
    const std::optional<PointTable> row = RowTable();
    // An RPM row can only be interpolated: the refusal says so at once, before any typing.
    if (row && *row != PointTable::ServoVoltage) {
        DeviceImage scratch = model_.Image();
        Apply(scratch, SetPoints(scratch, *row, SelectedRun(), kMinServoMv));
        return;
    }
    NumericEdit* cell = FocusedWidget();
    ShowPageOf(cell);
    if (editor_->parentWidget() != cell->parentWidget()) editor_->setParent(cell->parentWidget());
    askingPercent_ = false;
    const std::uint8_t language = model_.Language();
    editor_->Open(cell,
                  Text(row ? maptoolstext::kSetMillivolts : maptoolstext::kSetDegrees, language),
                  cell->text());
}

void MapTools::AskPercent() {
    const std::optional<PointTable> row = RowTable();
    if (row && *row != PointTable::ServoVoltage) {
        DeviceImage scratch = model_.Image();
        Apply(scratch, ScalePoints(scratch, *row, SelectedRun(), 100));
        return;
    }
    NumericEdit* cell = FocusedWidget();
    ShowPageOf(cell);
    if (editor_->parentWidget() != cell->parentWidget()) editor_->setParent(cell->parentWidget());
    askingPercent_ = true;
    editor_->Open(cell, Text(maptoolstext::kScalePercent, model_.Language()),
                  QStringLiteral("100"));
}

void MapTools::OnValueTyped(const QString& text) {
    const std::optional<int> value = ParseTypedNumber(text);
    if (!value) {
        ShowStatus(QString::fromStdString(
            Fill(maptoolstext::kNotANumber, model_.Language(), text.trimmed().toStdString())));
        return;
    }
    if (askingPercent_) {
        Scale(*value);
    } else {
        SetTo(*value);
    }
}

// --- Clipboard and files ------------------------------------------------------------------------

void MapTools::Copy(bool withAxes) {
    TakeTypedText();
    exchange_->Copy(model_.Image(), selection_.Cells(), withAxes);
}

void MapTools::Paste() {
    editor_->Cancel();
    TakeTypedText();
    DeviceImage edited = model_.Image();
    const EditOutcome outcome = exchange_->Paste(edited, selection_.Cells());
    if (!Apply(edited, outcome, Tell::Box, &maptoolstext::kPasteRefused)) return;
    // What was written is selected, so that the next key acts on it.
    if (outcome.cells.Cells() > 1) {
        selection_.Select(outcome.cells);
        ShowSelection();
    }
}

void MapTools::ExportCsv() {
    model_.TakeEdits();
    exchange_->ExportCsv(model_.Image());
}

void MapTools::ImportCsv() {
    TakeTypedText();
    DeviceImage edited = model_.Image();
    const EditOutcome outcome = exchange_->ImportCsv(edited);
    Apply(edited, outcome, Tell::Box, &maptoolstext::kImportRefused);
}

}  // namespace korvan
