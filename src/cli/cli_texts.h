// korvan2-cli's own messages in the program's three languages. "%1" and "%2" are filled in by
// korvan::Fill, as every text of the program. The link's messages ("Verify OK", "Read error!") come
// from the link itself.
#pragma once

#include <cstdint>
#include <string>

#include "params/localized_text.h"

namespace korvan::cli {

extern const LocalizedText kPortOpenFailed;     // %1 device
extern const LocalizedText kPortLost;           // %1 device
extern const LocalizedText kNoAnswer;           // %1 device
extern const LocalizedText kAnsweredDiffering;  // %1 device
extern const LocalizedText kComOutOfRange;      // %1 the number given
extern const LocalizedText kFileUnreadable;     // %1 "path: reason"
extern const LocalizedText kFileUnwritable;     // %1 "path: reason"
extern const LocalizedText kFilePartlyRead;     // %1 path, %2 how many entries
extern const LocalizedText kNoMonitorFrames;    // %1 device
extern const LocalizedText kNotParameterFile;   // %1 path
extern const LocalizedText kFileVersionFound;   // %1 the file's version, %2 the one read here
extern const LocalizedText kFolderMissing;      // %1 folder
extern const LocalizedText kIsAFolder;
extern const LocalizedText kNoSuchFile;
extern const LocalizedText kDeviceNotFile;
extern const LocalizedText kOutputFailed;  // %1 the system's reason
// Usage errors.
extern const LocalizedText kPortEmpty;
extern const LocalizedText kPortAndCom;
extern const LocalizedText kLanguageUnknown;   // %1 the code given
extern const LocalizedText kSecondsRange;      // %1 the value given, %2 the most
extern const LocalizedText kUnknownArgument;   // %1 the arguments
extern const LocalizedText kFileRequired;      // %1 the command
extern const LocalizedText kCommandRequired;   // %1 the commands
extern const LocalizedText kOptionNeedsValue;  // %1 the option
extern const LocalizedText kWrongUsage;        // %1 the parser's own words
// The options every command takes, listed in each command's --help.
extern const char* const kCommonOptionsHelp;
extern const LocalizedText kInfoVersion, kInfoDate, kInfoTime, kInfoFormatVersion, kInfoReading;
extern const LocalizedText kInfoBikeTypes, kInfoAllowed, kInfoProhibited;
extern const LocalizedText kNoPorts;
extern const LocalizedText kLogCellsOfDefaults;

}  // namespace korvan::cli
