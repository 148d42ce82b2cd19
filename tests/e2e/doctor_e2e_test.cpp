// korvan2-cli doctor, the real executable, against the simulated unit on a pseudo-terminal.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <iostream>

#include "cli_process.h"
#include "sim_process.h"

namespace korvan::test {
namespace {

CliResult RunDoctor(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"doctor", "--language", "en"};
    all.insert(all.end(), args.begin(), args.end());
    return CliProcess().Run(all);
}

TEST(DoctorEndToEnd, AnAnsweringUnitExitsZeroAndASilentOneNineteen) {
    const struct {
        const char* what;
        std::vector<std::string> simArgs;
        int code;
        const char* says;
    } cases[] = {
        {"answering unit", {}, 0, "A unit answers on "},
        {"silent unit", {"--drop-every", "1"}, 19, "no unit answers"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SimProcess sim(c.simArgs);
        ASSERT_TRUE(sim.Started());
        const CliResult r = RunDoctor({"--port", sim.PtyPath()});
        EXPECT_EQ(r.code, c.code) << r.out;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << r.out;
        EXPECT_NE(r.out.find(sim.PtyPath()), std::string::npos) << r.out;
        // The simulator keeps the slave open as the line's far end: no competitor.
        EXPECT_EQ(r.out.find("held open"), std::string::npos) << r.out;
        // Reported, not asserted: the time depends on the machine's load.
        std::cout << "[ doctor ] " << c.what << ": " << r.ms << " ms\n";
    }
}

TEST(DoctorEndToEnd, AFolderIsNamedAsSuchWithItsOwnExitCode) {
    QTemporaryDir folder;
    const CliResult r = RunDoctor({"--port", folder.path().toStdString()});
    EXPECT_EQ(r.code, 11) << r.out;
    EXPECT_NE(r.out.find("is not a serial port (a folder)"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace korvan::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
