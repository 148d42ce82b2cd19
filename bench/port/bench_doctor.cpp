// What the port doctor's look at the system costs without the answer check (which waits on the
// line by design): /sys, /dev, every process's open files in /proc, the group file, udev's
// rule folders. It must stay far below the two seconds a whole check may take.
#include <benchmark/benchmark.h>

#include "device/port_doctor.h"

namespace {

void BM_DoctorLooksAtThisSystem(benchmark::State& state) {
    korvan::DoctorOptions o;
    o.user = korvan::CurrentDoctorUser();
    std::size_t lines = 0;
    for (auto _ : state) {
        korvan::DoctorReport r = korvan::RunPortDoctor(o);
        lines += r.findings.size() + r.notes.size();
        benchmark::DoNotOptimize(r);
    }
    state.counters["findings"] =
        static_cast<double>(lines) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_DoctorLooksAtThisSystem)->Unit(benchmark::kMillisecond);

void BM_DoctorLooksAtAMissingDevice(benchmark::State& state) {
    korvan::DoctorOptions o;
    o.user = korvan::CurrentDoctorUser();
    o.device = "/dev/ttyUSB-absent";
    for (auto _ : state) {
        korvan::DoctorReport r = korvan::RunPortDoctor(o);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_DoctorLooksAtAMissingDevice)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
