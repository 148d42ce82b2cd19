#include "cli_process.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>

#include "files/atomic_write.h"

namespace korvan::test {

namespace {
// Far beyond any command (a silent unit gives up after about a second): one that takes this
// long hangs.
constexpr int kHangMs = 15000;
constexpr int kKillWaitMs = 1000;
}  // namespace

CliProcess::CliProcess() {
    EXPECT_TRUE(folder_.isValid());
}

std::string CliProcess::Folder() const {
    return folder_.path().toStdString();
}

std::string CliProcess::Path(const std::string& name) const {
    return Folder() + "/" + name;
}

void CliProcess::WriteSettings(const std::string& text) const {
    const std::string folder = Folder() + "/Korvan2";
    ::mkdir(folder.c_str(), 0700);
    ASSERT_TRUE(WriteFileAtomically(folder + "/Korvan2.ini", text).ok);
}

CliResult CliProcess::Run(const std::vector<std::string>& args, const CliStart& start) const {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", folder_.path());
    p.setProcessEnvironment(env);
    if (!start.stdoutFile.empty())
        p.setStandardOutputFile(QString::fromStdString(start.stdoutFile));
    if (start.fileSizeLimit >= 0) {
        const auto limit = static_cast<rlim_t>(start.fileSizeLimit);
        p.setChildProcessModifier([limit] {
            // A write past the limit then fails with EFBIG instead of killing the child.
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit small{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &small);
        });
    }
    QStringList list;
    for (const std::string& a : args) list << QString::fromStdString(a);
    QElapsedTimer clock;
    clock.start();
    p.start(KORVAN_CLI_PATH, list);
    if (!start.input.empty()) p.write(start.input.data(), static_cast<qint64>(start.input.size()));
    p.closeWriteChannel();
    CliResult r;
    r.finished = p.waitForFinished(kHangMs);
    r.ms = clock.elapsed();
    if (!r.finished) {
        p.kill();
        ADD_FAILURE() << "korvan2-cli hangs: " << list.join(' ').toStdString();
    }
    p.waitForFinished(kKillWaitMs);
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

}  // namespace korvan::test
