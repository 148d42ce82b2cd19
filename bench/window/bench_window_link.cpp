// The real window against the simulated unit over a pseudo-terminal:
//  - ticks and wall time from F9 (and F7, F8) to "Verify OK", by where in the six-tick monitor
//    cycle the key is pressed: a key pressed while a monitor answer is on its way finds that
//    answer first in the next poll, and the page answer read with it is lost;
//  - CPU time of the tick (and of the repaint that follows it) with the Advance Map page shown
//    and the throttle axis on, ticks that handle a monitor frame apart from ticks without one.
// Usage: bench_window_link [TICKS_FOR_CPU] [CPU_TICK_MS]   (defaults 1800 and 20)
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "device/qt_serial_port.h"
#include "files/settings.h"
#include "sim_process.h"
#include "tests/ui/window/callback_seams.h"
#include "ui/window/form_hlav.h"

namespace {

using korvan::TFormHlav;
using korvan::test::SimProcess;
using Clock = std::chrono::steady_clock;

constexpr std::uint8_t kMonitorRequest = 0x30;
constexpr std::uint8_t kMonitorAnswer = 0xB0;
constexpr long kFrameSize = 102;

// Passes everything to the real port and notes what the last poll read and what was written.
class CountingPort : public korvan::SerialPort {
  public:
    explicit CountingPort(korvan::SerialPort& inner) : inner_(inner) {}
    bool Open(const std::string& name) override { return inner_.Open(name); }
    void Close() override { inner_.Close(); }
    bool IsOpen() const override { return inner_.IsOpen(); }
    long BytesQueued() override { return inner_.BytesQueued(); }
    long Read(std::uint8_t* data, std::size_t max) override {
        const long got = inner_.Read(data, max);
        if (got >= kFrameSize) lastFrameCommand = data[0];
        return got;
    }
    bool Write(const std::uint8_t* data, std::size_t size) override {
        if (size > 0) lastWritten = data[0];
        return inner_.Write(data, size);
    }
    bool WaitUntilSent() override { return inner_.WaitUntilSent(); }

    int lastFrameCommand = -1;  // first byte of the frame the last read returned, -1 for none
    int lastWritten = -1;

  private:
    korvan::SerialPort& inner_;
};

double ProcessCpuNs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

struct Stats {
    std::vector<double> v;
    void Add(double x) { v.push_back(x); }
    double Mean() const {
        double s = 0;
        for (double x : v) s += x;
        return v.empty() ? 0 : s / static_cast<double>(v.size());
    }
    double Quantile(double q) {
        if (v.empty()) return 0;
        std::sort(v.begin(), v.end());
        return v[std::min(v.size() - 1,
                          static_cast<std::size_t>(q * static_cast<double>(v.size())))];
    }
};

class Bench {
  public:
    explicit Bench(const std::vector<std::string>& simArgs) : sim_(simArgs) {}

    bool Open() {
        if (!sim_.Started()) return false;
        QDir(TFormHlav::SettingsFolder()).removeRecursively();
        QDir().mkpath(TFormHlav::SettingsFolder());
        QFile ini(TFormHlav::SettingsFolder() + "/" + korvan::kSettingsFileName);
        if (!ini.open(QIODevice::WriteOnly)) return false;
        ini.write("[PORTS]\nCOM1=" + QByteArray::fromStdString(sim_.PtyPath()) + "\n");
        ini.close();
        korvan::FormOptions options;
        options.arguments = {"ENGLISH"};
        seams_.messageBox = [](const QString& text) {
            std::fprintf(stderr, "message box: %s\n", qPrintable(text));
        };
        options.seams = &seams_;
        form = std::make_unique<TFormHlav>(counting_, options);
        form->Timer1()->stop();
        form->show();
        return QTest::qWaitForWindowExposed(form.get());
    }
    ~Bench() {
        if (form) form->close();
        form.reset();
    }

    // Lets the event loop run until `pace` after the last tick; the port's notes are cleared
    // for the tick that follows.
    void WaitForTick(
        std::chrono::milliseconds pace = std::chrono::milliseconds(TFormHlav::kTickMs)) {
        const auto now = Clock::now();
        next_ = (next_ == Clock::time_point{} ? now : next_) + pace;
        if (next_ < now) next_ = now;
        while (Clock::now() < next_) QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        counting_.lastFrameCommand = -1;
        counting_.lastWritten = -1;
    }
    void Tick() {
        WaitForTick();
        form->OnTick();
    }
    QString Message() const {
        auto* label = form->findChild<QLabel*>("LabelHlaseni");
        return label->isHidden() ? QString() : label->text();
    }

    // Ticks until the tick that sends a monitor request, then `phase` ticks more.
    bool ToPhase(int phase) {
        int n = 0;
        do {
            Tick();
            if (++n > 20) return false;
        } while (counting_.lastWritten != kMonitorRequest);
        for (int i = 0; i < phase; ++i) Tick();
        return true;
    }

    korvan::testing::CallbackSeams seams_;  // outlives the window
    std::unique_ptr<TFormHlav> form;
    CountingPort& Port() { return counting_; }

  private:
    SimProcess sim_;
    korvan::QtSerialPort qt_;
    CountingPort counting_{qt_};
    Clock::time_point next_{};
};

// F9 / F7 / F8 to "Verify OK", pressed 0..5 ticks after the tick that sent a monitor request.
bool MeasureOperation(Bench& b, const char* name, Qt::Key key, int exchanges, int repetitions) {
    std::printf("%s to \"Verify OK\" (%d exchanges), by ticks since the last monitor request:\n",
                name, exchanges);
    Stats allTicks, allMs;
    for (int phase = 0; phase < 6; ++phase) {
        Stats ticks, ms;
        for (int r = 0; r < repetitions; ++r) {
            if (!b.ToPhase(phase)) {
                std::fprintf(stderr, "no monitor request seen\n");
                return false;
            }
            // Between ticks, as a key arrives: part of the way to the next tick.
            const auto wait = Clock::now() + std::chrono::milliseconds(20);
            while (Clock::now() < wait) QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
            const auto t0 = Clock::now();
            QTest::keyClick(b.form.get(), key);
            int n = 0;
            while (n < 80) {
                b.Tick();
                ++n;
                if (b.Message() == "Verify OK" &&
                    b.form->Link().Mode() == korvan::OperationMode::None)
                    break;
            }
            const double wall =
                std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
            if (b.Message() != "Verify OK") {
                std::fprintf(stderr, "%s ended with \"%s\"\n", name, qPrintable(b.Message()));
                return false;
            }
            ticks.Add(n);
            ms.Add(wall);
            allTicks.Add(n);
            allMs.Add(wall);
        }
        std::printf(
            "  phase %d: ticks min %.0f median %.0f max %.0f   wall ms min %.0f median %.0f max "
            "%.0f\n",
            phase, ticks.Quantile(0), ticks.Quantile(0.5), ticks.Quantile(1), ms.Quantile(0),
            ms.Quantile(0.5), ms.Quantile(1));
    }
    std::printf("  all %zu runs: ticks median %.0f mean %.2f   wall ms median %.0f mean %.0f\n",
                allTicks.v.size(), allTicks.Quantile(0.5), allTicks.Mean(), allMs.Quantile(0.5),
                allMs.Mean());
    return true;
}

// CPU time of the tick and of the tick with the repaint it causes, on the Advance Map page.
bool MeasureTickCpu(Bench& b, const char* what, int ticks, std::chrono::milliseconds pace) {
    Stats frameTick, frameTickPaint, idleTick, idleTickPaint;
    const QString rpmBefore = b.form->findChild<QLabel*>("LabelRpm")->text();
    for (int i = 0; i < ticks; ++i) {
        b.WaitForTick(pace);
        const double c0 = ProcessCpuNs();
        b.form->OnTick();
        const double c1 = ProcessCpuNs();
        QApplication::sendPostedEvents();
        QApplication::processEvents();
        const double c2 = ProcessCpuNs();
        const bool frame = b.Port().lastFrameCommand == kMonitorAnswer;
        (frame ? frameTick : idleTick).Add((c1 - c0) / 1000.0);
        (frame ? frameTickPaint : idleTickPaint).Add((c2 - c0) / 1000.0);
    }
    if (frameTick.v.empty()) {
        std::fprintf(stderr, "no monitor frame was handled\n");
        return false;
    }
    if (b.form->findChild<QLabel*>("LabelRpm")->text() == rpmBefore) {
        std::fprintf(stderr, "the monitor column did not change\n");
    }
    std::printf("tick CPU, %s (%d ticks %lld ms apart; process CPU time, microseconds):\n", what,
                ticks, static_cast<long long>(pace.count()));
    std::printf(
        "  with a monitor frame    (%4zu ticks): tick mean %7.1f median %7.1f p95 %7.1f   "
        "tick+repaint mean %7.1f median %7.1f p95 %7.1f\n",
        frameTick.v.size(), frameTick.Mean(), frameTick.Quantile(0.5), frameTick.Quantile(0.95),
        frameTickPaint.Mean(), frameTickPaint.Quantile(0.5), frameTickPaint.Quantile(0.95));
    std::printf(
        "  without a frame         (%4zu ticks): tick mean %7.1f median %7.1f p95 %7.1f   "
        "tick+repaint mean %7.1f median %7.1f p95 %7.1f\n",
        idleTick.v.size(), idleTick.Mean(), idleTick.Quantile(0.5), idleTick.Quantile(0.95),
        idleTickPaint.Mean(), idleTickPaint.Quantile(0.5), idleTickPaint.Quantile(0.95));
    return true;
}

void ShowAdvanceMapWithThrottleAxis(Bench& b) {
    auto* tps = b.form->findChild<QCheckBox*>("CheckBoxTpsMapa");
    if (!tps->isChecked()) QTest::mouseClick(tps, Qt::LeftButton);
    b.form->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
    QTest::qWait(30);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    const int cpuTicks = argc > 1 ? std::max(60, std::atoi(argv[1])) : 1800;
    const std::chrono::milliseconds cpuPace(argc > 2 ? std::max(5, std::atoi(argv[2])) : 20);

    bool ok = true;
    {
        Bench b({"--quiet"});
        if (!b.Open()) {
            std::fprintf(stderr, "cannot start the window on the simulated unit\n");
            return 1;
        }
        ok &= MeasureOperation(b, "F9 program", Qt::Key_F9, 5, 3);
        // The read's first request waits for the monitor cycle's counter to reach 4.
        ok &= MeasureOperation(b, "F7 read", Qt::Key_F7, 5, 1);
        ok &= MeasureOperation(b, "F8 verify", Qt::Key_F8, 2, 1);
    }
    {
        Bench b({"--quiet"});
        ok &= b.Open();
        if (ok) {
            ShowAdvanceMapWithThrottleAxis(b);
            ok &= MeasureTickCpu(b, "sweeping engine (read-outs and cursor move)", cpuTicks / 2,
                                 cpuPace);
        }
    }
    {
        Bench b({"--quiet", "--rpm", "4000", "--tps", "20"});
        ok &= b.Open();
        if (ok) {
            ShowAdvanceMapWithThrottleAxis(b);
            ok &= MeasureTickCpu(b, "engine held at 4000 rpm, 20 % (cursor still)", cpuTicks / 2,
                                 cpuPace);
        }
    }
    return ok ? 0 : 1;
}
