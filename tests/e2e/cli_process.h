// korvan2-cli run as a script runs it: the real executable in a child process with a settings
// folder of its own, its output and exit code collected. Shared by the command-line tests.
#pragma once

#include <QTemporaryDir>
#include <string>
#include <vector>

namespace korvan::test {

struct CliResult {
    int code = -1;  // -1: killed or crashed
    std::string out;
    std::string err;
    bool finished = false;  // false: it hung and was killed
    long long ms = 0;       // how long it ran
};

// How the child is started beyond its arguments.
struct CliStart {
    std::string input;        // written to its standard input, which is then closed
    std::string stdoutFile;   // standard output goes there instead of to the test
    long fileSizeLimit = -1;  // bytes any file of the child may grow to (a full disk)
};

class CliProcess {
  public:
    CliProcess();

    // The folder the child takes for XDG_CONFIG_HOME, also a place for the test's files. No
    // settings there: the child speaks English unless told otherwise.
    std::string Folder() const;
    std::string Path(const std::string& name) const;
    // The window's settings file, in the window's own folder below Folder().
    void WriteSettings(const std::string& text) const;

    CliResult Run(const std::vector<std::string>& args, const CliStart& start = {}) const;

  private:
    QTemporaryDir folder_;
};

}  // namespace korvan::test
