// The ride log's messages in the program's three languages, and printf-style filling of them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "params/localized_text.h"

namespace korvan {

namespace logtext {
// Recording. %s: the file name, then the reason the system gave.
extern const LocalizedText kCannotCreate;
extern const LocalizedText kWriteFailed;
// %zu: the rows that stay in the file.
extern const LocalizedText kRowsKept;

// Reading: why a file is refused. %s: the file name or the reason.
extern const LocalizedText kNotMsl;
extern const LocalizedText kCannotOpen;
extern const LocalizedText kNoHeader;
extern const LocalizedText kNoTimeColumn;
extern const LocalizedText kNoRpmColumn;
extern const LocalizedText kNoRows;

// Reading: what was left out. %zu: bad rows, then the list of them.
extern const LocalizedText kBadRows;
extern const LocalizedText kShortRow;     // %zu: line number
extern const LocalizedText kNotANumber;   // %zu: line number, %s: column name
extern const LocalizedText kMoreBadRows;  // %zu: how many more
extern const LocalizedText kTruncated;    // %zu: rows read, then megabytes read
}  // namespace logtext

// The text in `language` with the printf arguments filled in.
template <typename... Args>
std::string FormatText(const LocalizedText& text, std::uint8_t language, Args... args) {
    const char* format = text.In(language);
    const int n = std::snprintf(nullptr, 0, format, args...);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), format, args...);
    out.resize(static_cast<std::size_t>(n));
    return out;
}

}  // namespace korvan
