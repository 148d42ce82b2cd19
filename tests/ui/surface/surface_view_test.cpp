#include "ui/surface/surface_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPdfWriter>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <ostream>

#include "params/binding.h"
#include "params/defaults.h"
#include "ui/surface/surface_colours.h"
#include "ui/surface/surface_texts.h"

namespace korvan {
namespace {

constexpr std::uint8_t kEnglish = kLanguageEnglish;

SurfaceMap DefaultMap(bool throttleAxis = true) {
    return SurfaceMapFromImage(DefaultImage(), throttleAxis);
}

// The middle of the live cell's marker: the pure lime pixels of the picture (no colour of the
// height scale is pure lime).
std::optional<QPointF> LimeCentre(const QImage& image) {
    double sx = 0, sy = 0;
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == 0x00FF00) {
                sx += x + 0.5;
                sy += y + 0.5;
                ++count;
            }
        }
    }
    if (count == 0) return std::nullopt;
    return QPointF(sx / count, sy / count);
}

QImage Grab(SurfaceView& view) {
    return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// ---- the live cell --------------------------------------------------------------------------

struct LiveCase {
    const char* name;
    bool throttleAxis;
    ViewAngle view;
    MapCell cell;
};

void PrintTo(const LiveCase& c, std::ostream* os) {
    *os << c.name;
}

class LiveMarker : public ::testing::TestWithParam<LiveCase> {};

// The marker's pixels sit where an independent projection of the cell's point says, and the
// view reports the same place.
TEST_P(LiveMarker, MarkerIsDrawnWhereTheProjectionPutsTheCell) {
    const LiveCase& c = GetParam();
    SurfaceView view(kEnglish);
    view.resize(800, 600);
    const SurfaceMap map = DefaultMap(c.throttleAxis);
    view.SetMap(map);
    view.SetView(c.view);
    view.SetLiveCell(c.cell);
    const std::optional<QPointF> drawn = LimeCentre(Grab(view));
    ASSERT_TRUE(drawn.has_value());

    const SurfaceScene scene(map, std::nullopt);
    const SceneView expected(scene, Projection(c.view, 800, 600, view.LabelMargin()));
    const ScreenPoint p = expected.CellScreen(c.cell);
    EXPECT_NEAR(drawn->x(), p.x, 1.0);
    EXPECT_NEAR(drawn->y(), p.y, 1.0);
    EXPECT_NEAR(view.CellPosition(c.cell).x(), p.x, 1e-9);
    EXPECT_NEAR(view.CellPosition(c.cell).y(), p.y, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, LiveMarker,
    ::testing::Values(LiveCase{"Default", true, ViewAngle{}, {4, 6}},
                      LiveCase{"Corner", true, ViewAngle{}, {0, 0}},
                      LiveCase{"TopView", true, ViewAngle{0, 90, 1, 0, 0}, {9, 9}},
                      LiveCase{"Turned", true, ViewAngle{-140, 50, 1.6, 0.1, -0.05}, {7, 2}},
                      LiveCase{"Curve", false, ViewAngle{}, {9, 5}}));

TEST(SurfaceView, LiveCellOfTheCursorAndNoneWithoutOne) {
    struct Case {
        MapCursor cursor;
        std::optional<MapCell> cell;
    } cases[] = {
        {MapCursor{4, 2, 0, false, false}, MapCell{2, 4}},
        {MapCursor{4, 2, 0, true, false}, std::nullopt},  // below the RPM axis
        {MapCursor{4, 2, 0, false, true}, std::nullopt},  // no live values
    };
    for (const Case& c : cases) EXPECT_EQ(SurfaceView::LiveCellOf(c.cursor), c.cell);
}

TEST(SurfaceView, TrailKeepsFiftyCellsAndFadesTowardsTheOldest) {
    SurfaceView view(kEnglish);
    view.resize(800, 600);
    view.SetMap(DefaultMap());
    view.SetView(ViewAngle{0, 90, 1, 0, 0});  // from above: every dot in sight
    // Along the rows 0..5, one cell at a time; the live cell ends on (5, 9).
    for (int i = 0; i < 60; ++i) view.SetLiveCell(MapCell{i / 10, i % 10});
    view.SetLiveCell(MapCell{5, 9});  // staying adds nothing
    ASSERT_EQ(view.Trail().Cells().size(), CellTrail::kLength);
    EXPECT_EQ(view.Trail().Cells().front(), (MapCell{1, 0}));

    const QImage image = Grab(view);
    auto orangeness = [&](MapCell cell) {
        const QColor c = image.pixelColor(view.CellPosition(cell).toPoint());
        // Orange over the surface: strong red, little blue.
        return c.red() - c.blue();
    };
    const int newest = orangeness({5, 8});
    const int oldest = orangeness({1, 0});
    EXPECT_GT(newest, 200);
    EXPECT_GT(newest, oldest + 60);

    // A new map keeps the trail; the throttle axis switched off or on starts it anew.
    SurfaceMap changed = DefaultMap();
    changed.advance[0] += 1;
    view.SetMap(changed);
    EXPECT_EQ(view.Trail().Cells().size(), CellTrail::kLength);
    view.SetMap(DefaultMap(false));
    EXPECT_TRUE(view.Trail().Cells().empty());
    view.SetLiveCell(MapCell{9, 2});
    view.SetMap(DefaultMap(true));
    EXPECT_TRUE(view.Trail().Cells().empty());
    view.SetLiveCell(MapCell{4, 4});
    view.ClearTrail();
    EXPECT_TRUE(view.Trail().Cells().empty());
    // A cell outside the rows in use shows nothing.
    view.SetMap(DefaultMap(false));
    view.SetLiveCell(MapCell{3, 3});
    EXPECT_FALSE(view.LiveCell().has_value());
    EXPECT_FALSE(LimeCentre(Grab(view)).has_value());
}

// A live move repaints only around the old and the new marks: what is on the screen after a
// run of moves (and a cleared trail) is what a whole repaint draws, no mark left behind.
TEST(SurfaceView, LiveMovesRepaintPartlyAndLeaveNoStaleMarks) {
    SurfaceView view(kEnglish);
    view.resize(640, 480);
    view.SetMap(DefaultMap());
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    auto onScreen = [&] {
        QApplication::processEvents();
        return view.screen()
            ->grabWindow(view.winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    auto stale = [&](const QImage& shown) {
        const QImage whole = Grab(view);
        int differing = 0;
        for (int y = 0; y < whole.height(); ++y) {
            for (int x = 0; x < whole.width(); ++x)
                differing += qGray(whole.pixel(x, y)) != qGray(shown.pixel(x, y));
        }
        return differing;
    };
    const MapCell path[] = {{2, 2}, {2, 3}, {3, 3}, {2, 3}, {2, 2}, {9, 9}, {0, 0}, {5, 7}};
    for (const MapCell& cell : path) {
        view.SetLiveCell(cell);
        const QImage shown = onScreen();
        ASSERT_EQ(shown.size(), view.size());
        EXPECT_EQ(stale(shown), 0) << "after a move to " << cell.row << "," << cell.column;
    }
    view.ClearTrail();
    view.SetLiveCell(std::nullopt);
    const QImage shown = onScreen();
    EXPECT_EQ(stale(shown), 0) << "after the trail was cleared";
    EXPECT_FALSE(LimeCentre(shown).has_value());
}

// ---- the axis titles ------------------------------------------------------------------------

struct TitleCase {
    const char* name;
    std::uint8_t language;
    ViewAngle view;
    QSize size;
    bool throttleAxis;
};

void PrintTo(const TitleCase& c, std::ostream* os) {
    *os << c.name;
}

class AxisTitles : public ::testing::TestWithParam<TitleCase> {};

// However short the title (English "RPM" sits among the numbers at first), each axis is named.
TEST_P(AxisTitles, EveryAxisIsNamedInTheLanguage) {
    const TitleCase& c = GetParam();
    SurfaceView view(c.language);
    view.resize(c.size);
    view.SetMap(DefaultMap(c.throttleAxis));
    view.SetView(c.view);
    Grab(view);
    const QStringList& drawn = view.LabelsDrawn();
    auto named = [&](const char* title) { return drawn.contains(QString::fromUtf8(title)); };
    EXPECT_TRUE(named(surfacetext::kRpmAxis.In(c.language))) << drawn.join('|').toStdString();
    EXPECT_TRUE(named(surfacetext::kAdvanceAxis.In(c.language))) << drawn.join('|').toStdString();
    EXPECT_EQ(named(surfacetext::kThrottleAxis.In(c.language)), c.throttleAxis)
        << drawn.join('|').toStdString();
    EXPECT_TRUE(drawn.contains("1000") && drawn.contains("10000"));
}

INSTANTIATE_TEST_SUITE_P(
    Views, AxisTitles,
    ::testing::Values(
        TitleCase{"English", kLanguageEnglish, ViewAngle{}, QSize(640, 480), true},
        TitleCase{"Czech", kLanguageCzech, ViewAngle{}, QSize(640, 480), true},
        TitleCase{"German", kLanguageGerman, ViewAngle{}, QSize(640, 480), true},
        TitleCase{"EnglishCurve", kLanguageEnglish, ViewAngle{}, QSize(640, 480), false},
        TitleCase{"EnglishTurned", kLanguageEnglish, ViewAngle{-140, 50, 1, 0, 0}, QSize(800, 600),
                  true},
        TitleCase{"EnglishSmall", kLanguageEnglish, ViewAngle{}, QSize(320, 240), true},
        TitleCase{"GermanFromAbove", kLanguageGerman, ViewAngle{0, 90, 1, 0, 0}, QSize(800, 600),
                  true}));

// ---- sizes and odd maps ---------------------------------------------------------------------

struct SizeCase {
    const char* name;
    QSize size;
    SurfaceMap map;
};

void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << c.name;
}

SurfaceMap AtTheLimits() {
    SurfaceMap map = DefaultMap();
    map.rpm = {100, 300, 400, 500, 600, 700, 800, 900, 1000, 20100};
    for (std::size_t i = 0; i < map.advance.size(); ++i) map.advance[i] = i % 3 == 0 ? 60 : 0;
    return map;
}

SurfaceMap AllEqual() {
    SurfaceMap map = DefaultMap();
    map.advance.fill(25);
    return map;
}

class Sizes : public ::testing::TestWithParam<SizeCase> {};

// Whatever the size and the map, the surface is drawn inside the window with the live cell on it.
TEST_P(Sizes, SurfaceAndLiveCellDrawnInsideTheWindow) {
    const SizeCase& c = GetParam();
    SurfaceView view(kEnglish);
    view.resize(c.size);
    view.SetMap(c.map);
    view.SetLiveCell(MapCell{9, 5});
    const QImage image = Grab(view);
    ASSERT_EQ(image.size(), c.size);
    const std::optional<QPointF> marker = LimeCentre(image);
    ASSERT_TRUE(marker.has_value());
    EXPECT_TRUE(QRectF(QPointF(0, 0), QSizeF(c.size)).contains(*marker));
    // Something besides the background in the middle of the picture: the surface.
    const QColor background = view.palette().color(QPalette::Base);
    int drawn = 0;
    for (int y = c.size.height() / 4; y < c.size.height() * 3 / 4; y += 2) {
        for (int x = c.size.width() / 4; x < c.size.width() * 3 / 4; x += 2)
            drawn += image.pixelColor(x, y) != background;
    }
    EXPECT_GT(drawn, 0);
    EXPECT_EQ(view.CellAt(view.CellPosition({9, 5})), (MapCell{9, 5}));
}

INSTANTIATE_TEST_SUITE_P(Windows, Sizes,
                         ::testing::Values(SizeCase{"Tiny", QSize(50, 50), DefaultMap()},
                                           SizeCase{"TinyCurve", QSize(50, 50), DefaultMap(false)},
                                           SizeCase{"Narrow", QSize(60, 700), AtTheLimits()},
                                           SizeCase{"AllEqual", QSize(640, 480), AllEqual()},
                                           SizeCase{"Limits", QSize(640, 480), AtTheLimits()},
                                           SizeCase{"FourK", QSize(3840, 2160), DefaultMap()},
                                           SizeCase{"FourKCurve", QSize(3840, 2160),
                                                    DefaultMap(false)}));

// ---- the mouse and the keys -----------------------------------------------------------------

void SendMouse(QWidget& w, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(at), w.mapToGlobal(QPointF(at)), button, buttons, modifiers);
    QApplication::sendEvent(&w, &event);
}

void Drag(QWidget& w, QPoint from, QPoint to, Qt::MouseButton button,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    SendMouse(w, QEvent::MouseButtonPress, from, button, button, modifiers);
    const QPoint middle = (from + to) / 2;
    SendMouse(w, QEvent::MouseMove, middle, Qt::NoButton, button, modifiers);
    SendMouse(w, QEvent::MouseMove, to, Qt::NoButton, button, modifiers);
    SendMouse(w, QEvent::MouseButtonRelease, to, button, Qt::NoButton, modifiers);
}

class SurfaceMouse : public ::testing::Test {
  protected:
    void SetUp() override {
        view.resize(800, 600);
        view.SetMap(DefaultMap());
    }
    SurfaceView view{kEnglish};
};

TEST_F(SurfaceMouse, ClickOnACellReportsItButADragDoesNot) {
    QSignalSpy clicked(&view, &SurfaceView::CellClicked);
    QSignalSpy changed(&view, &SurfaceView::ViewChanged);
    const QPoint at = view.CellPosition({6, 3}).toPoint();
    SendMouse(view, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    SendMouse(view, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), 6);
    EXPECT_EQ(clicked.at(0).at(1).toInt(), 3);
    EXPECT_EQ(changed.count(), 0);

    SendMouse(view, QEvent::MouseButtonPress, QPoint(3, 3), Qt::LeftButton, Qt::LeftButton);
    SendMouse(view, QEvent::MouseButtonRelease, QPoint(3, 3), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(clicked.count(), 1);  // off the surface

    Drag(view, at, at + QPoint(50, -20), Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
    ASSERT_EQ(changed.count(), 1);
    const ViewAngle start;
    EXPECT_NEAR(view.View().yaw, start.yaw + 50 * 0.4, 1e-9);
    EXPECT_NEAR(view.View().pitch, start.pitch - 20 * 0.4, 1e-9);
    EXPECT_EQ(changed.at(0).at(0).value<ViewAngle>(), view.View());
}

TEST_F(SurfaceMouse, RightDragOrShiftDragMovesThePicture) {
    QSignalSpy menu(&view, &SurfaceView::ContextMenuRequested);
    struct Case {
        Qt::MouseButton button;
        Qt::KeyboardModifiers modifiers;
    } cases[] = {{Qt::RightButton, Qt::NoModifier}, {Qt::LeftButton, Qt::ShiftModifier}};
    for (const Case& c : cases) {
        view.ResetView();
        const QPointF before = view.CellPosition({5, 5});
        Drag(view, QPoint(400, 300), QPoint(440, 270), c.button, c.modifiers);
        const QPointF after = view.CellPosition({5, 5});
        EXPECT_NEAR(after.x() - before.x(), 40, 1e-6) << c.button;
        EXPECT_NEAR(after.y() - before.y(), -30, 1e-6) << c.button;
        EXPECT_EQ(view.View().yaw, ViewAngle{}.yaw);
    }
    EXPECT_EQ(menu.count(), 0);
    // A right click that does not move asks for the owner's menu.
    SendMouse(view, QEvent::MouseButtonPress, QPoint(100, 100), Qt::RightButton, Qt::RightButton);
    SendMouse(view, QEvent::MouseButtonRelease, QPoint(100, 100), Qt::RightButton, Qt::NoButton);
    ASSERT_EQ(menu.count(), 1);
    EXPECT_EQ(menu.at(0).at(0).toPoint(), view.mapToGlobal(QPoint(100, 100)));
}

TEST_F(SurfaceMouse, WheelZoomsAboutThePointer) {
    QSignalSpy changed(&view, &SurfaceView::ViewChanged);
    const QPointF cell = view.CellPosition({2, 7});
    QWheelEvent wheel(cell, view.mapToGlobal(cell), QPoint(), QPoint(0, 240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &wheel);
    EXPECT_NEAR(view.View().zoom, 1.125 * 1.125, 1e-9);
    EXPECT_NEAR(view.CellPosition({2, 7}).x(), cell.x(), 1e-6);
    EXPECT_NEAR(view.CellPosition({2, 7}).y(), cell.y(), 1e-6);
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(SurfaceMouse, KeysTurnAndZoomAndHomeGoesBackToTheStart) {
    QSignalSpy changed(&view, &SurfaceView::ViewChanged);
    struct Case {
        int key;
        double yaw;
        double pitch;
        double zoom;
    } cases[] = {
        {Qt::Key_Right, 35, 30, 1},   {Qt::Key_Left, 30, 30, 1},  {Qt::Key_Down, 30, 35, 1},
        {Qt::Key_Plus, 30, 35, 1.25}, {Qt::Key_Minus, 30, 35, 1}, {Qt::Key_Up, 30, 30, 1},
        {Qt::Key_Right, 35, 30, 1},   {Qt::Key_Home, 30, 30, 1},
    };
    int expectedSignals = 0;
    for (const Case& c : cases) {
        QTest::keyClick(&view, static_cast<Qt::Key>(c.key));
        EXPECT_NEAR(view.View().yaw, c.yaw, 1e-9) << c.key;
        EXPECT_NEAR(view.View().pitch, c.pitch, 1e-9) << c.key;
        EXPECT_NEAR(view.View().zoom, c.zoom, 1e-9) << c.key;
        EXPECT_EQ(changed.count(), ++expectedSignals) << c.key;
    }
    EXPECT_EQ(view.View(), ViewAngle{});
}

// ---- what the picture tells -----------------------------------------------------------------

TEST(SurfaceView, TooltipNamesRpmThrottleAndAdvanceInTheLanguage) {
    SurfaceView view(kEnglish);
    view.resize(800, 600);
    SurfaceMap map = DefaultMap();
    view.SetMap(map);
    const QPointF at = view.CellPosition({4, 2});
    EXPECT_EQ(view.ToolTipAt(at), "3000 rpm, throttle 20 %, advance 15°");
    EXPECT_EQ(view.ToolTipAt(QPointF(2, 2)), "");

    SurfaceMap other = map;
    other.advance[4 * kMapColumns + 2] = 18;
    view.SetCompare(other, "old.ign");
    EXPECT_EQ(view.ToolTipAt(at),
              "3000 rpm, throttle 20 %, advance 15°; compared 18° "
              "(difference -3°)");
    view.SetLanguage(kLanguageCzech);
    EXPECT_EQ(view.ToolTipAt(at),
              "3000 1/min, plyn 20 %, předstih 15°; porovnání 18° (rozdíl -3°)");
    view.SetLanguage(kLanguageGerman);
    view.SetCompare(std::nullopt);
    view.SetMap(DefaultMap(false));
    EXPECT_EQ(view.ToolTipAt(view.CellPosition({9, 3})), "4000 1/min, Vorzündung 25°");
}

// From above, each cell's own colour shows a little way from its point.
QColor ColourNear(SurfaceView& view, const QImage& image, MapCell cell) {
    const QPointF own = view.CellPosition(cell);
    const QPointF next = view.CellPosition({cell.row + 1, cell.column + 1});
    return image.pixelColor((own + (next - own) * 0.2).toPoint());
}

TEST(SurfaceView, CompareColoursEachCellByTheSignOfItsDifference) {
    SurfaceView view(kEnglish);
    view.resize(800, 600);
    view.SetView(ViewAngle{0, 90, 1, 0, 0});
    const SurfaceMap map = DefaultMap();
    SurfaceMap other = map;
    other.advance[2 * kMapColumns + 2] -= 5;  // the map has more here
    other.advance[5 * kMapColumns + 5] += 5;  // and less here
    view.SetMap(map);
    view.SetCompare(other, "other");
    const QImage image = Grab(view);
    const QColor more = ColourNear(view, image, {2, 2});
    const QColor less = ColourNear(view, image, {5, 5});
    const QColor same = ColourNear(view, image, {7, 7});
    EXPECT_GT(more.red(), more.blue() + 60);
    EXPECT_GT(less.blue(), less.red() + 60);
    EXPECT_LT(std::abs(same.red() - same.blue()), 20);
}

TEST(SurfaceView, SelectionIsOutlinedInTheHighlightColour) {
    SurfaceView view(kEnglish);
    view.resize(800, 600);
    view.SetView(ViewAngle{0, 90, 1, 0, 0});
    view.SetMap(DefaultMap());
    const QPointF onEdge = (view.CellPosition({2, 3}) + view.CellPosition({2, 4})) / 2;
    const QPointF inside = (view.CellPosition({3, 3}) + view.CellPosition({3, 4})) / 2;
    const QColor highlight = view.palette().color(QPalette::Highlight);
    EXPECT_NE(Grab(view).pixelColor(onEdge.toPoint()), highlight);
    view.SetSelection(CellRange{{4, 5}, {2, 3}});  // corners in either order
    const QImage image = Grab(view);
    EXPECT_EQ(image.pixelColor(onEdge.toPoint()), highlight);
    EXPECT_NE(image.pixelColor(inside.toPoint()), highlight);
}

TEST(SurfaceView, DarkPaletteDrawsLightTextOnTheDarkBase) {
    SurfaceView view(kEnglish);
    QPalette dark = view.palette();
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::Text, QColor(0xf0, 0xf0, 0xf0));
    view.setPalette(dark);
    view.resize(800, 600);
    view.SetMap(DefaultMap());
    const QImage image = Grab(view);
    EXPECT_EQ(image.pixelColor(1, 1), QColor(0x1e, 0x1e, 0x1e));
    int textPixels = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            textPixels += image.pixelColor(x, y) == QColor(0xf0, 0xf0, 0xf0);
    }
    EXPECT_GT(textPixels, 100);  // the labels
}

// ---- pictures -------------------------------------------------------------------------------

TEST(SurfaceView, SavesAPngAndKeepsTheOldFileWhenSavingFails) {
    QTemporaryDir folder;
    SurfaceView view(kEnglish);
    view.resize(320, 240);
    view.SetMap(DefaultMap());
    const QString path = folder.filePath("surface.png");
    QString error;
    ASSERT_TRUE(view.SavePng(path, &error)) << error.toStdString();
    EXPECT_EQ(QImage(path).size(), QSize(320, 240));

    const QString missing = folder.filePath("no/such/folder/surface.png");
    EXPECT_FALSE(view.SavePng(missing, &error));
    EXPECT_TRUE(error.startsWith("The picture could not be saved to " + missing + ": "))
        << error.toStdString();

    // A folder without write permission: the file already there stays as it was.
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
    if (!QFileInfo(folder.path()).isWritable()) {  // root can write anyway
        view.resize(100, 80);
        EXPECT_FALSE(view.SavePng(path, &error));
        EXPECT_EQ(QImage(path).size(), QSize(320, 240));
    }
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(SurfaceView, PrintsBlackOnWhiteEvenFromADarkPalette) {
    SurfaceView view(kEnglish);
    QPalette dark = view.palette();
    dark.setColor(QPalette::Base, Qt::black);
    dark.setColor(QPalette::Text, Qt::white);
    view.setPalette(dark);
    view.resize(400, 300);
    view.SetMap(DefaultMap());
    QImage page(1200, 900, QImage::Format_RGB32);
    page.fill(Qt::red);
    QString error;
    ASSERT_TRUE(view.Print(page, &error));
    EXPECT_EQ(page.pixelColor(2, 2), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(1195, 895), QColor(Qt::white));  // scaled to the whole page

    QTemporaryDir folder;
    QPdfWriter pdf(folder.filePath("surface.pdf"));
    ASSERT_TRUE(view.Print(pdf, &error));
    QFile file(folder.filePath("surface.pdf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");
    EXPECT_GT(file.size(), 2000);
}

TEST(SurfaceView, CopiesThePictureAsShownToTheClipboard) {
    SurfaceView view(kEnglish);
    view.resize(300, 200);
    view.SetMap(DefaultMap());
    view.SetLiveCell(MapCell{3, 3});
    view.CopyToClipboard();
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(300, 200));
    EXPECT_TRUE(LimeCentre(copied.convertToFormat(QImage::Format_RGB32)).has_value());
    EXPECT_EQ(view.Picture(QSize(640, 480)).size(), QSize(640, 480));
}

}  // namespace
}  // namespace korvan
