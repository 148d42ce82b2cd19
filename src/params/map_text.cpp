#include "params/map_text.h"

#include <algorithm>

namespace korvan {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kNoBreakSpace = "\xC2\xA0";
constexpr std::string_view kNarrowNoBreakSpace = "\xE2\x80\xAF";
constexpr std::string_view kDegreeSign = "\xC2\xB0";
constexpr const char* kLineEnd = "\r\n";
// How much of a faulty cell a message quotes.
constexpr std::size_t kQuotedCellLength = 24;
// How many of a header's values a message lists.
constexpr std::size_t kListedHeaderValues = 12;

bool IsBlank(char c) {
    return c == ' ' || c == '\f' || c == '\v';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Blanks around a cell, including the no-break spaces some spreadsheets put there.
std::string_view Trim(std::string_view s) {
    for (bool again = true; again;) {
        again = false;
        for (std::string_view blank : {kNoBreakSpace, kNarrowNoBreakSpace}) {
            if (s.substr(0, blank.size()) == blank) {
                s.remove_prefix(blank.size());
                again = true;
            }
            if (s.size() >= blank.size() && s.substr(s.size() - blank.size()) == blank) {
                s.remove_suffix(blank.size());
                again = true;
            }
        }
        while (!s.empty() && IsBlank(s.front())) {
            s.remove_prefix(1);
            again = true;
        }
        while (!s.empty() && IsBlank(s.back())) {
            s.remove_suffix(1);
            again = true;
        }
    }
    return s;
}

// A cell's text as a message may quote it: at most kQuotedCellLength bytes, whole UTF-8
// characters only, anything unprintable or broken as "?".
std::string Quoted(std::string_view s) {
    std::string out;
    std::size_t i = 0;
    while (i < s.size()) {
        if (out.size() >= kQuotedCellLength) {
            out += "\xE2\x80\xA6";  // an ellipsis
            break;
        }
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t length = c < 0x80           ? 1
                             : (c >> 5) == 0x6  ? 2
                             : (c >> 4) == 0xE  ? 3
                             : (c >> 3) == 0x1E ? 4
                                                : 0;
        bool valid = length > 0 && i + length <= s.size();
        for (std::size_t k = 1; valid && k < length; ++k)
            valid = (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
        if (!valid || (length == 1 && (c < 0x20 || c == 0x7F))) {
            out += '?';
            ++i;
            continue;
        }
        out.append(s.substr(i, length));
        i += length;
    }
    return out;
}

// A number as a cell holds it, rounded to a whole number (halves away from zero).
struct Number {
    bool empty = false;
    bool ok = false;
    bool huge = false;  // more digits than any value of a map can have
    long long value = 0;
};

Number ParseNumber(std::string_view cell, bool percentAllowed = false) {
    Number n;
    std::string_view s = Trim(cell);
    if (s.empty()) {
        n.empty = true;
        return n;
    }
    const std::string_view suffix = percentAllowed ? std::string_view("%") : kDegreeSign;
    if (s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix)
        s = Trim(s.substr(0, s.size() - suffix.size()));
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    constexpr int kMaxDigits = 9;
    int digits = 0;
    long long whole = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i, ++digits) {
        if (digits < kMaxDigits) {
            whole = whole * 10 + (s[i] - '0');
        } else {
            n.huge = true;
        }
    }
    bool roundUp = false;
    if (i < s.size() && (s[i] == '.' || s[i] == ',')) {
        ++i;
        if (i < s.size() && IsDigit(s[i])) roundUp = s[i] >= '5';
        for (; i < s.size() && IsDigit(s[i]); ++i) ++digits;
    }
    if (digits == 0 || i != s.size()) return n;
    n.ok = true;
    n.value = (whole + (roundUp ? 1 : 0)) * (negative ? -1 : 1);
    return n;
}

// The text's lines with their numbers in the text (from 1); LF, CR LF and CR all end one.
struct Line {
    int number;
    std::string_view text;
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    int number = 1;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\n' && text[i] != '\r') continue;
        lines.push_back({number++, text.substr(start, i - start)});
        if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    // A text that ends with a line end has no further line after it.
    if (!lines.empty() && lines.back().text.empty() && !text.empty() &&
        (text.back() == '\n' || text.back() == '\r'))
        lines.pop_back();
    return lines;
}

// A comma is a decimal comma when it sits between two digits and no blank-separated piece
// holds two of them, and the text has no decimal point.
bool CommasSeparate(std::string_view text, CommaRule rule) {
    if (rule == CommaRule::Separates) return true;
    if (text.find('.') != std::string_view::npos) return true;
    int inPiece = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsBlank(c) || c == '\n' || c == '\r') {
            inPiece = 0;
        } else if (c == ',') {
            const bool betweenDigits =
                i > 0 && i + 1 < text.size() && IsDigit(text[i - 1]) && IsDigit(text[i + 1]);
            if (!betweenDigits || ++inPiece > 1) return true;
        }
    }
    return false;
}

// A line's cells. A cell that starts with a double quote runs to the closing one ("" is a
// quote within it), so it may hold the separator. A blank separator means runs of blanks.
std::vector<std::string> SplitCells(std::string_view line, char separator) {
    std::vector<std::string> cells;
    if (separator == ' ') {
        std::string_view rest = Trim(line);
        while (!rest.empty()) {
            std::size_t end = 0;
            while (end < rest.size() && !IsBlank(rest[end])) ++end;
            cells.emplace_back(rest.substr(0, end));
            rest = Trim(rest.substr(end));
        }
        return cells;
    }
    std::string cell;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c != '"') {
                cell += c;
            } else if (i + 1 < line.size() && line[i + 1] == '"') {
                cell += '"';
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == '"' && Trim(cell).empty()) {
            cell.clear();
            quoted = true;
        } else if (c == separator) {
            cells.push_back(std::move(cell));
            cell.clear();
        } else {
            cell += c;
        }
    }
    cells.push_back(std::move(cell));
    return cells;
}

char ChooseSeparator(std::string_view text, CommaRule commas) {
    if (text.find('\t') != std::string_view::npos) return '\t';
    if (text.find(';') != std::string_view::npos) return ';';
    if (text.find(',') != std::string_view::npos && CommasSeparate(text, commas)) return ',';
    return ' ';
}

std::string Joined(const std::vector<std::string>& values) {
    std::string out;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i == kListedHeaderValues) {
            out += " \xE2\x80\xA6";
            break;
        }
        if (i > 0) out += ' ';
        out += Quoted(Trim(values[i]));
    }
    return out;
}

// Where `values` (already whole numbers) run along `axis` point by point; nullopt when they
// name no consecutive points of it.
template <typename Axis>
std::optional<int> FindRun(const std::vector<long long>& values, const Axis& axis) {
    const std::size_t points = axis.size();
    if (values.empty() || values.size() > points) return std::nullopt;
    for (std::size_t start = 0; start + values.size() <= points; ++start) {
        bool match = true;
        for (std::size_t i = 0; match && i < values.size(); ++i)
            match = values[i] == axis[start + i];
        if (match) return static_cast<int>(start);
    }
    return std::nullopt;
}

std::array<long long, kAxisPoints> RpmValues(const DeviceImage& image) {
    std::array<long long, kAxisPoints> rpm{};
    for (int k = 0; k < kAxisPoints; ++k) rpm[k] = image[field::RpmAdv + k] * 100LL;
    return rpm;
}

std::array<long long, kMapRows> ThrottleValues() {
    std::array<long long, kMapRows> tps{};
    for (int r = 0; r < kMapRows; ++r) tps[r] = kTpsAxisPercent[r];
    return tps;
}

std::string AxisList(const std::array<long long, kAxisPoints>& values) {
    std::string out;
    for (long long v : values) out += (out.empty() ? "" : " ") + std::to_string(v);
    return out;
}

// Is the first line a header row? Its numbers all lie above any advance, after an optional
// corner cell that is empty or text. Sets `corner`.
bool LooksLikeRpmHeader(const std::vector<std::string>& first, bool& corner) {
    corner = first.size() >= 2 && !ParseNumber(first[0]).ok;
    const std::size_t from = corner ? 1 : 0;
    for (std::size_t i = from; i < first.size(); ++i) {
        const Number n = ParseNumber(first[i]);
        if (!n.ok || (!n.huge && n.value <= kMaxAdvanceDegrees)) return false;
    }
    return first.size() > from;
}

}  // namespace

std::string FormatMapText(const DeviceImage& image, const MapRect& cells, bool withAxes,
                          char separator) {
    std::string text;
    if (!cells.OnMap()) return text;
    if (withAxes) {
        for (int c = cells.left; c <= cells.right; ++c)
            text += separator + std::to_string(image[field::RpmAdv + c] * 100);
        text += kLineEnd;
    }
    for (int r = cells.top; r <= cells.bottom; ++r) {
        if (withAxes) text += std::to_string(kTpsAxisPercent[r]) + separator;
        for (int c = cells.left; c <= cells.right; ++c) {
            if (c > cells.left) text += separator;
            // As the window shows the cell: a value beyond 60 from a hand-made file shows 60.
            text += std::to_string(std::min<int>(image[AdvanceIndex(r, c)], kMaxAdvanceDegrees));
        }
        text += kLineEnd;
    }
    return text;
}

char CsvSeparatorFor(char decimalPoint) {
    return decimalPoint == ',' ? ';' : ',';
}

bool LooksBinary(std::string_view text) {
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\v' && c != '\f') ||
            c == 0x7F)
            return true;
    }
    return false;
}

MapTextBlock ParseMapText(std::string_view text, const DeviceImage& image, CommaRule commas) {
    using Fault = MapTextBlock::Fault;
    MapTextBlock block;
    if (text.size() > kMaxMapTextSize) {
        block.fault = Fault::TooLong;
        block.size = text.size();
        return block;
    }
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());

    std::vector<Line> lines = SplitLines(text);
    // A line of blanks and tabs before or after the block is no row (a spreadsheet range
    // taken one row too far).
    const auto blank = [](const Line& l) {
        return Trim(l.text).find_first_not_of('\t') == std::string_view::npos;
    };
    while (!lines.empty() && blank(lines.back())) lines.pop_back();
    lines.erase(lines.begin(), std::find_if_not(lines.begin(), lines.end(), blank));
    if (lines.empty()) {
        block.fault = Fault::Empty;
        return block;
    }

    const char separator = ChooseSeparator(text, commas);
    std::vector<std::vector<std::string>> rows;
    rows.reserve(lines.size());
    for (const Line& l : lines) rows.push_back(SplitCells(l.text, separator));

    // The header row, checked against the map's RPM points.
    bool corner = false;
    const bool headerRow = rows.size() >= 2 && LooksLikeRpmHeader(rows[0], corner);
    std::size_t width = rows[0].size();  // data cells per row
    if (headerRow) {
        const std::vector<std::string> header(rows[0].begin() + (corner ? 1 : 0), rows[0].end());
        std::vector<long long> values;
        for (const std::string& h : header) values.push_back(ParseNumber(h).value);
        block.firstColumn = FindRun(values, RpmValues(image));
        if (!block.firstColumn) {
            block.fault = Fault::RpmHeader;
            block.headerValues = Joined(header);
            return block;
        }
        width = header.size();
    }
    const std::size_t firstData = headerRow ? 1 : 0;

    // The header column: by the shape of the block, or by the per cent signs of its cells.
    bool headerColumn = headerRow && corner;
    if (headerRow && !corner) {
        headerColumn = std::all_of(rows.begin() + 1, rows.end(),
                                   [&](const auto& r) { return r.size() == width + 1; });
    }
    if (!headerColumn) {
        headerColumn = std::all_of(rows.begin() + firstData, rows.end(), [](const auto& r) {
            if (r.size() < 2) return false;
            const std::string_view first = Trim(r[0]);
            return !first.empty() && first.back() == '%';
        });
    }
    if (!headerRow) width = rows[0].size() - (headerColumn ? 1 : 0);

    const std::size_t cellsPerRow = width + (headerColumn ? 1 : 0);
    for (std::size_t i = firstData; i < rows.size(); ++i) {
        if (rows[i].size() != cellsPerRow) {
            block.fault = Fault::Ragged;
            block.textRow = lines[i].number;
            block.found = static_cast<int>(rows[i].size());
            block.expected = static_cast<int>(cellsPerRow);
            return block;
        }
    }

    if (headerColumn) {
        std::vector<std::string> header;
        std::vector<long long> values;
        bool numbers = true;
        for (std::size_t i = firstData; i < rows.size(); ++i) {
            header.push_back(rows[i][0]);
            const Number n = ParseNumber(rows[i][0], true);
            numbers = numbers && n.ok && !n.huge;
            values.push_back(n.value);
        }
        if (numbers) block.firstRow = FindRun(values, ThrottleValues());
        if (!block.firstRow) {
            block.fault = Fault::ThrottleHeader;
            block.headerValues = Joined(header);
            return block;
        }
    }

    block.rows = static_cast<int>(rows.size() - firstData);
    block.columns = static_cast<int>(width);
    block.degrees.reserve(static_cast<std::size_t>(block.rows) * width);
    for (std::size_t i = firstData; i < rows.size(); ++i) {
        for (std::size_t j = 0; j < width; ++j) {
            const std::string& cell = rows[i][j + (headerColumn ? 1 : 0)];
            const Number n = ParseNumber(cell);
            block.degrees.push_back(static_cast<int>(n.ok && !n.huge ? n.value : 0));
            if (block.fault != Fault::None ||
                (n.ok && !n.huge && n.value >= kMinAdvance && n.value <= kMaxAdvanceDegrees))
                continue;
            // The first faulty cell, row by row, is the one reported.
            block.fault = n.empty ? Fault::EmptyCell : n.ok ? Fault::OutOfRange : Fault::NotANumber;
            block.row = static_cast<int>(i - firstData);
            block.column = static_cast<int>(j);
            block.cellText = Quoted(Trim(cell));
        }
    }
    return block;
}

namespace {

// A map cell as the window labels it; without the throttle axis the curve row has no label.
Phrase CellName(const DeviceImage& image, int row, int column, bool startsMessage) {
    const int rpm = image[field::RpmAdv + column] * 100;
    if (!HasThrottleAxis(image) && row == kCurveRow)
        return MakePhrase(startsMessage ? maptext::kColumnAt : maptext::kColumnFrom, rpm);
    return MakePhrase(startsMessage ? maptext::kCellAt : maptext::kCellFrom,
                      static_cast<int>(kTpsAxisPercent[row]), rpm);
}

EditOutcome Refused(Phrase reason) {
    EditOutcome out;
    out.refused = true;
    out.reason = std::move(reason);
    return out;
}

// A message about one cell: the cell's name in each language, then the rest.
EditOutcome RefusedCell(const LocalizedText& text, const Phrase& cell,
                        const std::string& cellText = {}) {
    return Refused(PhraseEach(
        [&](std::uint8_t language) { return Fill(text, language, cell.In(language), cellText); }));
}

}  // namespace

EditOutcome PasteMapText(DeviceImage& image, std::string_view text, const PasteTarget& target,
                         CommaRule commas) {
    using Fault = MapTextBlock::Fault;
    const MapRect& selection = target.selection;
    if (!selection.OnMap()) return Refused(MakePhrase(maptext::kOutsideTheMap));
    const MapTextBlock block = ParseMapText(text, image, commas);
    switch (block.fault) {
        case Fault::Empty:
            return Refused(MakePhrase(maptext::kTextEmpty));
        case Fault::TooLong:
            return Refused(MakePhrase(maptext::kTextTooLong, block.size, kMaxMapTextSize));
        case Fault::Ragged:
            return Refused(
                MakePhrase(maptext::kTextRagged, block.textRow, block.found, block.expected));
        case Fault::RpmHeader:
            return Refused(MakePhrase(maptext::kRpmHeaderMismatch, block.headerValues,
                                      AxisList(RpmValues(image))));
        case Fault::ThrottleHeader: {
            std::array<long long, kMapRows> tps = ThrottleValues();
            return Refused(
                MakePhrase(maptext::kThrottleHeaderMismatch, block.headerValues, AxisList(tps)));
        }
        default:
            break;
    }

    const bool headers = block.firstRow || block.firstColumn;
    int top = selection.top;
    int left = selection.left;
    if (target.followHeaders) {
        top = block.firstRow.value_or(top);
        left = block.firstColumn.value_or(left);
    }
    // A single number fills the selection.
    const bool fill = block.rows == 1 && block.columns == 1 && !headers;
    const MapRect cells =
        fill ? selection : MapRect{top, left, top + block.rows - 1, left + block.columns - 1};
    if (!cells.OnMap()) {
        return Refused(PhraseEach([&](std::uint8_t language) {
            return Fill(maptext::kDoesNotFit, language, block.columns, block.rows,
                        CellName(image, top, left, false).In(language), kMapColumns - left,
                        kMapRows - top);
        }));
    }
    if (block.fault != Fault::None) {
        const Phrase cell = fill ? CellName(image, selection.top, selection.left, true)
                                 : CellName(image, top + block.row, left + block.column, true);
        switch (block.fault) {
            case Fault::EmptyCell:
                return RefusedCell(maptext::kCellEmpty, cell);
            case Fault::OutOfRange:
                return RefusedCell(maptext::kCellOutOfRange, cell, block.cellText);
            default:
                return RefusedCell(maptext::kCellNotANumber, cell, block.cellText);
        }
    }

    EditOutcome out;
    out.cells = cells;
    for (int r = cells.top; r <= cells.bottom; ++r) {
        for (int c = cells.left; c <= cells.right; ++c) {
            const int v = fill ? block.degrees[0]
                               : block.degrees[static_cast<std::size_t>((r - top) * block.columns +
                                                                        (c - left))];
            std::uint8_t& byte = image[AdvanceIndex(r, c)];
            if (byte != v) {
                byte = static_cast<std::uint8_t>(v);
                ++out.cellsChanged;
            }
        }
    }
    out.step = fill
                   ? MakePhrase(maptext::kStepFill, cells.Columns(), cells.Rows(), block.degrees[0])
                   : MakePhrase(maptext::kStepPaste, cells.Columns(), cells.Rows());
    return out;
}

}  // namespace korvan
