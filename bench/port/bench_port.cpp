// The port dialog looks at the system's ports once a second while it is open, and the
// reconnect tries an absent device once a second: both must cost next to nothing.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <string>

#include "device/qt_port_lister.h"
#include "device/qt_serial_port.h"
#include "ui/port/port_dialog.h"

namespace {

using korvan::PortDescription;

class FixedLister : public korvan::PortLister {
  public:
    std::vector<PortDescription> List() override { return ports; }
    std::vector<PortDescription> ports;
};

FixedLister FiftyPorts() {
    FixedLister lister;
    for (int i = 0; i < 50; ++i) {
        PortDescription p;
        p.device = "/dev/ttyUSB" + std::to_string(i);
        p.description = "USB serial adapter";
        p.manufacturer = "maker";
        p.serialNumber = "SN" + std::to_string(i);
        p.vendorId = 0x0403;
        p.productId = 0x6001;
        p.usb = true;
        lister.ports.push_back(p);
    }
    return lister;
}

// QSerialPortInfo's full listing of this machine's ports.
void BM_ListSystemPortsFull(benchmark::State& state) {
    korvan::QtPortLister lister("");
    for (auto _ : state) benchmark::DoNotOptimize(lister.List());
}
BENCHMARK(BM_ListSystemPortsFull)->Unit(benchmark::kMicrosecond);

// The once-a-second look when no terminal came or went.
void BM_ListSystemPortsUnchanged(benchmark::State& state) {
    korvan::QtPortLister lister;
    lister.List();
    for (auto _ : state) benchmark::DoNotOptimize(lister.List());
}
BENCHMARK(BM_ListSystemPortsUnchanged)->Unit(benchmark::kMicrosecond);

// The dialog's refresh when nothing changed (the usual second).
void BM_RefreshUnchangedFifty(benchmark::State& state) {
    FixedLister lister = FiftyPorts();
    korvan::PortDialog dialog(lister);
    dialog.Refresh();
    for (auto _ : state) dialog.Refresh();
}
BENCHMARK(BM_RefreshUnchangedFifty)->Unit(benchmark::kMicrosecond);

// The refresh when an adapter came or went: the table of fifty is rebuilt.
void BM_RefreshChangedFifty(benchmark::State& state) {
    FixedLister lister = FiftyPorts();
    korvan::PortDialog dialog(lister);
    dialog.show();
    bool toggle = false;
    for (auto _ : state) {
        lister.ports.back().serialNumber = (toggle = !toggle) ? "A" : "B";
        dialog.Refresh();
    }
}
BENCHMARK(BM_RefreshChangedFifty)->Unit(benchmark::kMicrosecond);

// One retry of a device that is not there, with the reason worked out.
void BM_RetryAbsentDevice(benchmark::State& state) {
    korvan::QtSerialPort port;
    for (auto _ : state) benchmark::DoNotOptimize(port.Open("/dev/ttyUSB-absent-device"));
}
BENCHMARK(BM_RetryAbsentDevice)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
