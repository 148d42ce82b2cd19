// What each map operation costs on the whole map (the logic alone; the window adds its undo
// step and the refresh of the controls). Every run starts from the same image, so each
// iteration does the full work.
#include <benchmark/benchmark.h>

#include <functional>

#include "params/defaults.h"
#include "params/map_text.h"

namespace korvan {
namespace {

DeviceImage BenchImage() {
    DeviceImage image = DefaultImage();
    image[field::TpsMapa] = 1;
    for (int i = 0; i < kMapRows * kMapColumns; ++i)
        image[field::Advance + i] = static_cast<std::uint8_t>(i * 37 % 61);
    return image;
}

void RunOnWholeMap(benchmark::State& state,
                   const std::function<EditOutcome(DeviceImage&, const MapRect&)>& operation) {
    const DeviceImage start = BenchImage();
    const MapRect whole = MapRect::WholeMap();
    for (auto _ : state) {
        DeviceImage image = start;
        EditOutcome out = operation(image, whole);  // not const: DoNotOptimize of 1.9
        benchmark::DoNotOptimize(out.cellsChanged);
        benchmark::DoNotOptimize(image);
    }
}

void BM_Set(benchmark::State& s) {
    RunOnWholeMap(s, [](DeviceImage& i, const MapRect& b) { return SetCells(i, b, 25); });
}
void BM_AddOne(benchmark::State& s) {
    RunOnWholeMap(s, [](DeviceImage& i, const MapRect& b) { return AddToCells(i, b, 1); });
}
void BM_Scale(benchmark::State& s) {
    RunOnWholeMap(s, [](DeviceImage& i, const MapRect& b) { return ScaleCells(i, b, 95); });
}
void BM_InterpolateAlongRpm(benchmark::State& s) {
    RunOnWholeMap(s, InterpolateAlongRpm);
}
void BM_InterpolateAlongThrottle(benchmark::State& s) {
    RunOnWholeMap(s, InterpolateAlongThrottle);
}
void BM_InterpolateFromCorners(benchmark::State& s) {
    RunOnWholeMap(s, InterpolateFromCorners);
}
void BM_Smooth(benchmark::State& s) {
    RunOnWholeMap(s, SmoothCells);
}

void BM_ResampleOnAxisMove(benchmark::State& state) {
    const DeviceImage start = BenchImage();
    const RpmAxis old = MapRpmAxis(start);
    DeviceImage moved = start;
    moved[field::RpmAdv + 4] = 57;
    for (auto _ : state) {
        DeviceImage image = moved;
        benchmark::DoNotOptimize(ResampleMap(image, old).cellsChanged);
    }
}

void BM_CopyWithAxes(benchmark::State& state) {
    const DeviceImage image = BenchImage();
    for (auto _ : state) benchmark::DoNotOptimize(FormatMapText(image, MapRect::WholeMap(), true));
}

void BM_PasteWithAxes(benchmark::State& state) {
    const DeviceImage start = BenchImage();
    const std::string text = FormatMapText(start, MapRect::WholeMap(), true);
    for (auto _ : state) {
        DeviceImage image = start;
        benchmark::DoNotOptimize(PasteMapText(image, text, {MapRect::WholeMap(), false}).refused);
    }
}

// The largest text a paste looks at, refused for its last cell: the parser's worst case.
void BM_PasteRefusedAtTheLimit(benchmark::State& state) {
    const DeviceImage start = BenchImage();
    std::string text;
    while (text.size() + 8 < kMaxMapTextSize) text += "1\t";
    text += "x";
    for (auto _ : state) {
        DeviceImage image = start;
        benchmark::DoNotOptimize(PasteMapText(image, text, {MapRect::WholeMap(), false}).refused);
    }
}

// A 10 MB clipboard: refused by its length before it is looked at.
void BM_PasteTenMegabytes(benchmark::State& state) {
    const DeviceImage start = BenchImage();
    const std::string text(10 * 1024 * 1024, '1');
    for (auto _ : state) {
        DeviceImage image = start;
        benchmark::DoNotOptimize(PasteMapText(image, text, {MapRect::WholeMap(), false}).refused);
    }
}

BENCHMARK(BM_Set);
BENCHMARK(BM_AddOne);
BENCHMARK(BM_Scale);
BENCHMARK(BM_InterpolateAlongRpm);
BENCHMARK(BM_InterpolateAlongThrottle);
BENCHMARK(BM_InterpolateFromCorners);
BENCHMARK(BM_Smooth);
BENCHMARK(BM_ResampleOnAxisMove);
BENCHMARK(BM_CopyWithAxes);
BENCHMARK(BM_PasteWithAxes);
BENCHMARK(BM_PasteRefusedAtTheLimit);
BENCHMARK(BM_PasteTenMegabytes);

}  // namespace
}  // namespace korvan
