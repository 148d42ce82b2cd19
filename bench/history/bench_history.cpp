// How long the compare view and the history window take to get their content.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

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

// The same two tunes as korvan2-cli compare --json prints them: every difference named by its
// parameter file key.
void BM_CompareAsJson(benchmark::State& state) {
    const DeviceImage base = DefaultImage();
    DeviceImage other = base;
    for (std::size_t i = kParamImageBegin; i < kImageSize; ++i)
        other[i] = static_cast<std::uint8_t>(other[i] + 1);
    for (auto _ : state) {
        std::string json = ComparisonJson(CompareParameters(base, other));
        benchmark::DoNotOptimize(json);
    }
}
BENCHMARK(BM_CompareAsJson)->Unit(benchmark::kMicrosecond);

// A restore point or a file to open: a clean file, and one where every number is out of its
// field's reach, so each one is listed.
void BM_ReadParameterFile(benchmark::State& state) {
    std::string text = ParameterFileText(DefaultImage(), false);
    if (state.range(0) != 0) {
        std::string wrapped;
        for (std::size_t i = 0; i < text.size(); ++i) {
            wrapped += text[i];
            const bool numberEnds =
                text[i] >= '0' && text[i] <= '9' &&
                (i + 1 == text.size() || text[i + 1] < '0' || text[i + 1] > '9');
            if (numberEnds && text.compare(0, 12, "MAVELTIK_KEY") == 0 && i > 16)
                wrapped += "00000";
        }
        text = wrapped;
    }
    std::size_t listed = 0;
    for (auto _ : state) {
        std::istringstream in(text, std::ios::binary);
        DeviceImage image = DefaultImage();
        const ParameterFileResult r = ReadParameterFile(in, image);
        listed = r.ignored.size();
        benchmark::DoNotOptimize(image);
    }
    state.counters["listed"] = static_cast<double>(listed);
}
BENCHMARK(BM_ReadParameterFile)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

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
