// Captions of the ride log's controls in the three languages.
#pragma once

#include "params/localized_text.h"

namespace korvan::ridelogtext {
extern const LocalizedText kRecordRideLog;
extern const LocalizedText kReplayRideLog;
extern const LocalizedText kStopRecording;
extern const LocalizedText kMapAsCurves;
extern const LocalizedText kWhereEngineRan;
extern const LocalizedText kPlay;
extern const LocalizedText kPause;
extern const LocalizedText kStepBack;
extern const LocalizedText kStepForward;
extern const LocalizedText kCloseReplay;
extern const LocalizedText kReplayTitle;
extern const LocalizedText kCurveTitle;
extern const LocalizedText kCurveRow;  // %1: throttle percent
extern const LocalizedText kCurveNoThrottle;
extern const LocalizedText kCellInUse;
extern const LocalizedText kRpmAxis;
extern const LocalizedText kAdvanceAxis;
extern const LocalizedText kPrintPicture;
extern const LocalizedText kRideLogFiles;  // every format a log is read from
extern const LocalizedText kMslFiles;
extern const LocalizedText kMlgFiles;
extern const LocalizedText kCsvFiles;
extern const LocalizedText kMarkerSet;     // %1: the marker's number
extern const LocalizedText kMarkerPassed;  // %1: the marker's number, %2: its time in seconds
// After a recording: %1 the file, %2 rows, %3 markers; and what the box offers.
extern const LocalizedText kRecordingSaved;
extern const LocalizedText kOpenFolder;
extern const LocalizedText kReplayIt;
extern const LocalizedText kAnalyseIt;
extern const LocalizedText kClose;
// In place of "No Connection" while a replay runs.
extern const LocalizedText kReplayIndicator;
extern const LocalizedText kCellTooltip;  // %.1f seconds, %.0f mean lambda mV
}  // namespace korvan::ridelogtext
