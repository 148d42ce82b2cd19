// The real simulator binary over a real pseudo-terminal: what the tool's end-to-end tests and
// the demo rely on.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "device/frame.h"

extern char** environ;

namespace korvan {
namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

class SimProcess {
  public:
    ~SimProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) close(out_);
    }

    // Starts the simulator and reads its first line. False if it did not print one in time.
    bool Start(const std::vector<std::string>& args) {
        int fds[2];
        if (pipe(fds) != 0) return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addclose(&actions, fds[1]);
        std::vector<std::string> all = {KORVAN_UNIT_SIM_PATH};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        const int rc =
            posix_spawn(&pid_, KORVAN_UNIT_SIM_PATH, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        out_ = fds[0];
        if (rc != 0) {
            pid_ = -1;
            return false;
        }
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        char c;
        while (true) {
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, MsLeft(deadline)) <= 0) return false;
            if (read(out_, &c, 1) != 1) return false;
            if (c == '\n') return !firstLine.empty();
            firstLine.push_back(c);
        }
    }

    // Waits for the simulator to end; its exit code, or -1 if it was still running at the
    // deadline (or died on a signal).
    int WaitExit(int timeoutMs) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        char buf[256];
        while (true) {  // stdout reaches its end when the process has gone
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, MsLeft(deadline)) <= 0) return -1;
            if (read(out_, buf, sizeof buf) <= 0) break;
        }
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // CPU time used so far, in clock ticks.
    long CpuTicks() const {
        std::ifstream stat("/proc/" + std::to_string(pid_) + "/stat");
        std::string text((std::istreambuf_iterator<char>(stat)), {});
        std::istringstream fields(text.substr(text.rfind(')') + 2));
        std::string f;
        long utime = 0, stime = 0;
        for (int i = 3; i <= 15 && fields >> f; ++i) {
            if (i == 14) utime = std::stol(f);
            if (i == 15) stime = std::stol(f);
        }
        return utime + stime;
    }

    pid_t pid() const { return pid_; }
    std::string firstLine;

  private:
    pid_t pid_ = -1;
    int out_ = -1;
};

int OpenClient(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return fd;
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
    return fd;
}

bool Send(int fd, std::uint8_t command) {
    const DeviceFrame f = BuildFrame(command, nullptr);
    return write(fd, f.data(), f.size()) == static_cast<ssize_t>(f.size());
}

// Reads until `want` bytes are in or the time is up.
std::vector<std::uint8_t> ReadBytes(int fd, std::size_t want, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::vector<std::uint8_t> got;
    while (got.size() < want) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, MsLeft(deadline)) <= 0 || !(p.revents & POLLIN)) break;
        std::uint8_t buf[256];
        const ssize_t n = read(fd, buf, std::min(sizeof buf, want - got.size()));
        if (n <= 0) break;
        got.insert(got.end(), buf, buf + n);
    }
    return got;
}

class UnitSimFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/korvan-unit-sim-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string dir_;
};

TEST(UnitSimProcess, AnswersAMonitorRequestAndStopsCleanlyOnSignals) {
    for (int sig : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(sig);
        SimProcess sim;
        ASSERT_TRUE(sim.Start({"--quiet", "--rpm", "5000", "--tps", "20"}));
        EXPECT_EQ(sim.firstLine.rfind("/dev/pts/", 0), 0u) << sim.firstLine;
        const int fd = OpenClient(sim.firstLine);
        ASSERT_GE(fd, 0);
        ASSERT_TRUE(Send(fd, kCmdMonitor));
        const auto answer = ReadBytes(fd, kFrameSize, 3000);
        ASSERT_EQ(answer.size(), kFrameSize);
        EXPECT_EQ(answer[0], kMonitorAnswer);
        EXPECT_TRUE(FrameCheckOk(answer.data()));
        EXPECT_EQ(answer[1] | (answer[2] << 8), 5000);
        EXPECT_EQ(answer[29], 20);
        close(fd);
        kill(sim.pid(), sig);
        EXPECT_EQ(sim.WaitExit(3000), 0);
    }
}

TEST_F(UnitSimFiles, LinkIsReplacedFollowedAndRemovedAfterTheHangUp) {
    const std::string link = dir_ + "/unit";
    ASSERT_EQ(symlink("/dev/null", link.c_str()), 0);  // left over from an earlier run

    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--quiet", "--link", link, "--hangup-after", "2"}));
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), sim.firstLine);
    const int fd = OpenClient(link);
    ASSERT_GE(fd, 0);
    for (std::uint8_t command : {std::uint8_t{0x40}, kCmdMonitor}) {
        ASSERT_TRUE(Send(fd, command));
        const auto answer = ReadBytes(fd, kFrameSize, 3000);
        ASSERT_EQ(answer.size(), kFrameSize);
        EXPECT_EQ(answer[0], command | kAnswerBit);
    }
    // After its second answer the unit is gone: the line hangs up and the process ends well.
    pollfd p{fd, POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 3000), 1);
    EXPECT_TRUE(p.revents & POLLHUP);
    EXPECT_EQ(sim.WaitExit(3000), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    close(fd);
}

TEST_F(UnitSimFiles, RefusesToStartOnBadArgumentsOrAForeignFileAtTheLink) {
    const std::string file = dir_ + "/not-a-link";
    std::ofstream(file) << "keep me";
    const std::vector<std::vector<std::string>> cases = {
        {"--rpm", "fast"}, {"--pages", dir_ + "/missing"}, {"--link", file}};
    for (const auto& args : cases) {
        SCOPED_TRACE(args[0]);
        SimProcess sim;
        EXPECT_FALSE(sim.Start(args));
        EXPECT_GT(sim.WaitExit(3000), 0);
    }
    std::ifstream in(file);
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "keep me");
}

TEST(UnitSimProcess, DelaysAnswersAndIdlesWithoutBurningCpu) {
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--quiet", "--delay-ms", "300"}));
    const int fd = OpenClient(sim.firstLine);
    ASSERT_GE(fd, 0);
    const long cpuBefore = sim.CpuTicks();
    ASSERT_TRUE(Send(fd, 0x41));
    EXPECT_TRUE(ReadBytes(fd, kFrameSize, 200).empty());
    const auto answer = ReadBytes(fd, kFrameSize, 3000);
    ASSERT_EQ(answer.size(), kFrameSize);
    EXPECT_EQ(answer[0], 0xC1);

    // With the client gone the master must not spin on a hung-up line.
    close(fd);
    poll(nullptr, 0, 500);  // the time over which the CPU use is measured
    EXPECT_LE(sim.CpuTicks() - cpuBefore, 10);
    kill(sim.pid(), SIGTERM);
    EXPECT_EQ(sim.WaitExit(3000), 0);
}

}  // namespace
}  // namespace korvan
