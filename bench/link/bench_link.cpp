// How long the unit's operations take over a real pseudo-terminal against the simulated unit,
// ticked at the window's 55 ms pace: ticks and wall time from the command to "Verify OK".
#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "link_harness.h"

namespace {

using korvan::test::LinkHarness;
using korvan::test::SimProcess;

struct Figures {
    std::vector<int> ticks;
    std::vector<double> ms;
};

bool Measure(const char* name, const std::function<void(LinkHarness&)>& start, int repetitions) {
    SimProcess sim({"--quiet"});
    Figures f;
    for (int i = 0; i < repetitions; ++i) {
        LinkHarness pc;
        if (!pc.Open(sim)) {
            std::fprintf(stderr, "cannot open the simulated unit\n");
            return false;
        }
        pc.Ticks(7);  // let the first monitor exchange pass, as a tuner's click would
        const auto t0 = std::chrono::steady_clock::now();
        start(pc);
        const int ticks = pc.RunOperation();
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count();
        if (pc.listener.message != "Verify OK") {
            std::fprintf(stderr, "%s ended with \"%s\"\n", name, pc.listener.message.c_str());
            return false;
        }
        f.ticks.push_back(ticks);
        f.ms.push_back(ms);
    }
    std::sort(f.ticks.begin(), f.ticks.end());
    std::sort(f.ms.begin(), f.ms.end());
    std::printf(
        "%-16s ticks min %d median %d max %d   wall ms min %.1f median %.1f max %.1f   (%d runs)\n",
        name, f.ticks.front(), f.ticks[f.ticks.size() / 2], f.ticks.back(), f.ms.front(),
        f.ms[f.ms.size() / 2], f.ms.back(), repetitions);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    bool ok = Measure(
        "program+verify", [](LinkHarness& pc) { pc.link.StartProgram(); }, repetitions);
    ok &= Measure(
        "read+verify", [](LinkHarness& pc) { pc.link.StartRead(); }, repetitions);
    ok &= Measure(
        "verify", [](LinkHarness& pc) { pc.link.StartVerify(); }, repetitions);
    return ok ? 0 : 1;
}
