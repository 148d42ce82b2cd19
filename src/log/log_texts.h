// The ride log's messages in the program's three languages, filled with Fill (%1, %2).
#pragma once

#include <cstdint>
#include <string>

#include "params/localized_text.h"

namespace korvan {

namespace logtext {
// Recording. %1: the file name, %2: the reason the system gave.
extern const LocalizedText kCannotCreate;
extern const LocalizedText kWriteFailed;
// %1: the rows that stay in the file.
extern const LocalizedText kRowsKept;

// Reading: why a file is refused. %1: the file name, %2: the reason.
extern const LocalizedText kNotMsl;
extern const LocalizedText kCannotOpen;
extern const LocalizedText kNoHeader;
extern const LocalizedText kNoTimeColumn;
extern const LocalizedText kNoRpmColumn;
extern const LocalizedText kNoRows;

// Reading: what was left out. %1: bad rows, %2: the list of them.
extern const LocalizedText kBadRows;
extern const LocalizedText kShortRow;     // %1: line number
extern const LocalizedText kNotANumber;   // %1: line number, %2: column name
extern const LocalizedText kMoreBadRows;  // %1: how many more
extern const LocalizedText kTruncated;    // %1: rows read, %2: megabytes read
}  // namespace logtext

}  // namespace korvan
