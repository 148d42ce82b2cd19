// One undo and one redo of a whole-tune step (Open replaced every parameter) in the real
// window on the offscreen platform, the map page shown with the throttle axis: the image set,
// normalised, every control shown again, and what the tick scheduled painted.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "bench_window_setup.h"
#include "params/defaults.h"
#include "tests/ui/window/callback_seams.h"
#include "tests/ui/window/fake_serial_port.h"
#include "ui/window/form_hlav.h"
#include "ui/window/parameter_undo.h"

namespace {

korvan::TFormHlav* window = nullptr;

void BM_UndoRedoWholeTune(benchmark::State& state) {
    korvan::ParameterUndo& undo = window->Undo();
    for (auto _ : state) {
        undo.Undo();
        QApplication::processEvents();
        undo.Redo();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_UndoRedoWholeTune)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);

    korvan::bench::BenchWindow bench;
    auto& form = bench.form;
    QTest::mouseClick(form->findChild<QCheckBox*>("CheckBoxTpsMapa"), Qt::LeftButton);
    form->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);

    // A step that changes every map cell and the other bike type's defaults.
    korvan::DeviceImage other = form->Image();
    other[korvan::field::BikeType] = 3;
    korvan::SetDefaults(other);
    for (int cell = 0; cell < 100; ++cell)
        other[korvan::field::Advance + cell] = static_cast<std::uint8_t>(cell % 40);
    form->Model().Replace(other, korvan::ModelChange(korvan::CommitKind::Open, "tune.ign"));
    QTest::qWait(30);
    window = form.get();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    window = nullptr;
    return 0;
}
