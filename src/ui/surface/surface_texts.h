// Texts of the map's 3D view and the difference grid in the three languages.
#pragma once

#include "params/localized_text.h"

namespace korvan::surfacetext {
extern const LocalizedText kTitle;
extern const LocalizedText kRpmAxis;
extern const LocalizedText kThrottleAxis;
extern const LocalizedText kAdvanceAxis;
extern const LocalizedText kCellTip;       // %1 rpm, %2 throttle percent, %3 degrees
extern const LocalizedText kCurveCellTip;  // %1 rpm, %2 degrees
extern const LocalizedText kCompareTip;    // %1 degrees of the other tune, %2 signed difference
extern const LocalizedText kCurrentTune;
extern const LocalizedText kComparedTune;  // %1 the other tune's name
extern const LocalizedText kMouseHelp;
extern const LocalizedText kSaveFailed;   // %1 file, %2 reason
extern const LocalizedText kPrintFailed;  // the printing layer gives no reason
extern const LocalizedText kDifferenceTitle;
extern const LocalizedText kNothingToCompare;
extern const LocalizedText kDifferenceTip;  // %1 rpm, %2 throttle, %3 current, %4 other, %5 diff
extern const LocalizedText kCurveDifferenceTip;  // %1 rpm, %2 current, %3 other, %4 diff
// The window of the map in 3D.
extern const LocalizedText kMenuItem;  // the Tools item that opens it
extern const LocalizedText kCompareWith;
extern const LocalizedText kCompareFile;
extern const LocalizedText kCompareUnit;
extern const LocalizedText kComparePoint;
extern const LocalizedText kNoPoints;
extern const LocalizedText kEndCompare;
extern const LocalizedText kCopyPicture;
extern const LocalizedText kSavePng;
extern const LocalizedText kPrintPicture;
extern const LocalizedText kStartingView;
extern const LocalizedText kPngFiles;
extern const LocalizedText kTheUnit;
extern const LocalizedText kPointName;        // %1 the restore point's file
extern const LocalizedText kFileNotCompared;  // %1 file, %2 reason
extern const LocalizedText kPointNotRead;     // %1 the restore point's file
}  // namespace korvan::surfacetext
