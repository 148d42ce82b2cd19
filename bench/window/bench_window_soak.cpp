// Resident memory of the window while live values arrive: one simulated hour of ticks on the
// offscreen platform with a fake serial line, a monitor frame every 6th tick whose engine
// speed and throttle sweep the map (the cursor, the read-outs and their colours change all the
// time), and every change painted. Prints resident memory after the first simulated minute
// and at the end; exits with 1 when it grew by 2 MB or more in between. With --surface the
// 3D window is open beside the grid the whole time, its live cell and trail painted.
//
//   bench_window_soak [simulated minutes, default 60] [--surface]
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "bench_window_setup.h"
#include "device/frame.h"
#include "tests/ui/window/callback_seams.h"
#include "tests/ui/window/fake_serial_port.h"
#include "ui/surface/surface_window.h"
#include "ui/window/form_hlav.h"
#include "ui/window/surface_window_controller.h"

namespace {

constexpr int kTicksPerMinute = 60000 / korvan::TFormHlav::kTickMs;
constexpr int kTicksPerFrame = 6;
constexpr long kAllowedGrowthKb = 2048;
constexpr int kRpmSweepTop = 12000;
constexpr int kRpmStep = 350;
constexpr int kTpsStep = 7;
constexpr int kPercent = 100;

long ResidentKb() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

korvan::DeviceFrame MonitorFrame(int step) {
    std::array<std::uint8_t, korvan::kPageSize> payload{};
    const int rpm = (step * kRpmStep) % kRpmSweepTop;
    payload[0] = static_cast<std::uint8_t>(rpm & 0xFF);
    payload[1] = static_cast<std::uint8_t>(rpm >> 8);
    const int lambda = (step * 97) % 1400;  // raw sensor word: bands and colours change
    payload[4] = static_cast<std::uint8_t>(lambda & 0xFF);
    payload[5] = static_cast<std::uint8_t>(lambda >> 8);
    payload[28] = static_cast<std::uint8_t>((step * kTpsStep) % (kPercent + 1));
    payload[29] = static_cast<std::uint8_t>(step % 40);  // advance
    payload[31] =
        static_cast<std::uint8_t>(step / 50 % 2);  // the rpm read-out turns red now and then
    payload[35] = 1;
    return korvan::BuildFrame(korvan::kMonitorAnswer, payload.data());
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    int minutes = 60;
    bool surface = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--surface") {
            surface = true;
        } else {
            minutes = std::max(2, std::atoi(argv[i]));
        }
    }

    korvan::bench::BenchWindow bench;
    auto& form = bench.form;
    auto& port = bench.port;
    if (!bench.exposed) return 2;
    // The throttle axis and the map page: the most cells take the cursor's colours.
    if (auto* tps = form->findChild<QCheckBox*>("CheckBoxTpsMapa")) tps->setChecked(true);
    if (auto* pages = form->findChild<QTabWidget*>("PageControl1")) pages->setCurrentIndex(1);
    if (surface) {
        form->Surface().ShowWindow();
        if (!QTest::qWaitForWindowExposed(form->Surface().Window())) return 2;
    }

    long afterFirstMinute = 0;
    const long total = static_cast<long>(minutes) * kTicksPerMinute;
    int frame = 0;
    for (long tick = 0; tick < total; ++tick) {
        if (tick % kTicksPerFrame == 0) port.Queue(MonitorFrame(frame++));
        form->OnTick();
        // What the tick changed is painted, as the event loop would between two ticks.
        QCoreApplication::processEvents();
        port.written.clear();
        if (tick + 1 == kTicksPerMinute) afterFirstMinute = ResidentKb();
    }
    const long atEnd = ResidentKb();
    const long growth = atEnd - afterFirstMinute;
    std::printf("simulated minutes      %d (%ld ticks, %d monitor frames)%s\n", minutes, total,
                frame, surface ? ", 3D window open" : "");
    std::printf("RSS after first minute %ld kB\n", afterFirstMinute);
    std::printf("RSS at the end         %ld kB\n", atEnd);
    std::printf("growth                 %ld kB (allowed < %ld kB)\n", growth, kAllowedGrowthKb);
    return growth < kAllowedGrowthKb ? 0 : 1;
}
