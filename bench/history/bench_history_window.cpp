// How long the history window takes to open on a history of 10,000 points: the index read,
// the folder listed once and every row filled.
#include <benchmark/benchmark.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "files/atomic_write.h"
#include "files/parameter_file.h"
#include "params/defaults.h"
#include "ui/history/history_window.h"

namespace korvan {
namespace {

constexpr int kHistoryPoints = 10000;
constexpr std::int64_t kFirstPoint = 1796712303;

void BM_OpenHistoryWindow(benchmark::State& state) {
    char tmpl[] = "/tmp/korvan-bench-window-XXXXXX";
    const std::string folder = mkdtemp(tmpl);
    std::vector<RestorePoint> points;
    const std::string file = ParameterFileText(DefaultImage(), false);
    for (int i = 0; i < kHistoryPoints; ++i) {
        RestorePoint p;
        p.time = UtcStamp(kFirstPoint + i * 60);
        p.kind = static_cast<RestoreKind>(i % 4);
        p.fileName = PointFileName(p.time, p.kind, 1);
        p.unit = {"K2 v1.5", "8.12.2026", "06:40"};
        p.note = "after the run at the track, a little richer";
        std::ofstream(folder + "/" + p.fileName, std::ios::binary) << file;
        points.push_back(p);
    }
    WriteFileAtomically(folder + "/" + RestoreStore::kIndexName, IndexText(points));
    for (auto _ : state) {
        RestoreStore store(folder);
        HistoryWindow window(&store);
        window.Refresh();
        benchmark::DoNotOptimize(window.Model()->rowCount());
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_OpenHistoryWindow)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvan

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
