// Starts korvan2-unit-sim as a child process for a test and stops it again.
#pragma once

#include <string>
#include <vector>

namespace korvan::test {

class SimProcess {
  public:
    // Starts the simulator with `args` and waits (bounded) for the pty path on its first line.
    explicit SimProcess(const std::vector<std::string>& args);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    bool Started() const { return !ptyPath_.empty(); }
    const std::string& PtyPath() const { return ptyPath_; }
    // True while the process runs.
    bool Running();
    // Sends SIGTERM and waits (bounded); returns the exit status or -1.
    int Stop();
    // What the simulator wrote to stderr so far (its log).
    std::string Log() const;

  private:
    int pid_ = -1;
    int status_ = -1;
    std::string ptyPath_;
    std::string logPath_;
};

// The simulator binary built with these tests.
std::string SimulatorPath();

}  // namespace korvan::test
