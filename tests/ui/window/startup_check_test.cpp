// What korvan2 answers before a window exists: --help, --version and a missing display.
#include "ui/window/startup_check.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <cstring>
#include <filesystem>

#include "params/binding.h"

namespace korvan {
namespace {

struct AnswerCase {
    const char* name;
    QStringList arguments;
    EarlyAnswer answer;
};
void PrintTo(const AnswerCase& c, std::ostream* os) {
    *os << c.name;
}

TEST(StartupCheck, HelpAndVersionAreFoundAmongTheOptions) {
    const AnswerCase cases[] = {
        {"nothing", {}, EarlyAnswer::None},
        {"a file", {"a.ign"}, EarlyAnswer::None},
        {"help", {"--help"}, EarlyAnswer::Help},
        {"short help", {"-h"}, EarlyAnswer::Help},
        {"after a language", {"DEUTSCH", "--help"}, EarlyAnswer::Help},
        {"version", {"--version"}, EarlyAnswer::Version},
        {"short version", {"-V"}, EarlyAnswer::Version},
        {"the first wins", {"--version", "--help"}, EarlyAnswer::Version},
        {"a file named --help", {"--", "--help"}, EarlyAnswer::None},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c));
        EXPECT_EQ(EarlyAnswerOf(c.arguments), c.answer);
    }
}

TEST(StartupCheck, UsageComesInTheLanguageOfTheWordOrTheSettings) {
    EXPECT_EQ(EarlyLanguage({"--help"}, std::nullopt), kLanguageEnglish);
    EXPECT_EQ(EarlyLanguage({"--help"}, 0), kLanguageCzech);
    EXPECT_EQ(EarlyLanguage({"DEUTSCH", "--help"}, 0), kLanguageGerman);
    EXPECT_EQ(EarlyLanguage({"--help"}, 7), kLanguageEnglish);
    EXPECT_EQ(EarlyLanguage({"--help"}, 258), kLanguageGerman);  // the window's byte rule
    EXPECT_EQ(EarlyAnswerText(EarlyAnswer::Help, kLanguageGerman).rfind("Aufruf: korvan2", 0), 0u);
    EXPECT_EQ(EarlyAnswerText(EarlyAnswer::Help, kLanguageCzech).rfind("Použití: korvan2", 0), 0u);
    EXPECT_EQ(EarlyAnswerText(EarlyAnswer::Version, kLanguageEnglish).rfind("korvan2 2.", 0), 0u);
}

// A folder with an X server's socket for display :7 that takes connections.
class FakeXSocket {
  public:
    FakeXSocket() {
        char pattern[] = "/tmp/korvan-x11-XXXXXX";
        folder = mkdtemp(pattern);
        fd_ = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = folder + "/X7";
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        bound = bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                listen(fd_, 1) == 0;
    }
    ~FakeXSocket() {
        close(fd_);
        std::filesystem::remove_all(folder);
    }
    std::string folder;
    bool bound = false;

  private:
    int fd_ = -1;
};

struct DisplayCase {
    const char* name;
    DisplayEnvironment environment;
    bool problem;
};
void PrintTo(const DisplayCase& c, std::ostream* os) {
    *os << c.name;
}

TEST(StartupCheck, AMissingOrDeadDisplayIsFoundBeforeTheToolkitStarts) {
    FakeXSocket x;
    ASSERT_TRUE(x.bound);
    const std::string none = x.folder + "/empty";
    const DisplayCase cases[] = {
        {"nothing set", {"", "", "", none}, true},
        {"xcb without DISPLAY", {"xcb", "", "wayland-0", none}, true},
        {"a live local display", {"", ":7", "", x.folder}, false},
        {"a live display with screen", {"xcb", ":7.0", "", x.folder}, false},
        {"a dead local display", {"", ":8", "", x.folder}, true},
        {"a dead unix display", {"", "unix:9", "", none}, true},
        {"a remote display cannot be judged", {"", "host:10", "", none}, false},
        {"wayland", {"", "", "wayland-0", none}, false},
        {"wayland named", {"wayland", "", "", none}, false},
        {"offscreen", {"offscreen", "", "", none}, false},
        {"offscreen first", {"offscreen;xcb", "", "", none}, false},
    };
    for (const DisplayCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c));
        const std::optional<std::string> problem = DisplayProblem(c.environment, kLanguageEnglish);
        EXPECT_EQ(problem.has_value(), c.problem) << problem.value_or("");
        // One line, naming what to use instead.
        if (problem) {
            EXPECT_EQ(problem->find('\n'), std::string::npos);
            EXPECT_NE(problem->find("korvan2-cli"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace korvan
