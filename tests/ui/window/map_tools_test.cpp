// The map tools in the real window: selecting with the mouse and the keys, every operation
// by its key and the Map menu as one undo step, refusals that change nothing, the rows of
// points, the clipboard, the .csv file, the advance kept on an RPM move, Ctrl+L and the hints.
#include <sys/stat.h>

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QUndoStack>
#include <cmath>
#include <functional>

#include "device/frame.h"
#include "params/binding.h"
#include "params/map_text.h"
#include "tests/ui/window/window_fixture.h"
#include "ui/window/inline_value_editor.h"
#include "ui/window/keep_advance_option.h"
#include "ui/window/map_tools.h"
#include "ui/window/parameter_undo.h"
#include "ui/window/table_colours.h"

namespace korvan {

void PrintTo(const MapRect& r, std::ostream* os) {
    *os << "rows " << r.top << ".." << r.bottom << ", columns " << r.left << ".." << r.right;
}

namespace testing {
namespace {

using Operation = std::function<EditOutcome(DeviceImage&, const MapRect&)>;

class MapToolsTest : public WindowTest {
  public:
    // The window on the Advance Map page, its map holding a different value in nearly every
    // cell (10..32), so that every operation changes something.
    void OpenMap(bool throttleAxis = true, const QStringList& arguments = {"ENGLISH"}) {
        Open(arguments);
        DeviceImage image = form->Image();
        image[field::TpsMapa] = throttleAxis ? 1 : 0;
        for (int r = 0; r < kMapRows; ++r) {
            for (int c = 0; c < kMapColumns; ++c)
                image[AdvanceIndex(r, c)] = static_cast<std::uint8_t>(10 + (r * 7 + c * 3) % 23);
        }
        form->Model().Replace(image, ModelChange(CommitKind::Open, "pattern.ign"));
        Find<QTabWidget>("PageControl1")->setCurrentIndex(1);
    }
    NumericEdit* Cell(MapCell cell) const {
        return Edit(MapCellEditName(cell.row * kMapColumns + cell.column).c_str());
    }
    void Click(QWidget* edit, Qt::KeyboardModifiers mods = {}) {
        ShowPageOf(edit);
        QTest::mouseClick(static_cast<NumericEdit*>(edit)->lineEdit(), Qt::LeftButton, mods);
    }
    void Click(MapCell cell, Qt::KeyboardModifiers mods = {}) { Click(Cell(cell), mods); }
    // Presses the button over one cell and releases it over another, as a hand does: the
    // moves go to the field where the button went down.
    void Drag(NumericEdit* from, NumericEdit* to) {
        ShowPageOf(from);
        QLineEdit* start = from->lineEdit();
        QTest::mousePress(start, Qt::LeftButton);
        const QPoint global = to->mapToGlobal(to->rect().center());
        QMouseEvent move(QEvent::MouseMove, start->mapFromGlobal(global), global, Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(start, &move);
        QTest::mouseRelease(start, Qt::LeftButton, {}, start->mapFromGlobal(global));
    }
    void Drag(MapCell from, MapCell to) { Drag(Cell(from), Cell(to)); }
    void Press(int key, Qt::KeyboardModifiers mods = {}) {
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused != nullptr ? focused : form.get(), static_cast<Qt::Key>(key), mods);
    }
    // A value typed into the inline editor after = or *, and Enter.
    void Answer(const QString& text) {
        QTest::keyClicks(QApplication::focusWidget(), text);
        Press(Qt::Key_Return);
    }
    MapTools& Tools() const { return form->Maps(); }
    QString Status() const { return form->statusBar()->currentMessage(); }
    // The steps before the undo history's present (undone steps wait beyond it).
    int Steps() const { return form->Undo().Stack().index(); }
    QString LastStep() const { return form->Undo().Stack().undoText(); }
    void Trigger(const char* item) { Find<QAction>(item)->trigger(); }
    // The engine at a point: one monitor frame and the tick that places the cursor.
    void EngineAt(std::uint16_t rpm, std::uint8_t tps) {
        std::array<std::uint8_t, kPageSize> payload{};
        payload[0] = static_cast<std::uint8_t>(rpm & 0xFF);
        payload[1] = static_cast<std::uint8_t>(rpm >> 8);
        payload[28] = tps;
        port.Queue(BuildFrame(kMonitorAnswer, payload.data()));
        form->OnTick();
    }
};

TEST_F(MapToolsTest, MouseAndKeysSelectTheBlockTheyCover) {
    const struct {
        const char* how;
        std::function<void(MapToolsTest&)> gesture;
        MapRect cells;
        bool block;
    } cases[] = {
        {"drag down and right",
         [](MapToolsTest& t) {
             t.Drag({2, 3}, {4, 6});
         },
         {2, 3, 4, 6},
         true},
        {"drag up and left",
         [](MapToolsTest& t) {
             t.Drag({6, 5}, {3, 1});
         },
         {3, 1, 6, 5},
         true},
        {"click, then Shift+click",
         [](MapToolsTest& t) {
             t.Click({1, 1});
             t.Click({3, 0}, Qt::ShiftModifier);
         },
         {1, 0, 3, 1},
         true},
        {"Shift+arrows from the focused cell",
         [](MapToolsTest& t) {
             t.Click({5, 5});
             for (int key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Left})
                 t.Press(key, Qt::ShiftModifier);
         },
         {5, 5, 6, 6},
         true},
        {"Ctrl+A",
         [](MapToolsTest& t) { t.Press(Qt::Key_A, Qt::ControlModifier); },
         {0, 0, 9, 9},
         true},
        {"Escape after a drag: the cursor stays where the drag ended",
         [](MapToolsTest& t) {
             t.Drag({2, 2}, {4, 4});
             t.Press(Qt::Key_Escape);
         },
         {4, 4, 4, 4},
         false},
        {"a click after a drag",
         [](MapToolsTest& t) {
             t.Drag({2, 2}, {4, 4});
             t.Click({7, 8});
         },
         {7, 8, 7, 8},
         false},
    };
    OpenMap();
    MapRect announced;
    QObject::connect(&Tools(), &MapTools::SelectionChanged,
                     [&](const MapRect& cells) { announced = cells; });
    const SelectionFrame* frame = nullptr;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        Click({0, 0});
        c.gesture(*this);
        EXPECT_EQ(Tools().Selection().Cells(), c.cells);
        EXPECT_EQ(Tools().Selection().HasSelection(), c.block);
        EXPECT_EQ(announced, c.cells);
        frame = form->findChild<SelectionFrame*>("MapSelectionFrame");
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(!frame->isHidden(), c.block);
        if (c.block) {
            const QRect corners = Cell({c.cells.top, c.cells.left})
                                      ->geometry()
                                      .united(Cell({c.cells.bottom, c.cells.right})->geometry());
            EXPECT_EQ(frame->Cells(), corners);
        }
    }
}

TEST_F(MapToolsTest, CtrlAWithoutThrottleAxisSelectsTheCurveRowOnly) {
    OpenMap(false);
    Click({kCurveRow, 3});
    Press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Tools().Selection().Cells(), (MapRect{kCurveRow, 0, kCurveRow, 9}));
    // A drag from the curve row upwards stays on it: the rows above are not in use.
    Drag({kCurveRow, 2}, {kCurveRow, 6});
    EXPECT_EQ(Tools().Selection().Cells(), (MapRect{kCurveRow, 2, kCurveRow, 6}));
}

TEST_F(MapToolsTest, EachKeyAndItemChangesTheBlockAsOneNamedStep) {
    const struct {
        const char* what;
        std::function<void(MapToolsTest&)> act;
        Operation expected;
    } cases[] = {
        {"+", [](MapToolsTest& t) { t.Press(Qt::Key_Plus); },
         [](DeviceImage& i, const MapRect& r) { return AddToCells(i, r, 1); }},
        {"-", [](MapToolsTest& t) { t.Press(Qt::Key_Minus); },
         [](DeviceImage& i, const MapRect& r) { return AddToCells(i, r, -1); }},
        {"PageUp", [](MapToolsTest& t) { t.Press(Qt::Key_PageUp); },
         [](DeviceImage& i, const MapRect& r) { return AddToCells(i, r, 5); }},
        {"PageDown", [](MapToolsTest& t) { t.Press(Qt::Key_PageDown); },
         [](DeviceImage& i, const MapRect& r) { return AddToCells(i, r, -5); }},
        {"= 33",
         [](MapToolsTest& t) {
             t.Press(Qt::Key_Equal);
             t.Answer("33");
         },
         [](DeviceImage& i, const MapRect& r) { return SetCells(i, r, 33); }},
        {"* 150 %",
         [](MapToolsTest& t) {
             t.Press(Qt::Key_Asterisk);
             t.Answer("150");
         },
         [](DeviceImage& i, const MapRect& r) { return ScaleCells(i, r, 150); }},
        {"H", [](MapToolsTest& t) { t.Press(Qt::Key_H); },
         [](DeviceImage& i, const MapRect& r) { return InterpolateAlongRpm(i, r); }},
        {"V", [](MapToolsTest& t) { t.Press(Qt::Key_V); },
         [](DeviceImage& i, const MapRect& r) { return InterpolateAlongThrottle(i, r); }},
        {"/", [](MapToolsTest& t) { t.Press(Qt::Key_Slash); },
         [](DeviceImage& i, const MapRect& r) { return InterpolateFromCorners(i, r); }},
        {"S", [](MapToolsTest& t) { t.Press(Qt::Key_S); },
         [](DeviceImage& i, const MapRect& r) { return SmoothCells(i, r); }},
        {"menu: Take off 5°", [](MapToolsTest& t) { t.Trigger("MenuMapSubtractFive"); },
         [](DeviceImage& i, const MapRect& r) { return AddToCells(i, r, -5); }},
        {"menu: Set to a value",
         [](MapToolsTest& t) {
             t.Trigger("MenuMapSet");
             t.Answer("12,6");  // a decimal comma, rounded
         },
         [](DeviceImage& i, const MapRect& r) { return SetCells(i, r, 13); }},
        {"menu: Smooth", [](MapToolsTest& t) { t.Trigger("MenuMapSmooth"); },
         [](DeviceImage& i, const MapRect& r) { return SmoothCells(i, r); }},
    };
    OpenMap();
    const MapRect block{2, 1, 5, 4};
    Drag({block.top, block.left}, {block.bottom, block.right});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const DeviceImage before = form->Image();
        const int steps = Steps();
        DeviceImage expected = before;
        const EditOutcome outcome = c.expected(expected, block);
        ASSERT_GT(outcome.cellsChanged, 0);
        c.act(*this);
        EXPECT_EQ(form->Image(), expected);
        EXPECT_EQ(Steps(), steps + 1);
        EXPECT_EQ(LastStep().toStdString(), outcome.step.In(kLanguageEnglish));
        EXPECT_EQ(Status().toStdString(), outcome.step.In(kLanguageEnglish));
        EXPECT_EQ(Cell({block.top, block.left})->value(), expected[AdvanceIndex(2, 1)]);
        EXPECT_EQ(Tools().Selection().Cells(), block) << "the block stays selected";
        form->Undo().Undo();
        EXPECT_EQ(form->Image(), before);
    }
}

TEST_F(MapToolsTest, WithoutASelectionOnlyTheFocusedCellChanges) {
    OpenMap();
    Drag({1, 1}, {3, 3});
    Click({6, 7});
    const DeviceImage before = form->Image();
    Press(Qt::Key_PageUp);
    DeviceImage expected = before;
    expected[AdvanceIndex(6, 7)] = static_cast<std::uint8_t>(before[AdvanceIndex(6, 7)] + 5);
    EXPECT_EQ(form->Image(), expected);
}

TEST_F(MapToolsTest, RefusalsSayWhyAndChangeNothing) {
    const auto none = [](MapToolsTest&) {};
    const struct {
        const char* what;
        std::function<void(MapToolsTest&)> setup;
        std::function<void(MapToolsTest&)> act;
        const char* status;  // nullptr: the editor closed without a word
    } cases[] = {
        {"H on one column", none, [](MapToolsTest& t) { t.Press(Qt::Key_H); },
         "Select at least two columns to interpolate along RPM"},
        {"V on one row",
         [](MapToolsTest& t) {
             t.Drag({3, 1}, {3, 4});
         },
         [](MapToolsTest& t) { t.Press(Qt::Key_V); },
         "Select at least two rows to interpolate along throttle"},
        {"/ on one cell", none, [](MapToolsTest& t) { t.Press(Qt::Key_Slash); },
         "Select at least two cells to interpolate"},
        {"= 70", none,
         [](MapToolsTest& t) {
             t.Press(Qt::Key_Equal);
             t.Answer("70");
         },
         "The advance must be 0 to 60° (70 given)"},
        {"= text", none,
         [](MapToolsTest& t) {
             t.Press(Qt::Key_Equal);
             t.Answer("abc");
         },
         "\"abc\" is not a number"},
        {"* 2000", none,
         [](MapToolsTest& t) {
             t.Press(Qt::Key_Asterisk);
             t.Answer("2000");
         },
         "The percentage must be 0 to 1000 (2000 given)"},
        {"+ on a cell at 60",
         [](MapToolsTest& t) {
             t.Press(Qt::Key_Equal);
             t.Answer("60");
         },
         [](MapToolsTest& t) { t.Press(Qt::Key_Plus); },
         "Nothing changed: the cells hold these values already"},
        {"Escape in the editor", none,
         [](MapToolsTest& t) {
             t.Press(Qt::Key_Equal);
             QTest::keyClicks(QApplication::focusWidget(), "5");
             t.Press(Qt::Key_Escape);
         },
         nullptr},
    };
    OpenMap();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Click({4, 4});
        c.setup(*this);
        QWidget* focused = QApplication::focusWidget();
        form->statusBar()->clearMessage();
        const DeviceImage before = form->Image();
        const int steps = Steps();
        c.act(*this);
        EXPECT_EQ(form->Image(), before);
        EXPECT_EQ(Steps(), steps);
        EXPECT_EQ(Status(), c.status ? QString::fromUtf8(c.status) : QString());
        EXPECT_FALSE(Tools().Editor()->IsOpen());
        EXPECT_EQ(QApplication::focusWidget(), focused) << "the focus is back in its cell";
    }
    form->ApplyLanguage(kLanguageGerman);
    Click({4, 4});
    Press(Qt::Key_H);
    EXPECT_EQ(
        Status(),
        QString::fromUtf8("Zum Interpolieren über die Drehzahl mindestens zwei Spalten auswählen"));
}

TEST_F(MapToolsTest, RowsOfPointsSelectRunsAndKeepTheirRules) {
    OpenMap();
    DeviceImage image = form->Image();
    image[field::PrivEnable] = 1;
    const std::uint8_t axis[] = {10, 20, 30, 35, 38, 60, 70, 80, 90, 100};
    for (int k = 0; k < kAxisPoints; ++k) image[field::RpmAdv + k] = axis[k];
    form->Model().Replace(image, ModelChange(CommitKind::Open, "rows.ign"));

    // The map's RPM points: interpolation only, evenly between the run's ends.
    Click(Edit("EditRpmAdv3"));
    for (int i = 0; i < 3; ++i) Press(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(Tools().Current(), MapTools::Table::MapRpm);
    EXPECT_EQ(Tools().SelectedRun().first, 2);
    EXPECT_EQ(Tools().SelectedRun().last, 5);
    DeviceImage before = form->Image();
    Press(Qt::Key_Plus);
    EXPECT_EQ(form->Image(), before);
    EXPECT_EQ(Status(), "Map RPM points can only be interpolated, so that they keep rising");
    Press(Qt::Key_H);
    for (int k = 2; k <= 5; ++k) EXPECT_EQ(Byte(field::RpmAdv + k), 30 + 10 * (k - 2)) << k;
    EXPECT_EQ(LastStep(), "Map RPM points 3..6: interpolate");

    // The servo voltages: 20 mV steps, a value in mV.
    Click(Edit("EditNapPriv2"));
    Press(Qt::Key_Right, Qt::ShiftModifier);
    Press(Qt::Key_Right, Qt::ShiftModifier);
    before = form->Image();
    Press(Qt::Key_Plus);
    for (int k = 0; k < kAxisPoints; ++k) {
        const bool inRun = k >= 1 && k <= 3;
        EXPECT_EQ(Byte(field::NapPriv + k), before[field::NapPriv + k] + (inRun ? 1 : 0)) << k;
    }
    EXPECT_EQ(LastStep(), "Servo voltages 2..4: +20 mV");
    Press(Qt::Key_Equal);
    Answer("2500");
    for (const char* name : {"EditNapPriv2", "EditNapPriv3", "EditNapPriv4"})
        EXPECT_EQ(Edit(name)->value(), 2500) << name;
    EXPECT_EQ(Byte(field::NapPriv + 3), 125);
    Press(Qt::Key_V);
    EXPECT_EQ(Status(), "A row of points has no throttle axis: interpolate with H");
    // The run is drawn in its own row, and the map's RPM row has let go of its run.
    const SelectionLook look = TableColours::LookFor(QApplication::palette());
    EXPECT_EQ(Edit("EditNapPriv3")->palette().color(QPalette::Base), look.fill);
    EXPECT_NE(Edit("EditNapPriv5")->palette().color(QPalette::Base), look.fill);
    EXPECT_NE(Edit("EditRpmAdv4")->palette().color(QPalette::Base), look.fill);
}

TEST_F(MapToolsTest, CopyThenPasteGivesBackTheSameBytes) {
    OpenMap();
    const MapRect block{2, 1, 4, 3};
    Drag({2, 1}, {4, 3});
    const DeviceImage original = form->Image();
    Press(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              FormatMapText(original, block, true));
    Press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              FormatMapText(original, block, false));

    Press(Qt::Key_PageUp);
    ASSERT_NE(form->Image(), original);
    const int steps = Steps();
    Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form->Image(), original);
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_EQ(LastStep(), "Paste 3 x 3 cells");

    // One number fills the whole selection.
    QApplication::clipboard()->setText("33");
    Press(Qt::Key_V, Qt::ControlModifier);
    for (int r = 0; r < kMapRows; ++r) {
        for (int c = 0; c < kMapColumns; ++c)
            EXPECT_EQ(Byte(AdvanceIndex(r, c)),
                      block.Contains(r, c) ? 33 : original[AdvanceIndex(r, c)]);
    }
    EXPECT_EQ(LastStep(), "Paste 33° into 3 x 3 cells");
}

TEST_F(MapToolsTest, ABadPasteNamesTheCellAndChangesNothing) {
    OpenMap();
    const int rpm = form->Image()[field::RpmAdv + 2] * 100;
    const struct {
        const char* what;
        QString clipboard;
        MapCell at;
        QString reason;
    } cases[] = {
        {"empty", "", {2, 1}, "The map text is empty"},
        {"text in a cell",
         "12\tabc\r\n",
         {2, 1},
         QString("Row 5 %, column %1 rpm: \"abc\" is not a number").arg(rpm)},
        {"beyond 60", "70", {2, 1}, "Row 5 %, column 2000 rpm: 70 is outside 0 to 60°"},
        {"too large a block",
         "1\t2\t3\r\n4\t5\t6\r\n",
         {9, 8},
         "The block of 3 x 2 cells does not fit the map from row 100 %, column 9000 rpm (room "
         "for 2 x 1)"},
        {"10 MB",
         QString(10 * 1024 * 1024, QChar('1')),
         {2, 1},
         QString("The map text is too long (%1 bytes, at most 65536)").arg(10 * 1024 * 1024)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Click(c.at);
        QApplication::clipboard()->setText(c.clipboard);
        messages.clear();
        const DeviceImage before = form->Image();
        const int steps = Steps();
        Press(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(form->Image(), before);
        EXPECT_EQ(Steps(), steps);
        ASSERT_EQ(messages.size(), 1);
        EXPECT_EQ(messages[0], "Nothing was pasted.\n" + c.reason);
    }
}

TEST_F(MapToolsTest, TheMapMenuShowsItsKeysInEachLanguage) {
    OpenMap();
    const QList<QAction*> bar = form->menuBar()->actions();
    auto* map = Find<QMenu>("MenuMap");
    EXPECT_EQ(bar.indexOf(map->menuAction()) + 1,
              bar.indexOf(Find<QMenu>("MenuLanguage")->menuAction()));
    const QList<QAction*> file = Find<QMenu>("MenuFile")->actions();
    const int save = file.indexOf(Find<QAction>("MenuSaveAs"));
    EXPECT_EQ(file.indexOf(Find<QAction>("MenuExportMapCsv")), save + 1);
    EXPECT_EQ(file.indexOf(Find<QAction>("MenuImportMapCsv")), save + 2);
    const struct {
        const char* language;
        const char* title;
        const char* set;
        const char* copyWithAxes;
        const char* importItem;
    } languages[] = {
        {"MenuCzech", "&Mapa", "&Nastavit hodnotu...\t=", "Kopírovat &s osami\tCtrl+Shift+C",
         "Importovat mapu z CS&V..."},
        {"MenuEnglish", "&Map", "&Set to a value...\t=", "Copy &with the axes\tCtrl+Shift+C",
         "Import map from CS&V..."},
        {"MenuGerman", "&Kennfeld", "Auf einen &Wert setzen...\t=",
         "Mit &Achsen kopieren\tStrg+Umschalt+C", "Kennfeld aus CSV i&mportieren..."},
    };
    for (const auto& l : languages) {
        SCOPED_TRACE(l.language);
        Trigger(l.language);
        EXPECT_EQ(map->title(), QString::fromUtf8(l.title));
        EXPECT_EQ(Find<QAction>("MenuMapSet")->text(), QString::fromUtf8(l.set));
        EXPECT_EQ(Find<QAction>("MenuMapCopyWithAxes")->text(), QString::fromUtf8(l.copyWithAxes));
        EXPECT_EQ(Find<QAction>("MenuImportMapCsv")->text(), QString::fromUtf8(l.importItem));
        for (QAction* item : map->actions()) {
            if (item->isSeparator()) continue;
            EXPECT_FALSE(item->statusTip().isEmpty()) << item->objectName().toStdString();
            EXPECT_TRUE(item->text().contains('\t') || !item->shortcut().isEmpty())
                << item->objectName().toStdString() << " shows its key";
        }
    }
    EXPECT_EQ(Find<QAction>("MenuMapLiveCell")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
}

TEST_F(MapToolsTest, CsvExportAndImportGoThroughTheFileDialog) {
    OpenMap();
    QTemporaryDir folder;
    const QString csv = folder.filePath("map.csv");
    QString asked;
    QString answer;
    fileDialog = [&](QFileDialog& dialog) {
        asked = dialog.objectName();
        return answer;
    };
    answer = csv;
    Trigger("MenuExportMapCsv");
    EXPECT_EQ(asked, "ExportMapDialog");
    const char separator = CsvSeparatorFor(QLocale().decimalPoint().at(0).toLatin1());
    QFile written(csv);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().toStdString(),
              FormatMapText(form->Image(), MapRect::WholeMap(), true, separator));

    // Back in from a file with one cell changed: one step named after the file.
    DeviceImage changed = form->Image();
    changed[AdvanceIndex(7, 2)] = 44;
    const QString other = folder.filePath("tuned.csv");
    QFile edited(other);
    ASSERT_TRUE(edited.open(QIODevice::WriteOnly));
    edited.write(
        QByteArray::fromStdString(FormatMapText(changed, MapRect::WholeMap(), true, separator)));
    edited.close();
    answer = other;
    const int steps = Steps();
    Trigger("MenuImportMapCsv");
    EXPECT_EQ(asked, "ImportMapDialog");
    EXPECT_EQ(form->Image(), changed);
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_EQ(LastStep(), "Import the map from tuned.csv");

    const QString fifo = folder.filePath("pipe.csv");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString binary = folder.filePath("program.csv");
    QFile program(binary);
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write(
        QByteArray("\x7F"
                   "ELF\x02\x01\x01\x00",
                   8));
    program.close();
    const struct {
        QString path;
        QString why;
    } refused[] = {{fifo, "is not a regular file (it is a pipe or a device)"},
                   {binary, "is not a text file"}};
    for (const auto& r : refused) {
        SCOPED_TRACE(r.path.toStdString());
        answer = r.path;
        messages.clear();
        Trigger("MenuImportMapCsv");  // a pipe must not block the window
        EXPECT_EQ(form->Image(), changed);
        EXPECT_EQ(Steps(), steps + 1);
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].startsWith("The map was not imported.\n" + r.path))
            << messages[0].toStdString();
        EXPECT_TRUE(messages[0].endsWith(r.why)) << messages[0].toStdString();
    }
    answer.clear();  // cancelled: nothing at all
    messages.clear();
    Trigger("MenuImportMapCsv");
    EXPECT_TRUE(messages.isEmpty());
}

// The advance the old map gives at `rpm` in row `r`: straight lines between the old points,
// flat beyond them.
double OldAdvanceAt(const DeviceImage& old, int r, double rpm) {
    const auto x = [&](int k) { return old[field::RpmAdv + k] * 100.0; };
    const auto y = [&](int k) { return static_cast<double>(old[AdvanceIndex(r, k)]); };
    if (rpm <= x(0)) return y(0);
    for (int k = 0; k + 1 < kAxisPoints; ++k) {
        if (rpm <= x(k + 1)) return y(k) + (y(k + 1) - y(k)) * (rpm - x(k)) / (x(k + 1) - x(k));
    }
    return y(kAxisPoints - 1);
}

TEST_F(MapToolsTest, KeepAdvanceResamplesTheMapWithTheAxisMove) {
    OpenMap();
    auto* keep = Find<QCheckBox>("CheckBoxKeepAdvance");
    EXPECT_FALSE(keep->isChecked());
    const DeviceImage before = form->Image();

    // Off: the point moves alone.
    TypeInto("EditRpmAdv5", "5600");
    QTest::keyClick(Edit("EditRpmAdv5"), Qt::Key_Tab);
    ASSERT_EQ(Byte(field::RpmAdv + 4), 56);
    for (int cell = 0; cell < 100; ++cell)
        EXPECT_EQ(Byte(field::Advance + cell), before[field::Advance + cell]);
    form->Undo().Undo();

    QTest::mouseClick(keep, Qt::LeftButton);
    ASSERT_TRUE(keep->isChecked());
    const int steps = Steps();
    TypeInto("EditRpmAdv5", "5600");
    QTest::keyClick(Edit("EditRpmAdv5"), Qt::Key_Tab);
    ASSERT_EQ(Byte(field::RpmAdv + 4), 56);
    for (int r = 0; r < kMapRows; ++r) {
        for (int c = 0; c < kMapColumns; ++c) {
            const double expected = OldAdvanceAt(before, r, Byte(field::RpmAdv + c) * 100.0);
            EXPECT_LE(std::fabs(Byte(AdvanceIndex(r, c)) - expected), 0.5) << r << "," << c;
        }
    }
    EXPECT_NE(Byte(AdvanceIndex(3, 4)), before[AdvanceIndex(3, 4)]);
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_EQ(LastStep(), "Map RPM points, advance kept");
    form->Undo().Undo();
    EXPECT_EQ(form->Image(), before);

    // An interpolated axis too, in the interpolation's own step.
    Click(Edit("EditRpmAdv2"));
    for (int i = 0; i < 3; ++i) Press(Qt::Key_Right, Qt::ShiftModifier);
    DeviceImage uneven = form->Image();
    uneven[field::RpmAdv + 2] = 25;
    form->Model().Replace(uneven, ModelChange(CommitKind::Open, "uneven.ign"));
    const int interpolated = Steps();
    Press(Qt::Key_H);
    EXPECT_EQ(Byte(field::RpmAdv + 2), 30);
    EXPECT_EQ(Steps(), interpolated + 1);
    EXPECT_EQ(LastStep(), "Map RPM points 2..5: interpolate");
    for (int r = 0; r < kMapRows; ++r)
        EXPECT_LE(std::fabs(Byte(AdvanceIndex(r, 2)) - OldAdvanceAt(uneven, r, 3000.0)), 0.5);
}

TEST_F(MapToolsTest, KeepAdvanceIsKeptInTheSettings) {
    Open();
    QTest::mouseClick(Find<QCheckBox>("CheckBoxKeepAdvance"), Qt::LeftButton);
    CloseAndDestroy();
    EXPECT_TRUE(ReadFile("Korvan2.ini").contains("KeepAdvanceOnRpmMove=1"));
    Open();
    EXPECT_TRUE(Find<QCheckBox>("CheckBoxKeepAdvance")->isChecked());
}

TEST_F(MapToolsTest, CtrlLThenThreeKeysRaiseTheBlockAroundTheEngine) {
    OpenMap();
    form->OnTick();  // no frame yet: no live values
    Press(Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(Status(), "No live cell: the unit sends no live values");

    EngineAt(5000, 30);
    ASSERT_EQ(form->Cursor().TpsIndex, 5);
    ASSERT_EQ(form->Cursor().RpmIndex, 4);
    Drag({1, 1}, {2, 2});
    Click(Edit("EditOmez1"));  // on another page
    const DeviceImage before = form->Image();
    Press(Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(Find<QTabWidget>("PageControl1")->currentIndex(), 1);
    EXPECT_TRUE(Cell({5, 4})->hasFocus());
    EXPECT_EQ(Tools().Selection().Cells(), (MapRect{5, 4, 5, 4}));
    EXPECT_FALSE(Tools().Selection().HasSelection());

    Press(Qt::Key_Right, Qt::ShiftModifier);
    Press(Qt::Key_Down, Qt::ShiftModifier);
    Press(Qt::Key_Plus);
    for (int r = 0; r < kMapRows; ++r) {
        for (int c = 0; c < kMapColumns; ++c) {
            const bool raised = (r == 5 || r == 6) && (c == 4 || c == 5);
            EXPECT_EQ(Byte(AdvanceIndex(r, c)), before[AdvanceIndex(r, c)] + (raised ? 1 : 0));
        }
    }
    // The live cell keeps its lime inside the selection.
    EXPECT_EQ(Cell({5, 4})->palette().color(QPalette::Base), QColor(0x00, 0xFF, 0x00));
}

TEST_F(MapToolsTest, SelectCellFocusesItAndAnnouncesIt) {
    OpenMap();
    std::vector<MapRect> announced;
    QObject::connect(&Tools(), &MapTools::SelectionChanged,
                     [&](const MapRect& cells) { announced.push_back(cells); });
    Drag({1, 1}, {3, 3});
    ASSERT_FALSE(announced.empty());
    EXPECT_EQ(announced.back(), (MapRect{1, 1, 3, 3}));
    Find<QTabWidget>("PageControl1")->setCurrentIndex(0);
    Tools().SelectCell({7, 2});
    EXPECT_EQ(announced.back(), (MapRect{7, 2, 7, 2}));
    EXPECT_FALSE(Tools().Selection().HasSelection());
    EXPECT_EQ(Find<QTabWidget>("PageControl1")->currentIndex(), 1);
    EXPECT_TRUE(Cell({7, 2})->hasFocus());
}

TEST_F(MapToolsTest, HintsExplainTheKeysWhereThePointerIs) {
    const struct {
        const char* language;
        const char* control;
        const char* words;
    } cases[] = {
        {"ENGLISH", "Edit50", "Ctrl+L: the cell the engine runs in"},
        {"ENGLISH", "EditRpmAdv1", "H: spread the selected points evenly"},
        {"ENGLISH", "EditNapPriv1", "in 20 mV steps"},
        {"CESKY", "Edit149", "Ctrl+L: buňka, kde běží motor"},
        {"DEUTSCH", "Edit77", "Strg+L: Zelle des Motors"},
        {"ENGLISH", "CheckBoxKeepAdvance", "advance at each engine speed stays what it was"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        OpenMap(true, {c.language});
        QWidget* control = Find(c.control);
        ShowPageOf(control);
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(control, &enter);
        EXPECT_TRUE(Status().contains(QString::fromUtf8(c.words))) << Status().toStdString();
        form.reset();
    }
}

}  // namespace
}  // namespace testing
}  // namespace korvan
