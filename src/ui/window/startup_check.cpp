#include "ui/window/startup_check.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#ifndef _WIN32
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include "params/binding.h"
#include "params/localized_text.h"
#include "ui/window/command_line.h"

#ifndef KORVAN_VERSION
#define KORVAN_VERSION "2.0"
#endif

namespace korvan {

namespace {

const LocalizedText kUsage{
    "Použití: korvan2 [CESKY|ENGLISH|DEUTSCH] [SOUBOR]\n"
    "Okno pro programování zapalování Korvan 2 po sériové lince.\n"
    "\n"
    "  CESKY, ENGLISH, DEUTSCH  jazyk okna (jen jako první argument)\n"
    "  SOUBOR                   sada parametrů (.ign), která se po spuštění otevře\n"
    "  --help                   tento text\n"
    "  --version                verze programu\n"
    "\n"
    "Nastavení: $XDG_CONFIG_HOME/Korvan2 (jinak ~/.config/Korvan2).\n"
    "Bez displeje slouží korvan2-cli (korvan2-cli --help).\n",
    "Usage: korvan2 [ENGLISH|CESKY|DEUTSCH] [FILE]\n"
    "The window for programming the Korvan 2 ignition unit over a serial line.\n"
    "\n"
    "  ENGLISH, CESKY, DEUTSCH  the window's language (only as the first argument)\n"
    "  FILE                     a parameter set (.ign) to open after start-up\n"
    "  --help                   this text\n"
    "  --version                the program's version\n"
    "\n"
    "Settings: $XDG_CONFIG_HOME/Korvan2 (else ~/.config/Korvan2).\n"
    "Without a display, use korvan2-cli (korvan2-cli --help).\n",
    "Aufruf: korvan2 [DEUTSCH|ENGLISH|CESKY] [DATEI]\n"
    "Das Fenster zum Programmieren der Zündung Korvan 2 über eine serielle Leitung.\n"
    "\n"
    "  DEUTSCH, ENGLISH, CESKY  die Sprache des Fensters (nur als erstes Argument)\n"
    "  DATEI                    ein Parametersatz (.ign), der nach dem Start geöffnet wird\n"
    "  --help                   dieser Text\n"
    "  --version                die Version des Programms\n"
    "\n"
    "Einstellungen: $XDG_CONFIG_HOME/Korvan2 (sonst ~/.config/Korvan2).\n"
    "Ohne Bildschirm dient korvan2-cli (korvan2-cli --help).\n"};
const LocalizedText kNoDisplay{
    "korvan2: není displej, na kterém by se okno ukázalo (DISPLAY ani WAYLAND_DISPLAY není "
    "nastaveno); bez displeje slouží korvan2-cli",
    "korvan2: there is no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is "
    "set); without a display, use korvan2-cli",
    "korvan2: kein Bildschirm, auf dem das Fenster erscheinen kann (weder DISPLAY noch "
    "WAYLAND_DISPLAY ist gesetzt); ohne Bildschirm dient korvan2-cli"};
const LocalizedText kDisplayUnreachable{
    "korvan2: displej %1 není dostupný (neběží na něm X server); bez displeje slouží korvan2-cli",
    "korvan2: the display %1 cannot be reached (no X server answers there); without a display, "
    "use korvan2-cli",
    "korvan2: der Bildschirm %1 ist nicht erreichbar (dort antwortet kein X-Server); ohne "
    "Bildschirm dient korvan2-cli"};

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The number of a local X display (":0", ":1.0", "unix:2"); nothing for a remote one.
std::optional<std::string> LocalDisplayNumber(const std::string& display) {
    std::string rest;
    if (display.rfind(':', 0) == 0) {
        rest = display.substr(1);
    } else if (display.rfind("unix:", 0) == 0) {
        rest = display.substr(5);
    } else {
        return std::nullopt;
    }
    const std::string number = rest.substr(0, rest.find('.'));
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return number;
}

#ifndef _WIN32
// Whether an X server takes connections on the local socket `path`, in the file system or
// (as Linux servers also listen) in the abstract namespace.
bool Connects(const std::string& path, bool abstract) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t offset = abstract ? 1 : 0;
    if (path.size() + offset >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path + offset, path.data(), path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return true;  // nothing can be judged: let the toolkit try
    const auto length =
        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0;
    ::close(fd);
    return ok;
}
#endif

}  // namespace

EarlyAnswer EarlyAnswerOf(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--")) break;
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return EarlyAnswer::Help;
        if (argument == QLatin1String("--version") || argument == QLatin1String("-V"))
            return EarlyAnswer::Version;
    }
    return EarlyAnswer::None;
}

std::string EarlyAnswerText(EarlyAnswer answer, std::uint8_t language) {
    switch (answer) {
        case EarlyAnswer::Help:
            return kUsage.In(language);
        case EarlyAnswer::Version:
            return std::string("korvan2 ") + KORVAN_VERSION + "\n";
        case EarlyAnswer::None:
            break;
    }
    return {};
}

std::uint8_t EarlyLanguage(const QStringList& arguments, std::optional<int> saved) {
    const WindowArguments split = SplitWindowArguments(arguments);
    if (split.language) return *split.language;
    // As the window reads the key: a byte, anything above German is English.
    const auto byte = static_cast<std::uint8_t>(saved.value_or(kLanguageEnglish));
    return byte <= kLanguageGerman ? byte : kLanguageEnglish;
}

DisplayEnvironment SystemDisplayEnvironment() {
    DisplayEnvironment e;
    e.platform = Env("QT_QPA_PLATFORM");
    e.display = Env("DISPLAY");
    e.waylandDisplay = Env("WAYLAND_DISPLAY");
    return e;
}

std::optional<std::string> DisplayProblem(const DisplayEnvironment& e, std::uint8_t language) {
#ifdef _WIN32
    (void)e;
    (void)language;
    return std::nullopt;
#else
    // The first platform named is the one tried first; Wayland finds its own default socket,
    // offscreen, VNC and the like need no display of ours.
    const std::string platform = e.platform.substr(0, e.platform.find(';'));
    const bool x11 = platform == "xcb";
    if (!platform.empty() && !x11) return std::nullopt;
    if (!x11 && !e.waylandDisplay.empty()) return std::nullopt;
    if (e.display.empty()) return std::string(kNoDisplay.In(language));
    const std::optional<std::string> number = LocalDisplayNumber(e.display);
    if (!number) return std::nullopt;
    const std::string socket = e.x11SocketFolder + "/X" + *number;
    if (Connects(socket, false) || Connects(socket, true)) return std::nullopt;
    return Fill(kDisplayUnreachable, language, e.display);
#endif
}

}  // namespace korvan
