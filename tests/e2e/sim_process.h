// Starts korvan2-unit-sim as a child process for a test and stops it again.
#pragma once

#include <string>
#include <vector>

namespace korvan::test {

class SimProcess {
  public:
    // Starts the simulator with `args` and waits (bounded) for the pty path on its first line.
    // Without a --link in `args` it gets one in a folder of its own: a test never opens a bare
    // /dev/pts/N, which another test's simulator may get once this one is gone.
    explicit SimProcess(const std::vector<std::string>& args);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    bool Started() const { return !slavePath_.empty(); }
    // The path to open: the simulator's link, gone when the simulator is.
    const std::string& PtyPath() const { return linkPath_; }
    // The pseudo-terminal behind it (/dev/pts/N).
    const std::string& SlavePath() const { return slavePath_; }
    // True while the process runs.
    bool Running();
    // Sends SIGTERM and waits (bounded); returns the exit status or -1.
    int Stop();
    // What the simulator wrote to stderr so far (its log).
    std::string Log() const;

  private:
    int pid_ = -1;
    int status_ = -1;
    std::string slavePath_;
    std::string linkPath_;
    std::string linkFolder_;  // made for the link when the caller named none
    std::string logPath_;
};

// The simulator binary built with these tests.
std::string SimulatorPath();

}  // namespace korvan::test
