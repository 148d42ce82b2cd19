#include "sim_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace korvan::test {

std::string SimulatorPath() {
    return KORVAN_SIM_PATH;
}

SimProcess::SimProcess(const std::vector<std::string>& givenArgs) {
    std::vector<std::string> args = givenArgs;
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "--link") linkPath_ = args[i + 1];
    }
    if (linkPath_.empty()) {
        char folderTemplate[] = "/tmp/korvan-sim-XXXXXX";
        if (mkdtemp(folderTemplate) != nullptr) {
            linkFolder_ = folderTemplate;
            linkPath_ = linkFolder_ + "/ttyKorvan";
            args.push_back("--link");
            args.push_back(linkPath_);
        }
    }
    char logTemplate[] = "/tmp/korvan-sim-log-XXXXXX";
    const int logFd = mkstemp(logTemplate);
    logPath_ = logTemplate;
    int out[2];
    if (pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(out[1], STDOUT_FILENO);
        if (logFd >= 0) dup2(logFd, STDERR_FILENO);
        close(out[0]);
        close(out[1]);
        std::vector<std::string> all = {SimulatorPath()};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    if (logFd >= 0) close(logFd);
    // The first line is the pty's path; give the process five seconds at most.
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{out[0], POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        char c;
        if (read(out[0], &c, 1) != 1) break;
        if (c == '\n') {
            slavePath_ = line;
            break;
        }
        line += c;
    }
    close(out[0]);
    if (linkPath_.empty()) linkPath_ = slavePath_;
}

SimProcess::~SimProcess() {
    Stop();
    if (!logPath_.empty()) unlink(logPath_.c_str());
    if (!linkFolder_.empty()) {
        unlink(linkPath_.c_str());  // a killed simulator leaves its link
        rmdir(linkFolder_.c_str());
    }
}

bool SimProcess::Running() {
    if (pid_ <= 0) return false;
    int st = 0;
    const pid_t r = waitpid(pid_, &st, WNOHANG);
    if (r == pid_) {
        status_ = st;
        pid_ = -1;
        return false;
    }
    return true;
}

int SimProcess::Stop() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        for (int i = 0; i < 100 && Running(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status_, 0);
            pid_ = -1;
        }
    }
    return status_;
}

std::string SimProcess::Log() const {
    std::ifstream in(logPath_);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace korvan::test
