// The advance map as text, the way spreadsheets exchange cells: the clipboard's Copy and Paste,
// the .csv export and import, and korvan2-cli's map command all go through here.
//
// Written: one line per throttle row (0 % first, as the window shows them), cells separated by
// a tab (or the .csv's separator), every line ended by CR LF. With the axes, a header row of
// the RPM points in rpm comes first, behind an empty corner cell, and each row starts with its
// throttle point in %.
//
// Read, it takes what spreadsheets and other tools produce:
// - cells separated by tabs; else by semicolons; else by commas (see CommaRule); else by runs
//   of blanks; a cell in double quotes may hold the separator;
// - numbers with "," or "." before the decimals, rounded to whole degrees (halves away from
//   zero), a "°" behind them allowed;
// - an optional header row: a first line whose numbers all lie above 60 (so it cannot be
//   advance) and that may start with an empty or text corner cell. It must name consecutive
//   RPM points of the map;
// - an optional header column: the first cell of each row, when the header row has a corner
//   cell or each row has one cell more than it, or when every first cell ends in "%". It must
//   name consecutive throttle points;
// - blank lines before and after the block, a UTF-8 byte order mark, and LF or CR line ends.
// Anything else (a cell that is not a number, lies outside 0..60, a row with another number of
// cells, a header that names no points of this map, a block that does not fit) is refused with
// the cell named as the window labels it, and nothing changes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "params/map_operations.h"

namespace korvan {

// The text of a whole map with headers is about 400 bytes; even padded by a tool it stays far
// below this. A longer text (a 10 MB clipboard) is refused before it is looked at.
constexpr std::size_t kMaxMapTextSize = 64 * 1024;

// The block of `cells` as text; `separator` a tab for the clipboard, ',' or ';' for a .csv.
std::string FormatMapText(const DeviceImage& image, const MapRect& cells, bool withAxes,
                          char separator = '\t');

// A .csv's separator for a locale whose decimal point is `decimalPoint`: ";" where numbers
// are written with a decimal comma (so a spreadsheet there opens the file into columns),
// else ",".
char CsvSeparatorFor(char decimalPoint);

// What a comma means in a text without tabs or semicolons.
enum class CommaRule {
    // A clipboard: a spreadsheet puts tabs between cells, so a lone comma in each line is a
    // decimal comma ("12,5" copied from one cell). Commas separate cells when a line holds
    // more than one or the text has decimal points.
    DecimalWhenAlone,
    // A .csv file: commas separate cells.
    Separates,
};

// A block of text read into numbers, not yet placed on the map.
struct MapTextBlock {
    enum class Fault {
        None,
        Empty,           // nothing but blanks
        TooLong,         // longer than kMaxMapTextSize
        Ragged,          // a row with another number of cells (textRow, found, expected)
        RpmHeader,       // a header row that names no consecutive RPM points
        ThrottleHeader,  // a header column that names no consecutive throttle points
        NotANumber,      // at (row, column) of the block
        EmptyCell,       // at (row, column)
        OutOfRange,      // at (row, column): rounds to a value outside 0..60
    };

    int rows = 0;
    int columns = 0;
    std::vector<int> degrees;        // rows x columns, row by row
    std::optional<int> firstColumn;  // the RPM point the header row starts at
    std::optional<int> firstRow;     // the throttle row the header column starts at

    Fault fault = Fault::None;
    int row = 0;  // the faulty cell in the block, from 0
    int column = 0;
    int textRow = 0;           // Ragged: the row of the text, from 1
    int found = 0;             // Ragged: cells in that row ...
    int expected = 0;          // ... and in the rows before it
    std::size_t size = 0;      // TooLong: the text's length
    std::string cellText;      // NotANumber, OutOfRange: the cell as written (shortened)
    std::string headerValues;  // RpmHeader, ThrottleHeader: the header as written
};

MapTextBlock ParseMapText(std::string_view text, const DeviceImage& image,
                          CommaRule commas = CommaRule::DecimalWhenAlone);

// Where a pasted block goes.
struct PasteTarget {
    // The selection: the block's first cell lands on its top-left cell; a single number fills
    // all of it.
    MapRect selection;
    // A file or the command line has no selection: a block with headers then lands on the
    // points its headers name (`selection` gives the rest).
    bool followHeaders = false;
};

// Parses `text` and writes it into the map, or refuses with the reason and changes nothing.
EditOutcome PasteMapText(DeviceImage& image, std::string_view text, const PasteTarget& target,
                         CommaRule commas = CommaRule::DecimalWhenAlone);

// Whether a text holds control characters no spreadsheet writes (NUL, escape ...): a file of
// something else, or a text in UTF-16.
bool LooksBinary(std::string_view text);

}  // namespace korvan
