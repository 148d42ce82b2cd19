// korvan2-cli's own messages in the program's three languages. "%1" and "%2" are filled in by
// korvan::Fill, as every text of the program. The link's messages ("Verify OK", "Read error!") come
// from the link itself.
#pragma once

#include <cstdint>
#include <string>

#include "params/localized_text.h"

namespace korvan::cli {

extern const LocalizedText kPortOpenFailed;  // %1 device
extern const LocalizedText kPortLost;        // %1 device
extern const LocalizedText kNoAnswer;
extern const LocalizedText kAnsweredDiffering;
extern const LocalizedText kComOutOfRange;   // %1 the number given
extern const LocalizedText kFileUnreadable;  // %1 "path: reason"
extern const LocalizedText kFileUnwritable;  // %1 "path: reason"
extern const LocalizedText kFilePartlyRead;  // %1 path, %2 how many entries
extern const LocalizedText kNoMonitorFrames;
extern const LocalizedText kInfoVersion, kInfoDate, kInfoTime, kInfoFormatVersion, kInfoReading;
extern const LocalizedText kInfoBikeTypes, kInfoAllowed, kInfoProhibited;
extern const LocalizedText kNoPorts;
extern const LocalizedText kLogCellsOfDefaults;

}  // namespace korvan::cli
