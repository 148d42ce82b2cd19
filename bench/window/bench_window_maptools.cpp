// The map tools in the real window on the offscreen platform, the Advance Map page shown with
// the throttle axis: each operation on the whole map (100 cells) as the user starts it, with
// its commit, its undo step, every control shown again and the window painted. The undo that
// puts the map back between two runs is not timed.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "bench_window_setup.h"
#include "params/map_text.h"
#include "tests/ui/window/callback_seams.h"
#include "tests/ui/window/fake_serial_port.h"
#include "ui/window/form_hlav.h"
#include "ui/window/keep_advance_option.h"
#include "ui/window/map_tools.h"
#include "ui/window/parameter_undo.h"

namespace {

korvan::TFormHlav* window = nullptr;

void Operation(benchmark::State& state, const std::function<void(korvan::MapTools&)>& operation) {
    korvan::MapTools& tools = window->Maps();
    tools.SelectAll();
    const korvan::DeviceImage before = window->Image();
    for (auto _ : state) {
        operation(tools);
        QApplication::processEvents();
        state.PauseTiming();
        if (window->Image() == before) state.SkipWithError("the operation changed nothing");
        window->Undo().Undo();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

BENCHMARK_CAPTURE(Operation, Add1, [](korvan::MapTools& t) {
    t.Add(1);
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Operation, Set33, [](korvan::MapTools& t) {
    t.SetTo(33);
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Operation, Scale95, [](korvan::MapTools& t) {
    t.Scale(95);
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Operation, InterpolateRpm, [](korvan::MapTools& t) {
    t.InterpolateAlongRpm();
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Operation, InterpolateThrottle, [](korvan::MapTools& t) {
    t.InterpolateAlongThrottle();
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Operation, InterpolateCorners, [](korvan::MapTools& t) {
    t.InterpolateFromCorners();
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Operation, Smooth, [](korvan::MapTools& t) {
    t.Smooth();
})->Unit(benchmark::kMillisecond);
// The whole map with its axes from the clipboard, as a spreadsheet puts it there.
BENCHMARK_CAPTURE(Operation, PasteWholeMap, [](korvan::MapTools& t) {
    t.Paste();
})->Unit(benchmark::kMillisecond);
// An RPM point moved with "Keep the advance" on: the axis and all 100 cells in one step.
BENCHMARK_CAPTURE(Operation, RpmPointMovedAdvanceKept, [](korvan::MapTools&) {
    korvan::ParameterModel& model = window->Model();
    model.MutableImage()[korvan::field::RpmAdv + 4] = 56;
    model.Commit(korvan::ModelChange(korvan::CommitKind::TypedField));
})->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);

    korvan::bench::BenchWindow bench;
    auto& form = bench.form;
    form->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);

    // A map with a different value in nearly every cell, so that every operation changes it.
    korvan::DeviceImage tune = form->Image();
    tune[korvan::field::TpsMapa] = 1;
    for (int cell = 0; cell < 100; ++cell)
        tune[korvan::field::Advance + cell] = static_cast<std::uint8_t>(10 + (cell * 7) % 23);
    form->Model().Replace(tune, korvan::ModelChange(korvan::CommitKind::Open, "tune.ign"));
    korvan::DeviceImage shifted = tune;
    for (int cell = 0; cell < 100; ++cell) ++shifted[korvan::field::Advance + cell];
    QApplication::clipboard()->setText(
        QString::fromStdString(korvan::FormatMapText(shifted, korvan::MapRect::WholeMap(), true)));
    form->KeepAdvance().Box()->setChecked(true);
    QTest::qWait(30);
    window = form.get();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    window = nullptr;
    return 0;
}
