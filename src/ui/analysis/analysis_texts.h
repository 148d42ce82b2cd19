// The ride analysis window's texts in the program's three languages (%1.. filled by QFill).
#pragma once

#include "params/localized_text.h"

namespace korvan::analysistext {
// The window, its menu and the main menu's item.
extern const LocalizedText kTitle;      // %1: the log's file name
extern const LocalizedText kTitleNone;  // before a log is open
extern const LocalizedText kMenuItem;
extern const LocalizedText kFileMenu;
extern const LocalizedText kOpenLog;
extern const LocalizedText kReplayLog;
extern const LocalizedText kLastRecording;
extern const LocalizedText kOpenSecondLog;
extern const LocalizedText kExportLog;
extern const LocalizedText kPrintSummary;
extern const LocalizedText kClose;

// The log shown. %1 file, %2 rows, %3 duration, %4 markers.
extern const LocalizedText kLogLine;
extern const LocalizedText kUnitAndTune;  // %1 unit, %2 tune file
extern const LocalizedText kNoLog;
extern const LocalizedText kReading;       // %1: the file
extern const LocalizedText kRowsInFilter;  // %1 of %2 rows
extern const LocalizedText kBelowRpmAxis;  // %1 seconds
extern const LocalizedText kExported;      // %1 file, %2 rows, %3 markers
extern const LocalizedText kExportFailed;  // %1 the reason
extern const LocalizedText kExportFormat;  // %1 the file
extern const LocalizedText kNoReplay;
extern const LocalizedText kNoRecording;

// The tabs.
extern const LocalizedText kCellsTab;
extern const LocalizedText kScatterTab;
extern const LocalizedText kSummaryTab;
extern const LocalizedText kCompareTab;

// The cell grid.
extern const LocalizedText kChannel;
extern const LocalizedText kShow;
extern const LocalizedText kSeconds;
extern const LocalizedText kSamples;
extern const LocalizedText kMean;
extern const LocalizedText kMinimum;
extern const LocalizedText kMaximum;
extern const LocalizedText kMinSamples;
extern const LocalizedText kCopy;
extern const LocalizedText kPrint;
extern const LocalizedText kScale;          // %1 lowest, %2 highest
extern const LocalizedText kGreyed;         // %1 the least samples
extern const LocalizedText kCellTip;        // %1 s, %2 samples, %3 channel, %4 mean, %5 min, %6 max
extern const LocalizedText kFewSamples;     // %1 samples, %2 the least
extern const LocalizedText kDifferenceTip;  // %1 before, %2 after, %3 difference

// The filter.
extern const LocalizedText kFilter;
extern const LocalizedText kTimeFrom;
extern const LocalizedText kTimeTo;
extern const LocalizedText kFromReplay;
extern const LocalizedText kToReplay;
extern const LocalizedText kBetweenMarks;
extern const LocalizedText kMarkItem;  // %1 number, %2 seconds
extern const LocalizedText kThrottle;
extern const LocalizedText kRpm;
extern const LocalizedText kWithoutLimiter;
extern const LocalizedText kWithoutClutch;
extern const LocalizedText kWithoutN2o;
extern const LocalizedText kClearFilter;

// The scatter plot.
extern const LocalizedText kXAxis;
extern const LocalizedText kYAxis;
extern const LocalizedText kColourBy;
extern const LocalizedText kPointsShown;  // %1 shown, %2 rows

// Two logs.
extern const LocalizedText kBefore;      // %1 file
extern const LocalizedText kAfter;       // %1 file
extern const LocalizedText kDifference;  // %1 channel
extern const LocalizedText kNoSecondLog;
extern const LocalizedText kCompared;  // %1 cells, %2 the least samples
extern const LocalizedText kTimeFirstOnly;
}  // namespace korvan::analysistext
