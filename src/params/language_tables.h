// The window's texts in Czech, English and German, and the window-side messages that come in
// the three languages. Plain C++ so the tables can be checked without a display.
#pragma once

#include <string>
#include <vector>

#include "params/localized_text.h"

namespace korvan {

// What an entry sets on its control: the window's title, a caption (of a control or a menu
// item; "&" marks the access letter) or a hint ("short|long", see ShortHint and LongHint).
enum class TextKind { Title, Caption, Hint };

struct LanguageEntry {
    const char* control;  // object name of the control; "FormHlav" is the window itself
    TextKind kind;
    LocalizedText text;
};

// Every entry, in the order in which a language is applied. The three languages share the
// list, so applying one language after another always overwrites the same set of texts.
const std::vector<LanguageEntry>& LanguageTable();

// A hint is "short|long" (tooltip | status bar); a hint without a bar is both parts. Only the
// first bar separates.
std::string ShortHint(const std::string& hint);
std::string LongHint(const std::string& hint);

// Opening a .ign file written by another format version.
extern const LocalizedText kIgnVersionMessage;
// A parameter file that cannot be read or written: the same English text in every language,
// as tuners know it (the reason follows on its own lines).
constexpr const char* kOpenFileError = "Open file error";
// Printing without a default printer.
extern const LocalizedText kNoPrinterMessage;
// A settings or state file that cannot be written: %1 is its path.
extern const LocalizedText kUnableToWrite;

// The about box: %1 the build date, %2 the build time.
extern const LocalizedText kAboutFormat;
// The about text of a language with the build date ("Mar  9 2005") and time ("18:09:19").
std::string AboutText(std::uint8_t language, const std::string& buildDate,
                      const std::string& buildTime);

// File names of the user manual, one per language.
extern const LocalizedText kManualDocument;

}  // namespace korvan
