// The ride log's messages in the program's three languages. Placeholders are %1, %2 ... as
// Fill (params/localized_text.h) fills them.
#pragma once

#include <string>

#include "params/localized_text.h"

namespace korvan {

namespace logtext {
// Recording. %1: the file name, %2: the reason the system gave.
extern const LocalizedText kCannotCreate;
extern const LocalizedText kWriteFailed;
// %1: the rows that stay in the file.
extern const LocalizedText kRowsKept;

// Reading: why a file is refused. %1: the file name; %2 the reason or the number named.
extern const LocalizedText kNotALog;
extern const LocalizedText kCannotOpen;
extern const LocalizedText kIsFolder, kIsFifo, kIsDevice, kIsNotAFile;
extern const LocalizedText kNoHeader;
extern const LocalizedText kNoTimeColumn;
extern const LocalizedText kNoRpmColumn;
extern const LocalizedText kNoRows;
extern const LocalizedText kNotMlg;
extern const LocalizedText kMlgVersion;       // %2: the version
extern const LocalizedText kMlgFieldCount;    // %2: the count, %3: the most read
extern const LocalizedText kMlgFieldType;     // %2: the field, %3: the type
extern const LocalizedText kMlgRecordLength;  // %2: the header's, %3: the fields'
extern const LocalizedText kMlgDamaged;

// Reading: what was left out. %1: how many bad rows, %2: the list of them.
extern const LocalizedText kBadRows;
extern const LocalizedText kAtLine;    // %1: line number
extern const LocalizedText kAtRecord;  // %1: record number
// %1: where ("line 5", "record 5"); %2: the column.
extern const LocalizedText kShortRow;
extern const LocalizedText kNotANumber;
extern const LocalizedText kTimeNegative;
extern const LocalizedText kTimeTooLarge;
extern const LocalizedText kTimeBack;
extern const LocalizedText kBadChecksum;
extern const LocalizedText kCutShort;
extern const LocalizedText kUnknownBlock;
extern const LocalizedText kMoreBadRows;  // %1: how many more
extern const LocalizedText kTruncated;    // %1: rows read, %2: megabytes read
}  // namespace logtext

// A system's reason ("No space left on device") as the end of a sentence: with its full stop,
// and something said even when the system said nothing.
std::string ReasonSentence(const std::string& reason, std::uint8_t language);

}  // namespace korvan
