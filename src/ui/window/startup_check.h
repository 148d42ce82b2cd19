// What korvan2 settles before any window exists: --help and --version are answered on standard
// output without a display, and a missing display is said in one plain line instead of the
// toolkit's plugin error and abort.
#pragma once

#include <QStringList>
#include <cstdint>
#include <optional>
#include <string>

namespace korvan {

enum class EarlyAnswer { None, Help, Version };

// --help / -h or --version / -V among the options (before "--"); the first one found wins.
EarlyAnswer EarlyAnswerOf(const QStringList& arguments);

// The text printed for `answer`, in `language`, ending with a line break.
std::string EarlyAnswerText(EarlyAnswer answer, std::uint8_t language);

// The language of what is printed before the window: a language word first on the command
// line, else `saved` (the window's language from its settings), English for anything else.
std::uint8_t EarlyLanguage(const QStringList& arguments, std::optional<int> saved);

// What the toolkit will look for to show a window.
struct DisplayEnvironment {
    std::string platform;        // QT_QPA_PLATFORM
    std::string display;         // DISPLAY
    std::string waylandDisplay;  // WAYLAND_DISPLAY
    std::string x11SocketFolder = "/tmp/.X11-unix";
};
DisplayEnvironment SystemDisplayEnvironment();

// Why no window can be shown, in `language`; nothing when a display is there or cannot be
// judged here (a remote X display, a platform other than X and Wayland).
std::optional<std::string> DisplayProblem(const DisplayEnvironment& environment,
                                          std::uint8_t language);

}  // namespace korvan
