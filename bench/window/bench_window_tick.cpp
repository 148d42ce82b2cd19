// The window's 55 ms tick measured on the offscreen platform with a fake serial line:
//  - CPU time of one tick with a monitor frame and the map cursor update, for an unchanged
//    reading and for one that moves the cursor every tick;
//  - repaints of the 140 cursor controls and the four gauges per tick (an unchanged reading
//    must cause none);
//  - start-up time from process start to the window shown, and peak memory;
//  - with the 3D window open: the tick with a moving reading (the live cell and its trail
//    drawn anew each tick), a commit redrawn, and the time to open the window.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

#include "device/frame.h"
#include "params/device_image.h"
#include "tests/ui/window/callback_seams.h"
#include "tests/ui/window/fake_serial_port.h"
#include "tests/ui/window/paint_counter.h"
#include "ui/surface/surface_window.h"
#include "ui/window/form_hlav.h"
#include "ui/window/parameter_model.h"
#include "ui/window/ride_log_controller.h"
#include "ui/window/surface_window_controller.h"

namespace {

using korvan::DeviceFrame;
using korvan::TFormHlav;
using korvan::testing::PaintCounter;

DeviceFrame MonitorFrame(std::uint16_t rpm, std::uint8_t tpsPercent) {
    std::array<std::uint8_t, korvan::kPageSize> payload{};
    payload[0] = static_cast<std::uint8_t>(rpm & 0xFF);
    payload[1] = static_cast<std::uint8_t>(rpm >> 8);
    payload[4] = 0x1E;  // lambda raw 1310: 800 mV
    payload[5] = 0x05;
    payload[28] = tpsPercent;
    payload[29] = 24;  // advance
    payload[35] = 1;
    return korvan::BuildFrame(korvan::kMonitorAnswer, payload.data());
}

struct Bench {
    korvan::testing::FakeSerialPort port;
    std::unique_ptr<TFormHlav> form;
    PaintCounter cursorPaints;
    PaintCounter gaugePaints;
};
Bench* bench = nullptr;

// The cursor controls and the gauges, watched for paint events.
void WatchPaints(Bench& b) {
    const char* gauges[] = {"CGauge", "CGaugeRpm", "CGaugeTps", "CGaugeLambda"};
    for (const char* g : gauges) b.gaugePaints.Watch(b.form->findChild<QWidget*>(g));
    for (int i = 0; i < 100; ++i)
        b.cursorPaints.Watch(b.form->findChild<QWidget*>("Edit" + QString::number(50 + i)));
    for (int k = 1; k <= 10; ++k) {
        for (const char* prefix : {"EditRpmAdv", "LabelTps", "EditRpmPriv", "EditNapPriv"}) {
            b.cursorPaints.Watch(b.form->findChild<QWidget*>(prefix + QString::number(k)));
        }
    }
}

// One tick as the event loop runs it: the tick, then whatever it scheduled (paints included).
void Tick(Bench& b, const DeviceFrame& frame) {
    b.port.Queue(frame);
    b.form->OnTick();
    QApplication::processEvents();
    b.port.written.clear();
}

void CountRepaints(benchmark::State& state, const Bench& b, long cursorBefore, long gaugeBefore) {
    // Let whatever the ticks scheduled reach the screen before counting.
    QTest::qWait(30);
    const double ticks = static_cast<double>(state.iterations());
    state.counters["cursor_repaints_per_tick"] =
        static_cast<double>(b.cursorPaints.count - cursorBefore) / ticks;
    state.counters["gauge_repaints_per_tick"] =
        static_cast<double>(b.gaugePaints.count - gaugeBefore) / ticks;
}

void BM_TickUnchangedReading(benchmark::State& state) {
    Bench& b = *bench;
    const DeviceFrame frame = MonitorFrame(4200, 37);
    Tick(b, frame);
    QTest::qWait(30);
    const long cursorBefore = b.cursorPaints.count;
    const long gaugeBefore = b.gaugePaints.count;
    for (auto _ : state) Tick(b, frame);
    CountRepaints(state, b, cursorBefore, gaugeBefore);
}
BENCHMARK(BM_TickUnchangedReading)->Unit(benchmark::kMicrosecond);

void BM_TickMovingReading(benchmark::State& state) {
    Bench& b = *bench;
    const DeviceFrame frames[] = {MonitorFrame(4200, 37), MonitorFrame(8600, 85)};
    QTest::qWait(30);
    const long cursorBefore = b.cursorPaints.count;
    const long gaugeBefore = b.gaugePaints.count;
    int i = 0;
    for (auto _ : state) Tick(b, frames[i++ & 1]);
    CountRepaints(state, b, cursorBefore, gaugeBefore);
}
BENCHMARK(BM_TickMovingReading)->Unit(benchmark::kMicrosecond);

// The moving reading again with a ride log recording every frame: the difference to the
// tick above is what recording costs per frame.
void BM_TickMovingReadingRecorded(benchmark::State& state) {
    Bench& b = *bench;
    QTemporaryDir dir;
    korvan::RideLogController& log = b.form->RideLog();
    if (!log.StartRecording(dir.filePath("bench.msl"))) {
        state.SkipWithError("cannot record");
        return;
    }
    const DeviceFrame frames[] = {MonitorFrame(4200, 37), MonitorFrame(8600, 85)};
    int i = 0;
    for (auto _ : state) Tick(b, frames[i++ & 1]);
    log.StopRecording();
    state.counters["bytes_per_row"] =
        static_cast<double>(QFileInfo(dir.filePath("bench.msl")).size()) /
        static_cast<double>(state.iterations());
}
BENCHMARK(BM_TickMovingReadingRecorded)->Unit(benchmark::kMicrosecond);

// The 3D window shown and painted; milliseconds it took.
double OpenSurface(Bench& b) {
    QElapsedTimer t;
    t.start();
    b.form->Surface().ShowWindow();
    (void)QTest::qWaitForWindowExposed(b.form->Surface().Window());
    QApplication::processEvents();
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

// CPU time of the calling thread (the window's) and of the whole process, in microseconds.
double ThreadCpuUs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}
double ProcessCpuUs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

// The moving reading with the 3D window open beside the grid: the tick alone (the link, the
// cursor, the signals that schedule the repaints) apart from the repaint the event loop does
// after it, where the live cell and its trail are drawn anew. Qt's raster engine hands large
// fills to worker threads, so the repaint is counted on the window's thread and for the whole
// process.
// With state.range(0) == 1 the engine sweeps the map instead: every frame a new cell, the
// trail fifty different cells long (the most a repaint has to draw).
void BM_TickMovingReadingSurfaceOpen(benchmark::State& state) {
    Bench& b = *bench;
    OpenSurface(b);
    std::vector<DeviceFrame> frames = {MonitorFrame(4200, 37), MonitorFrame(8600, 85),
                                       MonitorFrame(2500, 10)};
    if (state.range(0) == 1) {
        frames.clear();
        for (int k = 0; k < 97; ++k) {
            frames.push_back(MonitorFrame(static_cast<std::uint16_t>(1000 + (k * 1150) % 9500),
                                          static_cast<std::uint8_t>((k * 37) % 101)));
        }
    }
    std::size_t i = 0;
    double tickThread = 0, paintThread = 0, paintProcess = 0;
    for (auto _ : state) {
        b.port.Queue(frames[i++ % frames.size()]);
        const double t0 = ThreadCpuUs();
        b.form->OnTick();
        const double t1 = ThreadCpuUs();
        const double p1 = ProcessCpuUs();
        QApplication::processEvents();
        paintThread += ThreadCpuUs() - t1;
        paintProcess += ProcessCpuUs() - p1;
        tickThread += t1 - t0;
        b.port.written.clear();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["tick_cpu_us"] = tickThread / n;
    state.counters["repaint_thread_us"] = paintThread / n;
    state.counters["repaint_process_us"] = paintProcess / n;
    b.form->Surface().Window()->hide();
}
BENCHMARK(BM_TickMovingReadingSurfaceOpen)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The same ticks without the 3D window, split alike, for comparison.
void BM_TickMovingReadingSplit(benchmark::State& state) {
    Bench& b = *bench;
    const DeviceFrame frames[] = {MonitorFrame(4200, 37), MonitorFrame(8600, 85),
                                  MonitorFrame(2500, 10)};
    int i = 0;
    double tickThread = 0, paintThread = 0;
    for (auto _ : state) {
        b.port.Queue(frames[i++ % 3]);
        const double t0 = ThreadCpuUs();
        b.form->OnTick();
        const double t1 = ThreadCpuUs();
        QApplication::processEvents();
        paintThread += ThreadCpuUs() - t1;
        tickThread += t1 - t0;
        b.port.written.clear();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["tick_cpu_us"] = tickThread / n;
    state.counters["repaint_thread_us"] = paintThread / n;
}
BENCHMARK(BM_TickMovingReadingSplit)->Unit(benchmark::kMicrosecond);

// One map cell changed and committed with the 3D window open: the commit, the grid and the
// surface built and painted again, on the window's thread.
void BM_CommitRedrawnWithSurfaceOpen(benchmark::State& state) {
    Bench& b = *bench;
    OpenSurface(b);
    korvan::ParameterModel& model = b.form->Model();
    int i = 0;
    double thread = 0;
    for (auto _ : state) {
        const double t0 = ThreadCpuUs();
        model.MutableImage()[korvan::AdvanceIndex(4, 5)] = static_cast<std::uint8_t>(20 + i++ % 7);
        model.Commit(korvan::ModelChange(korvan::CommitKind::TypedField));
        QApplication::processEvents();
        thread += ThreadCpuUs() - t0;
    }
    state.counters["window_thread_ms"] = thread / 1000.0 / static_cast<double>(state.iterations());
    b.form->Surface().Window()->hide();
}
BENCHMARK(BM_CommitRedrawnWithSurfaceOpen)->Unit(benchmark::kMillisecond);

// Milliseconds since this process started, from the kernel's start time of the process.
double MsSinceProcessStart() {
    QFile stat("/proc/self/stat");
    if (!stat.open(QIODevice::ReadOnly)) return -1;
    const QByteArray text = stat.readAll();
    // Field 22 (starttime) counts after the command name, which is in parentheses.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble();
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
    return nowMs - startTicks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);

    Bench b;
    korvan::FormOptions options;
    options.arguments = {"ENGLISH"};
    static korvan::testing::CallbackSeams seams;
    seams.messageBox = [](const QString&) {};
    options.seams = &seams;
    b.form = std::make_unique<TFormHlav>(b.port, options);
    b.form->Timer1()->stop();
    b.form->show();
    (void)QTest::qWaitForWindowExposed(b.form.get());
    QApplication::processEvents();
    const double startupFromMain = static_cast<double>(sinceMain.nsecsElapsed()) / 1e6;
    const double startupFromProcess = MsSinceProcessStart();

    // The map page with the throttle axis: every cursor control is on screen.
    QTest::mouseClick(b.form->findChild<QCheckBox*>("CheckBoxTpsMapa"), Qt::LeftButton);
    b.form->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
    QTest::qWait(30);
    WatchPaints(b);
    bench = &b;
    // The 3D window: nothing of it at start-up; made on its first use, then shown again.
    const bool madeAtStart = b.form->Surface().Window() != nullptr;
    const double firstOpen = OpenSurface(b);
    b.form->Surface().Window()->hide();
    QApplication::processEvents();
    const double againOpen = OpenSurface(b);
    b.form->Surface().Window()->hide();
    QApplication::processEvents();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("start-up to window shown: %.1f ms from process start (%.1f ms from main)\n",
                startupFromProcess, startupFromMain);
    std::printf("peak memory (max RSS): %.1f MiB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    std::printf("3D window made at start-up: %s\n", madeAtStart ? "yes" : "no");
    std::printf("3D window first opened (made) in %.1f ms\n", firstOpen);
    std::printf("3D window opened again in %.1f ms\n", againOpen);
    bench = nullptr;
    b.form.reset();
    return 0;
}
