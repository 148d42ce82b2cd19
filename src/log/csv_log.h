// The ride log as CSV for spreadsheets and the log viewers that want it: ';' between fields
// (a comma is the decimal separator in many of the program's languages), a dot as decimal
// point, CR LF line breaks, one header row of names with their units in brackets:
//
//   Time (s);RPM (rpm);TPS (%);...;Map TPS row (cell);Marker
//   12.345;5400;37;...;4;
//   12.500;;;...;;MARK 001
//
// A marker is a row of its own: its time, no values, and its text in the Marker column.
//
// The reader also takes other CSV logs: ',', ';' or tab between fields (the header row
// decides), quoted fields, a decimal comma where the separator is not a comma, names with or
// without "(unit)" or "[unit]", and a second header row of units.
#pragma once

#include <string_view>

#include "log/ride_log_reader.h"

namespace korvan {

constexpr const char* kCsvMarkerColumn = "Marker";

// The CSV log in `text`; as ParseRideLog, a `truncated` text loses its last, partial line.
RideLogReadResult ParseCsvLog(std::string_view text, const ReadLimits& limits = {},
                              bool truncated = false);

}  // namespace korvan
