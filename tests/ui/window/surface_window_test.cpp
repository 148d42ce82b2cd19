// The map in 3D in the window: made on first use from the Tools item or Ctrl+3, the surface
// following every change of the tune and the live cursor (a replay too), the view angle in the
// settings, the comparisons with a file and a restore point, a click selecting the cell in the
// grid, the map tools' selection, the pictures; and a curve point dragged in the curve window
// as one commit.
#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUndoStack>

#include "device/frame.h"
#include "files/parameter_file.h"
#include "log/ride_log_writer.h"
#include "params/binding.h"
#include "params/language_tables.h"
#include "tests/ui/window/window_fixture.h"
#include "ui/ridelog/curve_points.h"
#include "ui/ridelog/curve_view.h"
#include "ui/ridelog/replay_controller.h"
#include "ui/surface/difference_grid.h"
#include "ui/surface/surface_view.h"
#include "ui/surface/surface_window.h"
#include "ui/window/history_controller.h"
#include "ui/window/map_tools.h"
#include "ui/window/parameter_undo.h"
#include "ui/window/ride_log_controller.h"
#include "ui/window/surface_window_controller.h"

#include "test_frames.h"

namespace korvan::testing {
namespace {

SurfaceMap MapOf(const DeviceImage& image) {
    return SurfaceMapFromImage(image, image[field::TpsMapa] != 0);
}

class SurfaceTest : public WindowTest {
  public:
    void SetUp() override {
        WindowTest::SetUp();
        QDir(HistoryController::HistoryFolder()).removeRecursively();
    }
    void TearDown() override {
        WindowTest::TearDown();
        QDir(HistoryController::HistoryFolder()).removeRecursively();
    }
    SurfaceWindowController& Surface() { return form->Surface(); }
    SurfaceWindow& Window() { return *Surface().Window(); }
    SurfaceView& View() { return Window().View(); }
    SurfaceWindow& ShowSurface() {
        QTest::keyClick(form.get(), Qt::Key_3, Qt::ControlModifier);
        EXPECT_NE(Surface().Window(), nullptr);
        return Window();
    }
    void EngineAt(std::uint16_t rpm, std::uint8_t tps = 0) {
        port.Queue(Monitor(rpm, tps));
        form->OnTick();
    }
    // A parameter file holding the window's set with one map cell changed.
    QString WriteTune(const QString& name, std::size_t index, int value) {
        DeviceImage tune = form->Image();
        tune[index] = static_cast<std::uint8_t>(value);
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::fromStdString(ParameterFileText(tune, false)));
        return path;
    }
    void Commit(const char* edit, const QString& text) {
        TypeInto(edit, text);
        QTest::keyClick(Edit(edit), Qt::Key_Return);
    }
    QTemporaryDir dir;
};

TEST_F(SurfaceTest, ItemAndKeyOpenOneWindowMadeOnFirstUse) {
    Open();
    EXPECT_EQ(Surface().Window(), nullptr);
    EXPECT_EQ(form->findChild<SurfaceView*>(), nullptr);
    QAction* item = Find<QAction>("MenuSurface3D");
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_3));
    const struct {
        const char* language;
        const char* item;
        const char* title;
    } texts[] = {{"MenuCzech", "Mapa ve &3D...", "Mapa ve 3D"},
                 {"MenuGerman", "Kennfeld in &3D...", "Kennfeld in 3D"},
                 {"MenuEnglish", "Map in &3D...", "Map in 3D"}};
    for (const auto& t : texts) {
        Find<QAction>(t.language)->trigger();
        EXPECT_EQ(item->text(), QString::fromUtf8(t.item));
    }
    SurfaceWindow& window = ShowSurface();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(View().Map(), MapOf(form->Image()));
    for (const auto& t : texts) {
        Find<QAction>(t.language)->trigger();
        EXPECT_EQ(window.windowTitle(), QString::fromUtf8(t.title));
    }
    // Escape closes it; the item brings the same window back.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }));
    QTest::keyClick(&View(), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    item->trigger();
    EXPECT_EQ(Surface().Window(), &window);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(form->findChildren<SurfaceWindow*>().size(), 1);
}

// Every way the tune changes reaches the surface at once.
TEST_F(SurfaceTest, SurfaceFollowsCommitsToolsUndoAndAFileOpened) {
    Open();
    ShowSurface();
    EngineAt(3000);
    const QString file = WriteTune("other.ign", AdvanceIndex(9, 4), 44);
    const struct Step {
        const char* what;
        std::function<void(SurfaceTest&)> act;
    } steps[] = {
        {"a typed cell", [](SurfaceTest& t) { t.Commit("Edit142", "37"); }},
        {"Advance + at the live cell",
         [](SurfaceTest& t) { QTest::keyClick(t.form.get(), Qt::Key_F5); }},
        {"an RPM breakpoint", [](SurfaceTest& t) { t.Commit("EditRpmAdv10", "12000"); }},
        {"undo", [](SurfaceTest& t) { t.Find<QAction>("MenuUndo")->trigger(); }},
        {"the throttle axis switched on",
         [](SurfaceTest& t) {
             t.ShowPageOf(t.Find<QCheckBox>("CheckBoxTpsMapa"));
             QTest::mouseClick(t.Find<QCheckBox>("CheckBoxTpsMapa"), Qt::LeftButton);
         }},
        {"a file opened",
         [file](SurfaceTest& t) {
             t.fileDialog = [file](QFileDialog&) { return file; };
             t.Find<QAction>("MenuOpen")->trigger();
         }},
        {"New", [](SurfaceTest& t) { t.Find<QAction>("MenuNew")->trigger(); }},
    };
    SurfaceMap before = View().Map();
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act(*this);
        EXPECT_EQ(View().Map(), MapOf(form->Image()));
        EXPECT_NE(View().Map(), before) << "the step changed nothing to show";
        before = View().Map();
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join("; ").toStdString();
}

TEST_F(SurfaceTest, LiveCellAndTrailFollowTheCursorAndAReplay) {
    Open();
    EngineAt(3000);  // before the window exists: its first live cell
    ShowSurface();
    // Without the throttle axis the map's last row is the curve.
    EXPECT_EQ(View().LiveCell(), (MapCell{9, 2}));
    const std::uint16_t rpms[] = {4000, 4000, 5000, 999, 9000};
    for (std::uint16_t rpm : rpms) {
        EngineAt(rpm);
        EXPECT_EQ(View().LiveCell(), SurfaceView::LiveCellOf(form->Cursor())) << rpm;
    }
    EXPECT_FALSE(SurfaceView::LiveCellOf(form->Cursor()) == std::nullopt);
    const std::deque<MapCell> lived = View().Trail().Cells();
    EXPECT_EQ(lived, (std::deque<MapCell>{{9, 2}, {9, 3}, {9, 4}, {9, 8}}));

    // A replayed ride goes the same way: its cells join the trail.
    StringSink sink;
    RideLogWriter writer(sink, "test");
    writer.Start("today");
    const std::pair<std::uint32_t, std::uint16_t> rows[] = {{0, 2000}, {500, 6000}, {1000, 7000}};
    for (const auto& [ms, rpm] : rows) {
        RideLogRow row;
        row.TimeMs = ms;
        row.Channels.Rpm = rpm;
        writer.AddRow(row);
    }
    writer.Finish();
    const QString log = dir.filePath("ride.msl");
    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(sink.text.data(), static_cast<qint64>(sink.text.size()));
    f.close();
    ASSERT_TRUE(form->RideLog().StartReplay(log));
    for (int row = 0; row < 3; ++row) {
        form->RideLog().Replay()->Seek(row);
        form->OnTick();
    }
    const std::deque<MapCell> replayed = View().Trail().Cells();
    ASSERT_EQ(replayed.size(), lived.size() + 3);
    EXPECT_EQ(replayed.back(), (MapCell{9, 6}));
    EXPECT_EQ(replayed[replayed.size() - 3], (MapCell{9, 1}));
    EXPECT_EQ(View().LiveCell(), (MapCell{9, 6}));
}

TEST_F(SurfaceTest, ViewAngleIsKeptInASettingsKeyOfItsOwn) {
    const QByteArray key = "ViewAngle=";
    // Never opened: nothing of it in the file.
    Open();
    CloseAndDestroy();
    EXPECT_FALSE(ReadFile("Korvan2.ini").contains("SURFACE_VIEW"));

    Open();
    ShowSurface();
    View().setFocus();
    QTest::keyClick(&View(), Qt::Key_Left);
    QTest::keyClick(&View(), Qt::Key_Up);
    const ViewAngle turned = View().View();
    ASSERT_NE(turned, ViewAngle{});
    CloseAndDestroy();
    const QByteArray settings = ReadFile("Korvan2.ini");
    EXPECT_TRUE(settings.contains("[SURFACE_VIEW]")) << settings.constData();
    EXPECT_TRUE(settings.contains(key + QByteArray::fromStdString(ViewAngleText(turned))))
        << settings.constData();

    // Back at the next start, without opening the window in between.
    Open();
    CloseAndDestroy();
    EXPECT_EQ(ReadFile("Korvan2.ini"), settings);
    Open();
    ShowSurface();
    EXPECT_EQ(View().View(), turned);
    CloseAndDestroy();

    // A value that is not a view angle gives the starting view.
    QByteArray broken = settings;
    broken.replace(QByteArray::fromStdString(ViewAngleText(turned)), "30 up");
    WriteFile("Korvan2.ini", broken);
    Open();
    ShowSurface();
    EXPECT_EQ(View().View(), ViewAngle{});
}

TEST_F(SurfaceTest, ComparesWithAFileAndARestorePointAndShowsTheDifference) {
    Open();
    const std::size_t cell = AdvanceIndex(9, 4);
    const int value = Byte(cell);
    SurfaceWindow& window = ShowSurface();
    // The curve window already open shows the compared tune dashed as well.
    form->RideLog().ShowCurves();
    CurveView& curves = *form->RideLog().Curves();

    const QString file = WriteTune("other.ign", cell, value - 6);
    fileDialog = [file](QFileDialog& d) {
        EXPECT_EQ(d.objectName(), "SurfaceCompareDialog");
        return file;
    };
    window.CompareFileItem()->trigger();
    ASSERT_TRUE(Surface().Compared().has_value());
    EXPECT_EQ((*Surface().Compared())[cell], value - 6);
    EXPECT_TRUE(View().Compared().has_value());
    EXPECT_TRUE(window.Grid().isVisible());
    EXPECT_EQ(window.Grid().Difference({9, 4}), 6);
    EXPECT_EQ(window.Grid().Difference({9, 3}), 0);
    EXPECT_TRUE(window.EndCompareItem()->isEnabled());
    EXPECT_EQ(curves.CompareCurveCount(), 2);  // the one curve and the servo curve
    EXPECT_EQ(curves.CompareCurvePoints(0)[4].y(), value - 6);
    // The tune changes, the compared one stays: the difference follows.
    Commit("Edit144", QString::number(value + 1));
    EXPECT_EQ(window.Grid().Difference({9, 4}), 7);

    // A restore point: the file saved is one; the menu lists it.
    fileDialog = [this](QFileDialog&) { return dir.filePath("saved.ign"); };
    Find<QAction>("MenuSave")->trigger();
    Commit("Edit144", QString::number(value + 3));
    emit window.PointMenu()->aboutToShow();
    const QList<QAction*> points = window.PointMenu()->actions();
    ASSERT_EQ(points.size(), 1);
    EXPECT_TRUE(points[0]->text().contains("saved.ign")) << points[0]->text().toStdString();
    points[0]->trigger();
    EXPECT_EQ(window.Grid().Difference({9, 4}), 2);
    EXPECT_TRUE(View().ToolTipAt(View().CellPosition({9, 4})).contains("+2"));

    // A file that cannot be compared is named with the reason; the comparison stays.
    fileDialog = [this](QFileDialog&) { return dir.filePath("missing.ign"); };
    window.CompareFileItem()->trigger();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("missing.ign")) << messages[0].toStdString();
    EXPECT_EQ(window.Grid().Difference({9, 4}), 2);

    window.EndCompareItem()->trigger();
    EXPECT_FALSE(Surface().Compared().has_value());
    EXPECT_FALSE(View().Compared().has_value());
    EXPECT_FALSE(window.Grid().isVisible());
    EXPECT_EQ(curves.CompareCurveCount(), 0);
}

// A compare with the unit whose read dies with the line: no comparison, and what the unit
// holds is no longer known.
TEST_F(SurfaceTest, ACompareWithTheUnitThatFailsComparesNothing) {
    Open();
    SurfaceWindow& window = ShowSurface();
    form->History().OperationFinished({OperationMode::Read, true, false});
    ASSERT_EQ(Find<QLabel>("LabelUnitState")->text(), "In the unit");
    QSignalSpy changed(&Surface(), &SurfaceWindowController::CompareChanged);
    window.CompareUnitItem()->trigger();
    port.failOpen = true;
    port.Lose();
    form->OnTick();
    EXPECT_EQ(form->Link().Mode(), OperationMode::None) << "the read ended when the line died";
    EXPECT_FALSE(Surface().Compared().has_value());
    EXPECT_FALSE(window.Grid().isVisible());
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(Find<QLabel>("LabelUnitState")->text(), "Unit: unknown");
}

TEST_F(SurfaceTest, AClickOnTheSurfaceFocusesThatCellsField) {
    Open();
    ShowPageOf(Find<QCheckBox>("CheckBoxTpsMapa"));
    QTest::mouseClick(Find<QCheckBox>("CheckBoxTpsMapa"), Qt::LeftButton);
    Find<QTabWidget>("PageControl1")->setCurrentIndex(0);
    ShowSurface();
    View().SetView(ViewAngle{0, 90, 1, 0, 0});  // from above: every cell apart
    for (const MapCell cell : {MapCell{3, 7}, MapCell{0, 0}, MapCell{9, 9}}) {
        QTest::mouseClick(&View(), Qt::LeftButton, {}, View().CellPosition(cell).toPoint());
        EXPECT_EQ(Find<QTabWidget>("PageControl1")->currentIndex(), 1);
        const int index = cell.row * kMapColumns + cell.column;
        // The main window's focus (its own, whichever window the platform has active).
        NumericEdit* edit = Edit(MapCellEditName(index).c_str());
        EXPECT_TRUE(form->focusWidget() == edit || form->focusWidget() == edit->lineEdit())
            << cell.row << "," << cell.column;
        EXPECT_EQ(edit->lineEdit()->selectedText(), edit->lineEdit()->text());
        EXPECT_EQ(form->Maps().Selection().Focus(), cell) << "the map tools follow the click";
        EXPECT_FALSE(form->Maps().Selection().HasSelection());
    }
}

TEST_F(SurfaceTest, TheMapToolsSelectionIsOutlinedOnTheSurface) {
    Open();
    // Given before the window exists, shown when it is made.
    Surface().ShowSelection(MapRect{2, 3, 4, 6});
    ShowSurface();
    ASSERT_TRUE(View().Selection().has_value());
    EXPECT_EQ(*View().Selection(), (CellRange{{2, 3}, {4, 6}}));
    Surface().ShowSelection(MapRect{5, 5, 5, 5});
    EXPECT_EQ(*View().Selection(), (CellRange{{5, 5}, {5, 5}}));
    Surface().ShowSelection(MapRect{0, 0, 12, 3});  // off the map: none
    EXPECT_FALSE(View().Selection().has_value());
    // The window's own map tools feed the surface.
    form->Maps().SelectAll();
    const MapRect all = form->Maps().Selection().Cells();
    ASSERT_TRUE(View().Selection().has_value());
    EXPECT_EQ(*View().Selection(), (CellRange{{all.top, all.left}, {all.bottom, all.right}}));
}

TEST_F(SurfaceTest, ThePictureIsCopiedSavedAndPrinted) {
    Open();
    SurfaceWindow& window = ShowSurface();
    window.CopyItem()->trigger();
    EXPECT_EQ(QApplication::clipboard()->image().size(), View().size());

    const QString png = dir.filePath("surface.png");
    fileDialog = [png](QFileDialog& d) {
        EXPECT_EQ(d.objectName(), "SurfacePngDialog");
        return png;
    };
    window.SavePngItem()->trigger();
    EXPECT_EQ(QImage(png).size(), View().size());
    fileDialog = [this](QFileDialog&) { return dir.filePath("no/folder/surface.png"); };
    window.SavePngItem()->trigger();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("no/folder/surface.png")) << messages[0].toStdString();

    const QString pdf = dir.filePath("surface.pdf");
    printer = [pdf] {
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(pdf);
        return p;
    };
    window.PrintItem()->trigger();
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
    printer = [] { return std::unique_ptr<QPrinter>(); };
    window.PrintItem()->trigger();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[1], QString::fromUtf8(kNoPrinterMessage.In(kLanguageEnglish)));
}

// To the chart under `pressedAt`, as the mouse grab sends everything between press and release.
void Send(CurveView& view, QEvent::Type type, QPointF at, QPointF pressedAt) {
    QWidget* target = view.childAt(pressedAt.toPoint());
    ASSERT_NE(target, nullptr);
    const QPointF local = target->mapFrom(&view, at);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, local, target->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// A drag in the curve window is one change of one byte, one undo step named after the point,
// and with "Programming after change" one programming of the unit at the release.
TEST_F(SurfaceTest, ADraggedCurvePointIsOneCommitAndOneProgramming) {
    Open();
    QTest::mouseClick(Find<QCheckBox>("CheckBoxProgHned"), Qt::LeftButton);
    // Ticking the option programs at once; this silent unit lets that attempt run out first.
    for (int tick = 0; tick < 30; ++tick) form->OnTick();
    ASSERT_EQ(form->Link().Mode(), OperationMode::None);
    ASSERT_TRUE(port.IsOpen());
    form->RideLog().ShowCurves();
    QWidget* curveWindow = form->RideLog().CurveWindow();
    curveWindow->resize(800, 640);
    QApplication::processEvents();
    CurveView& curves = *form->RideLog().Curves();
    const std::size_t index = AdvanceIndex(9, 5);
    const DeviceImage before = form->Image();
    const int steps = form->Undo().Stack().count();
    port.written.clear();

    const QPointF from = *curves.PointPosition(index);
    const QPointF to = *curves.PositionOf(index, before[index] + 4);
    Send(curves, QEvent::MouseButtonPress, from, from);
    for (int i = 1; i <= 8; ++i) {
        Send(curves, QEvent::MouseMove, from + (to - from) * i / 8.0, from);
        form->OnTick();
    }
    const std::vector<std::uint8_t> during = port.SentCommands();
    EXPECT_EQ(std::count(during.begin(), during.end(), kCmdProgramPage), 0)
        << "nothing is programmed during the drag";
    EXPECT_EQ(form->Image(), before);
    Send(curves, QEvent::MouseButtonRelease, to, from);
    EXPECT_EQ(form->Link().Mode(), OperationMode::Program);
    // Its first request goes out with the monitor's rhythm, within six ticks.
    for (int tick = 0; tick < 6; ++tick) form->OnTick();

    for (std::size_t i = kParamImageBegin; i < kImageSize; ++i) {
        EXPECT_EQ(Byte(i), i == index ? before[i] + 4 : before[i]) << i;
    }
    EXPECT_EQ(form->Undo().Stack().count(), steps + 1);
    EXPECT_EQ(form->Undo().undoItem->text(),
              QString::fromUtf8("&Undo Curve point: 6000 rpm, %1°").arg(before[index] + 4));
    EXPECT_EQ(Edit("Edit145")->value(), before[index] + 4);
    const std::vector<std::uint8_t> sent = port.SentCommands();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), kCmdProgramPage), 1)
        << QByteArray(reinterpret_cast<const char*>(sent.data()), static_cast<int>(sent.size()))
               .toHex()
               .constData();

    form->Undo().Undo();
    EXPECT_EQ(Byte(index), before[index]);
    EXPECT_EQ(curves.CurvePoints(0)[5].y(), before[index]);
}

TEST_F(SurfaceTest, EscapeClosesTheCurveWindowButFirstPutsADraggedPointBack) {
    Open();
    form->RideLog().ShowCurves();
    QWidget* curveWindow = form->RideLog().CurveWindow();
    curveWindow->resize(800, 640);
    QApplication::processEvents();
    CurveView& curves = *form->RideLog().Curves();
    const std::size_t index = AdvanceIndex(9, 2);
    const DeviceImage before = form->Image();
    curves.setFocus();
    const QPointF from = *curves.PointPosition(index);
    const QPointF to = *curves.PositionOf(index, before[index] + 5);
    Send(curves, QEvent::MouseButtonPress, from, from);
    Send(curves, QEvent::MouseMove, to, from);
    QTest::keyClick(&curves, Qt::Key_Escape);
    EXPECT_TRUE(curveWindow->isVisible());
    EXPECT_EQ(curves.CurvePoints(0)[2].y(), before[index]);
    Send(curves, QEvent::MouseButtonRelease, to, from);
    EXPECT_EQ(form->Image(), before);
    QTest::keyClick(&curves, Qt::Key_Escape);
    EXPECT_FALSE(curveWindow->isVisible());
}

}  // namespace
}  // namespace korvan::testing
