// The window's command line: an optional language word first, then an optional file to open.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace korvan {

struct WindowArguments {
    // Set by "CESKY", "ENGLISH" or "DEUTSCH" as the first argument, written exactly so.
    std::optional<std::uint8_t> language;
    // The parameter file to open after start-up; empty when none was given.
    QString file;
    // Arguments that mean nothing to the window (unknown options, a second file), kept so the
    // caller can say so instead of acting on a guess.
    QStringList ignored;
};

// Splits the arguments (without the program name). The language word counts only first, as
// it always has; a file may follow it or stand alone. "--" ends the options, so a file whose
// name starts with "-" can be given; a file:// URL (what some desktops pass) becomes its path.
WindowArguments SplitWindowArguments(const QStringList& arguments);

}  // namespace korvan
