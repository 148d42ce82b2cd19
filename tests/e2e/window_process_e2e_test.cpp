// korvan2 itself, as a shell starts it: --help and --version answer without a window, and a
// missing or dead display is one plain line instead of the toolkit's plugin error.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <ostream>

namespace {

struct Finished {
    int exitCode = -1;
    QString out;
    QString err;
};

Finished Start(const QStringList& arguments, const QProcessEnvironment& environment) {
    QProcess p;
    p.setProcessEnvironment(environment);
    p.start(KORVAN_WINDOW_PATH, arguments);
    Finished r;
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

struct ProcessCase {
    const char* name;
    QStringList arguments;
    QString display;  // DISPLAY; empty: unset
    int exitCode;
    QString outStart;  // how standard output begins
    QString err;       // standard error, whole
};
void PrintTo(const ProcessCase& c, std::ostream* os) {
    *os << c.name;
}

TEST(WindowProcess, HelpVersionAndAMissingDisplayNeedNoWindow) {
    QTemporaryDir config;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", config.path());  // no settings: English
    for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
        environment.remove(name);
    const ProcessCase cases[] = {
        {"help", {"--help"}, "", 0, "Usage: korvan2 [ENGLISH|CESKY|DEUTSCH] [FILE]\n", ""},
        {"help in German", {"DEUTSCH", "-h"}, "", 0, "Aufruf: korvan2", ""},
        {"version", {"--version"}, "", 0, "korvan2 2.", ""},
        {"no display",
         {},
         "",
         1,
         "",
         "korvan2: there is no display to show the window on (neither DISPLAY nor "
         "WAYLAND_DISPLAY is set); without a display, use korvan2-cli\n"},
        {"a dead display",
         {"ENGLISH", "tune.ign"},
         ":93",
         1,
         "",
         "korvan2: the display :93 cannot be reached (no X server answers there); without a "
         "display, use korvan2-cli\n"},
    };
    for (const ProcessCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c));
        QProcessEnvironment e = environment;
        if (!c.display.isEmpty()) e.insert("DISPLAY", c.display);
        const Finished r = Start(c.arguments, e);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_TRUE(c.outStart.isEmpty() ? r.out.isEmpty() : r.out.startsWith(c.outStart))
            << r.out.toStdString();
        EXPECT_EQ(r.err, c.err);
    }
}

}  // namespace
