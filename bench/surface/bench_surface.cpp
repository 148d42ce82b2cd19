// CPU time of the 3D view's work on the window thread, offscreen at 800 x 600: the redraw after
// a commit (a new map: the scene, the still picture and the marks), a live-cursor move (the kept
// picture and the marks), the whole picture for copy and print, the geometry alone, and one
// step of a point dragged in the curve window.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>

#include "params/binding.h"
#include "params/defaults.h"
#include "ui/ridelog/curve_view.h"
#include "ui/surface/surface_view.h"

namespace korvan {
namespace {

constexpr QSize kTypical(800, 600);

// One paint of the widget as the backing store gets it: its paint event into an image.
void Paint(QWidget& widget, QImage& target) {
    widget.render(&target);
}

SurfaceMap Map(int bump) {
    SurfaceMap map = SurfaceMapFromImage(DefaultImage(), true);
    map.advance[55] = 30 + bump;  // a commit changes one cell
    return map;
}

void BM_SurfaceRedrawAfterCommit(benchmark::State& state) {
    SurfaceView view(kLanguageEnglish);
    view.resize(kTypical);
    QImage target(kTypical, QImage::Format_ARGB32_Premultiplied);
    view.SetLiveCell(MapCell{4, 4});
    int bump = 0;
    for (auto _ : state) {
        view.SetMap(Map(++bump % 2));
        Paint(view, target);
    }
}
BENCHMARK(BM_SurfaceRedrawAfterCommit)->Unit(benchmark::kMillisecond);

void BM_SurfaceRedrawWithCompare(benchmark::State& state) {
    SurfaceView view(kLanguageEnglish);
    view.resize(kTypical);
    QImage target(kTypical, QImage::Format_ARGB32_Premultiplied);
    view.SetCompare(Map(7), "other");
    view.SetSelection(CellRange{{2, 2}, {5, 6}});
    int bump = 0;
    for (auto _ : state) {
        view.SetMap(Map(++bump % 2));
        Paint(view, target);
    }
}
BENCHMARK(BM_SurfaceRedrawWithCompare)->Unit(benchmark::kMillisecond);

void BM_SurfaceLiveCursorMove(benchmark::State& state) {
    SurfaceView view(kLanguageEnglish);
    view.resize(kTypical);
    QImage target(kTypical, QImage::Format_ARGB32_Premultiplied);
    view.SetMap(Map(0));
    Paint(view, target);
    int step = 0;
    for (auto _ : state) {
        ++step;
        view.SetLiveCell(MapCell{step / 10 % 10, step % 10});  // a full trail of 50
        Paint(view, target);
    }
}
BENCHMARK(BM_SurfaceLiveCursorMove)->Unit(benchmark::kMillisecond);

void BM_SurfaceLiveCellUnchanged(benchmark::State& state) {
    // A monitor frame in the same cell: the guarded setter asks for no paint at all.
    SurfaceView view(kLanguageEnglish);
    view.resize(kTypical);
    view.show();
    QImage target(kTypical, QImage::Format_ARGB32_Premultiplied);
    view.SetMap(Map(0));
    view.SetLiveCell(MapCell{3, 3});
    Paint(view, target);
    for (auto _ : state) {
        view.SetLiveCell(MapCell{3, 3});
        QApplication::processEvents();
    }
}
BENCHMARK(BM_SurfaceLiveCellUnchanged)->Unit(benchmark::kMicrosecond);

void BM_SurfacePicture(benchmark::State& state) {
    SurfaceView view(kLanguageEnglish);
    view.resize(kTypical);
    view.SetMap(Map(0));
    for (auto _ : state) benchmark::DoNotOptimize(view.Picture());
}
BENCHMARK(BM_SurfacePicture)->Unit(benchmark::kMillisecond);

void BM_SceneOrderAndPick(benchmark::State& state) {
    const SurfaceMap map = Map(0);
    for (auto _ : state) {
        const SurfaceScene scene(map, std::nullopt);
        const SceneView view(scene, Projection(ViewAngle{}, 800, 600, 48));
        benchmark::DoNotOptimize(view.Pick(400, 300, 6));
    }
}
BENCHMARK(BM_SceneOrderAndPick)->Unit(benchmark::kMicrosecond);

void BM_CurveDragStep(benchmark::State& state) {
    CurveView view(kLanguageEnglish);
    DeviceImage image = DefaultImage();
    image[field::TpsMapa] = 1;
    view.SetImage(image);
    view.resize(720, 480);
    view.show();
    QApplication::processEvents();
    QImage picture(QSize(720, 480), QImage::Format_ARGB32_Premultiplied);
    const std::size_t index = AdvanceIndex(3, 3);
    const QPointF from = *view.PointPosition(index);
    QWidget* target = view.childAt(from.toPoint());
    auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButton button,
                    Qt::MouseButtons buttons) {
        const QPointF local = target->mapFrom(&view, at);
        QMouseEvent event(type, local, target->mapToGlobal(local), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        // A degree up or down each time, so every move changes the value and redraws.
        const double degrees = 39 + (++step % 2 ? 1 : -1);
        send(QEvent::MouseMove, *view.PositionOf(index, degrees), Qt::NoButton, Qt::LeftButton);
        Paint(view, picture);
    }
    send(QEvent::MouseButtonRelease, from, Qt::LeftButton, Qt::NoButton);
}
BENCHMARK(BM_CurveDragStep)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvan

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
