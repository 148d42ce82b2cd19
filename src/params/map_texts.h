// The words of the map tools in the program's three languages: the names of the undo steps
// they make and the reasons they give when they refuse.
//
// An operation does not know which language the window will show its result in (the user may
// switch before looking at the undo list), so it hands back a Phrase (localized_text.h): the
// finished text in all three languages at once.
#pragma once

#include "params/localized_text.h"

namespace korvan {

namespace maptext {

// Units as the window shows them.
extern const LocalizedText kRpmUnit;  // "rpm"

// Undo steps on the map; %1 x %2 is the block's width x height in cells.
extern const LocalizedText kStepSet;                  // %3 degrees
extern const LocalizedText kStepAdd;                  // %3 "+1", "-5"
extern const LocalizedText kStepScale;                // %3 percent
extern const LocalizedText kStepInterpolateRpm;       //
extern const LocalizedText kStepInterpolateThrottle;  //
extern const LocalizedText kStepInterpolateCorners;   //
extern const LocalizedText kStepSmooth;               //
extern const LocalizedText kStepPaste;                //
extern const LocalizedText kStepFill;                 // %3 degrees
extern const LocalizedText kStepImport;               // %1 the file name
extern const LocalizedText kStepRpmAxisAdvanceKept;   //

// The 10-point tables, and undo steps on them: %1 the table, %2..%3 the points (from 1).
extern const LocalizedText kServoVoltages;
extern const LocalizedText kMapRpmPoints;
extern const LocalizedText kServoRpmPoints;
extern const LocalizedText kStepPointsSet;          // %4 "2500 mV"
extern const LocalizedText kStepPointsAdd;          // %4 "+20 mV"
extern const LocalizedText kStepPointsScale;        // %4 percent
extern const LocalizedText kStepPointsInterpolate;  //
extern const LocalizedText kStepPointsSmooth;       //

// Refusals of the operations.
extern const LocalizedText kAdvanceOutOfRange;    // %1 the value given
extern const LocalizedText kPercentOutOfRange;    // %1 the value given
extern const LocalizedText kServoOutOfRange;      // %1 the value given
extern const LocalizedText kNeedTwoColumns;       //
extern const LocalizedText kNeedTwoRows;          //
extern const LocalizedText kNeedTwoCells;         //
extern const LocalizedText kNeedTwoPoints;        //
extern const LocalizedText kOutsideTheMap;        //
extern const LocalizedText kAxisInterpolateOnly;  // %1 the table
extern const LocalizedText kAxisWouldNotRise;     // %1 table, %2..%3 points, %4..%5 rpm

// Cells as the window labels them: its throttle row and RPM column.
extern const LocalizedText kCellAt;      // "Row %1 %, column %2 rpm" (a message starts)
extern const LocalizedText kCellFrom;    // the same within a sentence
extern const LocalizedText kColumnAt;    // "Column %1 rpm": the map without throttle axis
extern const LocalizedText kColumnFrom;  // the same within a sentence

// Refusals of a paste or import.
extern const LocalizedText kTextEmpty;               //
extern const LocalizedText kTextTooLong;             // %1 bytes, %2 the limit
extern const LocalizedText kTextRagged;              // %1 text row, %2 cells, %3 expected
extern const LocalizedText kCellNotANumber;          // %1 cell, %2 its text
extern const LocalizedText kCellEmpty;               // %1 cell
extern const LocalizedText kCellOutOfRange;          // %1 cell, %2 its text
extern const LocalizedText kRpmHeaderMismatch;       // %1 the header's values, %2 the axis
extern const LocalizedText kThrottleHeaderMismatch;  // %1 the header's values, %2 the axis
extern const LocalizedText kDoesNotFit;              // %1 x %2 block, %3 cell, %4 x %5 room

}  // namespace maptext
}  // namespace korvan
