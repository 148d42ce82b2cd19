// The ride analysis window on a one-hour log of 72,000 rows (20 a second) on the offscreen
// platform: from the log in memory (the replay's) to the grid painted, from the file on disk
// through the window's own reader thread to the grid painted, and the other views and a
// filter change on that log.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "bench_window_setup.h"
#include "tests/ui/analysis/synthetic_ride.h"
#include "tests/ui/window/callback_seams.h"
#include "tests/ui/window/fake_serial_port.h"
#include "ui/analysis/analysis_window.h"
#include "ui/analysis/filter_panel.h"
#include "ui/window/analysis_controller.h"
#include "ui/window/form_hlav.h"
#include "ui/window/ride_log_controller.h"

namespace {

constexpr std::size_t kHourRows = 72000;
constexpr double kTwentyPerSecond = 0.05;

korvan::SharedLog hourLog;
QString hourFile;
korvan::TFormHlav* mainWindow = nullptr;

// Paints what is pending, as the event loop does before the user sees the window.
void Settle(QWidget& w) {
    QApplication::processEvents();
    (void)w.grab();
}

void BM_OpenOnHourLogInMemory(benchmark::State& state) {
    for (auto _ : state) {
        korvan::AnalysisWindow window(1);
        window.SetTune(korvan::testing::SyntheticRide::Tune());
        window.SetLog(hourLog, "/logs/hour.msl");
        window.show();
        Settle(window);
    }
}
BENCHMARK(BM_OpenOnHourLogInMemory)->Unit(benchmark::kMillisecond);

// The menu's path: the file read on the loader's thread, the grid painted once it arrives.
void BM_OpenOnHourLogFileFromTheMenu(benchmark::State& state) {
    auto* analysis = mainWindow->RideLog().findChild<korvan::AnalysisController*>();
    for (auto _ : state) {
        analysis->AnalyseFile(hourFile);
        while (analysis->Loader().Busy())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        Settle(*analysis->Window());
        state.PauseTiming();
        if (analysis->Window()->Log() == nullptr ||
            analysis->Window()->Log()->rows.size() != kHourRows)
            state.SkipWithError("the log did not arrive");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenOnHourLogFileFromTheMenu)->Unit(benchmark::kMillisecond);

void BM_ViewOfHourLog(benchmark::State& state) {
    korvan::AnalysisWindow window(1);
    window.SetTune(korvan::testing::SyntheticRide::Tune());
    window.SetLog(hourLog, "/logs/hour.msl");
    window.show();
    Settle(window);
    const int tab = static_cast<int>(state.range(0));
    for (auto _ : state) {
        window.Tabs()->setCurrentIndex(tab);
        Settle(window);
        state.PauseTiming();
        window.Tabs()->setCurrentIndex(tab == 0 ? 1 : 0);
        // The view is computed again each time it is shown.
        window.Filters()->WithoutN2oBox()->toggle();
        Settle(window);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ViewOfHourLog)->Arg(1)->Arg(2)->Arg(3)->ArgName("tab")->Unit(benchmark::kMillisecond);

void BM_FilterChangeOnHourLog(benchmark::State& state) {
    korvan::AnalysisWindow window(1);
    window.SetTune(korvan::testing::SyntheticRide::Tune());
    window.SetLog(hourLog, "/logs/hour.msl");
    window.show();
    Settle(window);
    for (auto _ : state) {
        window.Filters()->WithoutClutchBox()->toggle();
        Settle(window);
    }
}
BENCHMARK(BM_FilterChangeOnHourLog)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);

    korvan::testing::SyntheticRide ride(kHourRows);
    auto log = std::make_shared<korvan::RideLogReadResult>(ride.log);
    for (std::size_t i = 0; i < log->rows.size(); ++i)
        log->rows[i].TimeS = static_cast<double>(i) * kTwentyPerSecond;
    log->marks = {6000, 30000, 60000};
    hourLog = log;
    QTemporaryDir files;
    hourFile = files.filePath("hour.msl");
    {
        QFile f(hourFile);
        if (!f.open(QIODevice::WriteOnly)) return 1;
        const std::string text = korvan::EncodeRideLog(
            *log, korvan::LogFormat::Msl, {}, korvan::testing::SyntheticRide::Tune(), true);
        f.write(text.data(), static_cast<qint64>(text.size()));
    }

    korvan::bench::BenchWindow bench;
    auto& form = bench.form;
    QTest::mouseClick(form->findChild<QCheckBox*>("CheckBoxTpsMapa"), Qt::LeftButton);
    mainWindow = form.get();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    mainWindow = nullptr;
    hourLog.reset();
    return 0;
}
