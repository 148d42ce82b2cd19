// The words of the map tools in the window, in the program's three languages: the Map menu,
// the File menu's map items, the inline editor, the option beside the RPM row, the hints and
// the status bar messages. The names of the undo steps and the reasons an operation refuses
// come from params/map_texts.h.
#pragma once

#include "params/localized_text.h"

namespace korvan::maptoolstext {

// The Map menu and its items (the key is shown beside each one).
extern const LocalizedText kMapMenu;
extern const LocalizedText kSetItem;
extern const LocalizedText kAddItem;
extern const LocalizedText kSubtractItem;
extern const LocalizedText kAddFiveItem;
extern const LocalizedText kSubtractFiveItem;
extern const LocalizedText kScaleItem;
extern const LocalizedText kInterpolateRpmItem;
extern const LocalizedText kInterpolateThrottleItem;
extern const LocalizedText kInterpolateCornersItem;
extern const LocalizedText kSmoothItem;
extern const LocalizedText kCopyItem;
extern const LocalizedText kCopyWithAxesItem;
extern const LocalizedText kPasteItem;
extern const LocalizedText kSelectAllItem;
extern const LocalizedText kClearSelectionItem;
extern const LocalizedText kLiveCellItem;

// The File menu's items and their dialogs.
extern const LocalizedText kExportItem;
extern const LocalizedText kImportItem;
extern const LocalizedText kExportTitle;
extern const LocalizedText kImportTitle;
extern const LocalizedText kCsvFiles;
extern const LocalizedText kTextFiles;
extern const LocalizedText kAllFiles;

// The option beside the map's RPM row.
extern const LocalizedText kKeepAdvance;

// The inline editor's captions.
extern const LocalizedText kSetDegrees;
extern const LocalizedText kSetMillivolts;
extern const LocalizedText kScalePercent;

// Hints ("short|long") of the map cells, the rows and the option.
extern const LocalizedText kMapCellHint;
extern const LocalizedText kMapRpmHint;
extern const LocalizedText kServoRpmHint;
extern const LocalizedText kServoVoltageHint;
extern const LocalizedText kKeepAdvanceHint;
// The status bar texts of the Map menu's items, in the order of the items above.
extern const LocalizedText kSetTip;
extern const LocalizedText kAddTip;
extern const LocalizedText kSubtractTip;
extern const LocalizedText kAddFiveTip;
extern const LocalizedText kSubtractFiveTip;
extern const LocalizedText kScaleTip;
extern const LocalizedText kInterpolateRpmTip;
extern const LocalizedText kInterpolateThrottleTip;
extern const LocalizedText kInterpolateCornersTip;
extern const LocalizedText kSmoothTip;
extern const LocalizedText kCopyTip;
extern const LocalizedText kCopyWithAxesTip;
extern const LocalizedText kPasteTip;
extern const LocalizedText kSelectAllTip;
extern const LocalizedText kClearSelectionTip;
extern const LocalizedText kLiveCellTip;
extern const LocalizedText kExportTip;
extern const LocalizedText kImportTip;

// Status bar messages and boxes.
extern const LocalizedText kNotANumber;        // %1 what was typed
extern const LocalizedText kNothingChanged;    //
extern const LocalizedText kCopied;            // %1 x %2 cells
extern const LocalizedText kPasteRefused;      // %1 the reason
extern const LocalizedText kImportRefused;     // %1 the reason
extern const LocalizedText kExported;          // %1 the file
extern const LocalizedText kExportFailed;      // %1 the reason
extern const LocalizedText kNoLiveCell;        //
extern const LocalizedText kBelowRpmAxis;      //
extern const LocalizedText kNoThrottleInARow;  //

}  // namespace korvan::maptoolstext
