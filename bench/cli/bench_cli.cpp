// How many ticks korvan2-cli's operations take from the port being open to their end, against
// a prompt simulated unit over a pseudo-terminal (the session the command line runs), and the
// wall time of the whole korvan2-cli process for each command.
#include <QCoreApplication>
#include <QProcess>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "cli/link_session.h"
#include "device/qt_serial_port.h"
#include "files/atomic_write.h"
#include "files/parameter_file.h"
#include "params/defaults.h"
#include "sim_process.h"

namespace {

using korvan::test::SimProcess;

template <typename T>
void PrintFigures(const char* name, std::vector<T> values, const char* unit, const char* format) {
    std::sort(values.begin(), values.end());
    std::printf("%-22s %s min ", name, unit);
    std::printf(format, values.front());
    std::printf(" median ");
    std::printf(format, values[values.size() / 2]);
    std::printf(" max ");
    std::printf(format, values.back());
    std::printf("   (%zu runs)\n", values.size());
}

bool MeasureTicks(const char* name, const std::function<void(korvan::DeviceLink&)>& start,
                  int repetitions) {
    SimProcess sim({"--quiet"});
    std::vector<int> ticks;
    for (int i = 0; i < repetitions; ++i) {
        korvan::QtSerialPort port;
        korvan::DeviceImage image = korvan::DefaultImage();
        korvan::cli::LinkSession session(port, image, 1, nullptr);
        if (!sim.Started() || !session.Open(sim.PtyPath())) {
            std::fprintf(stderr, "cannot open the simulated unit\n");
            return false;
        }
        const korvan::cli::Outcome outcome = session.Run(start);
        session.Close();
        if (outcome != korvan::cli::Outcome::Confirmed) {
            std::fprintf(stderr, "%s did not end in Verify OK\n", name);
            return false;
        }
        ticks.push_back(session.Ticks());
    }
    PrintFigures(name, ticks, "ticks after open", "%d");
    return true;
}

bool MeasureProcess(const char* name, const QStringList& command, int repetitions) {
    SimProcess sim({"--quiet"});
    std::vector<double> ms;
    for (int i = 0; i < repetitions; ++i) {
        QProcess p;
        const auto t0 = std::chrono::steady_clock::now();
        p.start(KORVAN_CLI_PATH,
                QStringList{"-q", "--port", QString::fromStdString(sim.PtyPath())} + command);
        if (!p.waitForFinished(10000) || p.exitCode() != 0) {
            std::fprintf(stderr, "%s failed: %s\n", name, p.readAllStandardError().constData());
            return false;
        }
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
    }
    PrintFigures(name, ms, "process wall ms", "%.0f");
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const std::string tune =
        "/tmp/bench_cli_" + std::to_string(QCoreApplication::applicationPid()) + ".ign";
    korvan::WriteFileAtomically(tune, korvan::ParameterFileText(korvan::DefaultImage(), false));

    bool ok = MeasureTicks(
        "program", [](korvan::DeviceLink& l) { l.StartProgram(); }, repetitions);
    ok &= MeasureTicks(
        "read", [](korvan::DeviceLink& l) { l.StartRead(); }, repetitions);
    ok &= MeasureTicks(
        "verify", [](korvan::DeviceLink& l) { l.StartVerify(); }, repetitions);
    ok &= MeasureProcess("korvan2-cli program", {"program", QString::fromStdString(tune)},
                         repetitions);
    ok &= MeasureProcess("korvan2-cli read", {"read"}, repetitions);
    ok &= MeasureProcess("korvan2-cli info", {"info"}, repetitions);
    std::remove(tune.c_str());
    return ok ? 0 : 1;
}
