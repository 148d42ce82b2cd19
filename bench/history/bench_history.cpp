// How long the compare view and the history window take to get their content.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "files/atomic_write.h"
#include "files/parameter_file.h"
#include "history/compare.h"
#include "history/compare_text.h"
#include "history/restore_store.h"
#include "params/binding.h"
#include "params/defaults.h"

namespace korvan {
namespace {

constexpr int kHistoryPoints = 10000;
constexpr std::int64_t kFirstPoint = 1796712303;

// Two tunes far apart: every cell, both axes and a handful of fields differ, the most text
// a compare can produce.
void BM_CompareWithText(benchmark::State& state) {
    const DeviceImage base = DefaultImage();
    DeviceImage other = base;
    for (std::size_t i = kParamImageBegin; i < kImageSize; ++i)
        other[i] = static_cast<std::uint8_t>(other[i] + 1);
    for (auto _ : state) {
        const ParameterComparison c = CompareParameters(base, other);
        std::string text = CompareText(c, kLanguageCzech);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_CompareWithText)->Unit(benchmark::kMicrosecond);

void BM_CompareOneCell(benchmark::State& state) {
    const DeviceImage base = DefaultImage();
    DeviceImage other = base;
    other[AdvanceIndex(4, 4)] = static_cast<std::uint8_t>(other[AdvanceIndex(4, 4)] + 1);
    for (auto _ : state) {
        const ParameterComparison c = CompareParameters(base, other);
        std::string text = CompareText(c, kLanguageEnglish);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_CompareOneCell)->Unit(benchmark::kMicrosecond);

std::vector<RestorePoint> Points() {
    std::vector<RestorePoint> points;
    for (int i = 0; i < kHistoryPoints; ++i) {
        RestorePoint p;
        p.time = UtcStamp(kFirstPoint + i * 60);
        p.kind = static_cast<RestoreKind>(i % 4);
        p.fileName = PointFileName(p.time, p.kind, 1);
        p.unit = {"K2 v1.5", "8.12.2026", "06:40"};
        p.sourcePath = "/home/tuner/tunes/race " + std::to_string(i) + ".ign";
        p.note = "after the run at the track, a little richer";
        points.push_back(p);
    }
    return points;
}

void BM_ParseIndex(benchmark::State& state) {
    const std::string text = IndexText(Points());
    for (auto _ : state) {
        std::vector<StoreProblem> problems;
        benchmark::DoNotOptimize(ParseIndex(text, problems));
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ParseIndex)->Unit(benchmark::kMillisecond);

// What the history window does when it opens: read the index and list the folder once.
void BM_ListHistory(benchmark::State& state) {
    char tmpl[] = "/tmp/korvan-bench-history-XXXXXX";
    const std::string folder = mkdtemp(tmpl);
    const std::vector<RestorePoint> points = Points();
    const std::string file = ParameterFileText(DefaultImage(), false);
    for (const RestorePoint& p : points)
        std::ofstream(folder + "/" + p.fileName, std::ios::binary) << file;
    WriteFileAtomically(folder + "/" + RestoreStore::kIndexName, IndexText(points));
    for (auto _ : state) {
        RestoreStore store(folder);
        benchmark::DoNotOptimize(store.List().size());
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ListHistory)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvan

BENCHMARK_MAIN();
