#include "ui/window/command_line.h"

#include <QUrl>

#include "params/binding.h"

namespace korvan {

namespace {

std::optional<std::uint8_t> LanguageWord(const QString& argument) {
    if (argument == QLatin1String("CESKY")) return kLanguageCzech;
    if (argument == QLatin1String("ENGLISH")) return kLanguageEnglish;
    if (argument == QLatin1String("DEUTSCH")) return kLanguageGerman;
    return std::nullopt;
}

QString LocalPath(const QString& argument) {
    if (argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(argument);
        if (url.isLocalFile()) return url.toLocalFile();
    }
    return argument;
}

}  // namespace

WindowArguments SplitWindowArguments(const QStringList& arguments) {
    WindowArguments result;
    bool options = true;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (i == 0) {
            result.language = LanguageWord(argument);
            if (result.language) continue;
        } else if (options && LanguageWord(argument)) {
            // A language word in the wrong place is a slip, not a file's name.
            result.ignored.append(argument);
            continue;
        }
        if (options && argument == QLatin1String("--")) {
            options = false;
            continue;
        }
        // An empty argument names no file; an option the window does not know is not a file.
        const bool option = options && argument.startsWith('-') && argument.size() > 1;
        if (argument.isEmpty() || option || !result.file.isEmpty()) {
            result.ignored.append(argument);
            continue;
        }
        result.file = LocalPath(argument);
    }
    return result;
}

}  // namespace korvan
