// The ".ign" parameter file: keyword text behind a "MAVELTIK_KEY 15" header.
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "files/atomic_write.h"
#include "params/device_image.h"
#include "params/localized_text.h"

namespace korvan {

// Writes the whole file from the parameter pages and the "Extended Monitor" state, byte for
// byte in the fixed layout with CR LF line breaks. The stream must be binary.
void WriteParameterFile(std::ostream& out, const DeviceImage& image, bool extendedMonitor);
std::string ParameterFileText(const DeviceImage& image, bool extendedMonitor);

// Which key of the file holds image byte `imageIndex`, and which of the key's numbers it is
// ("TPS" 1 is the 100 % voltage, "ADVANCE" 23 the map's row 2, column 3). `key` is null for a
// byte the file does not hold. Scripts know a set by these names.
struct ParameterFileKey {
    const char* key = nullptr;
    int index = 0;
    int count = 0;  // how many numbers the key has
};
ParameterFileKey ParameterFileKeyOf(std::size_t imageIndex);

// Something after the accepted header that the reader skipped. A hand-edited file loads with
// these left out, so the tuner has to be told which lines did not count.
enum class IgnoredKind : std::uint8_t {
    NotANumber,     // a key's value that is not a plain decimal number ("+60", "0x3C", "60.0",
                    // "9,500")
    TooFewNumbers,  // a key followed by fewer numbers than it has values (a truncated file)
    UnknownKey,     // a word that is no key of the file
    StrayNumber,    // a number that belongs to no key (one too many after a key)
    DoesNotFit,     // a number the field cannot hold: read by the unit's rule all the same
                    // (16-bit number, 8-bit field), which makes it another value
};

struct IgnoredEntry {
    IgnoredEntry() = default;
    IgnoredEntry(int atLine, std::string what, IgnoredKind why)
        : line(atLine), key(std::move(what)), kind(why) {}

    int line = 0;     // from 1
    std::string key;  // the key concerned (for UnknownKey and StrayNumber the token itself)
    IgnoredKind kind = IgnoredKind::UnknownKey;
    std::string value;   // NotANumber: the token that was not a number; DoesNotFit: the number
    std::string readAs;  // DoesNotFit: the value it became, as the file would write it
    int found = 0;       // TooFewNumbers: numbers read ...
    int expected = 0;    // ... of the key's count

    bool operator==(const IgnoredEntry& o) const {
        return line == o.line && key == o.key && kind == o.kind && value == o.value &&
               readAs == o.readAs && found == o.found && expected == o.expected;
    }
};

struct ParameterFileResult {
    bool accepted = false;                  // a header with version 15 was found
    std::optional<unsigned> headerVersion;  // the last header's version, when one was found
    std::optional<bool> extendedMonitor;    // set when the file holds "EXT_MON"
    std::vector<IgnoredEntry> ignored;      // in file order; empty for a cleanly read file
};

// The words for each kind, and one entry as a line of text: "Line 7: LIMITER1: not a number
// (+60)". Language index as everywhere (0 Czech, 1 English, 2 German).
extern const LocalizedText kIgnoredLine;
extern const LocalizedText kIgnoredNotANumber;
extern const LocalizedText kIgnoredTooFewNumbers;
extern const LocalizedText kIgnoredUnknownKey;
extern const LocalizedText kIgnoredStrayNumber;
extern const LocalizedText kIgnoredDoesNotFit;
std::string IgnoredEntryText(const IgnoredEntry& entry, std::uint8_t language);

// Scans the file and stores the values of every key met after the accepted header into
// `image`. Without an accepted header nothing is changed. Ranges are not checked: the caller
// normalises. A key followed by too few numbers, or by a token that is not a number, keeps
// the values it had for the fields whose number is missing. Whatever is skipped after the
// header is listed in `ignored`, and so is every number its field cannot hold (it is stored
// as the reading rule makes it, and listed with what it became); tokens before the header are
// not (they are never read).
ParameterFileResult ReadParameterFile(std::istream& in, DeviceImage& image);

// A parameter file read from disk (a regular file of bounded size) and scanned over `image`,
// as ReadParameterFile does. `file` says whether the file could be read at all; `parsed` is
// meaningful only when it could.
struct ParameterFileLoad {
    ReadResult file;
    ParameterFileResult parsed;
};
ParameterFileLoad LoadParameterFile(const std::string& path, DeviceImage& image);

}  // namespace korvan
