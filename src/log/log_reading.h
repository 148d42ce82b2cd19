// What the three log readers (.msl, MLG, CSV) share, so that they name channels, check times,
// count bad rows and stop at the limits by one rule. Internal to the log layer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "log/ride_log_reader.h"

namespace korvan::logread {

bool SameName(std::string_view a, std::string_view b);
bool StartsWith(std::string_view text, std::string_view prefix);

// Without surrounding blanks, line breaks, tabs and double quotes.
std::string_view Trim(std::string_view s);

// Splits on `separator` into `fields`, reusing its storage.
void SplitFields(std::string_view line, char separator, std::vector<std::string_view>& fields);

// A finite decimal number filling the whole field (blanks and quotes around it allowed). With
// `decimalComma` a comma is taken for the decimal point, as spreadsheets in Czech and German
// write it.
bool ParseNumber(std::string_view field, double& value, bool decimalComma = false);

// Puts a value read from the file into its place in the sample; values beyond what the
// monitor frame can hold are clamped to it, fractions rounded.
void StoreChannel(LogSample& sample, std::size_t channel, double value);

// The header lines all formats share: "Capture Date: ...", "Unit: ...", "Tune: ...", and the
// first other line as the title.
void NoteHeaderLine(RideLogReadResult& r, std::string_view line);

// The start of a text log's reading: the result gets its format and truncation, the text is
// cut to the byte limit and then after its last whole line (a cut may have ended in the middle
// of a number), and an editor's byte order mark is skipped. Returns the text to read.
std::string_view BeginTextLog(std::string_view text, const ReadLimits& limits, bool truncated,
                              LogFormat format, RideLogReadResult& r);

// Rows into the result: the row limit, the rules for times, the bad rows and the markers.
class RowCollector {
  public:
    RowCollector(RideLogReadResult& result, const ReadLimits& limits)
        : r_(result), limits_(limits) {}

    // False once the row limit is reached (the result is then marked truncated): stop reading.
    bool Room();
    // Keeps the row unless its time breaks a rule, which is noted as a bad row at `position`.
    void Add(const LogSample& sample, std::size_t position);
    void Bad(std::size_t position, BadRowKind kind, std::string_view column = {});
    // A marker before the next row.
    void Mark() { r_.marks.push_back(r_.rows.size()); }
    // NoRows when nothing could be read.
    void Finish();

  private:
    RideLogReadResult& r_;
    ReadLimits limits_;
    long long latestMs_ = 0;
};

}  // namespace korvan::logread
