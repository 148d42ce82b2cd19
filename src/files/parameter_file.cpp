#include "files/parameter_file.h"

#include <cstdio>
#include <sstream>
#include <vector>

#include "files/token_reader.h"

namespace korvan {

namespace {

constexpr const char* kHeaderKey = "MAVELTIK_KEY";
constexpr const char* kLineBreak = "\r\n";
constexpr const char* kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::size_t kUtf8MarkLength = 3;

// One value of a key: the image byte it fills and how it is scaled in the file.
struct ValueSpec {
    enum Kind { Number, Flag } kind;
    std::size_t imageIndex;
    int scale;       // file value = (byte + offset) * scale
    int offset = 0;  // 250 for the 100 % throttle voltage
};

struct KeySpec {
    const char* key;
    int width;  // the key is padded with blanks to this width
    std::vector<ValueSpec> values;
};

ValueSpec Num(std::size_t index, int scale = 1, int offset = 0) {
    return {ValueSpec::Number, index, scale, offset};
}
ValueSpec Flag(std::size_t index) {
    return {ValueSpec::Flag, index, 1};
}

std::vector<ValueSpec> Range(std::size_t first, int count, int scale) {
    std::vector<ValueSpec> v;
    for (int i = 0; i < count; ++i) v.push_back(Num(first + i, scale));
    return v;
}

// Every key of the image, in the order the writer emits them. "EXT_MON" is not an image field
// and is handled apart.
const std::vector<KeySpec>& Keys() {
    static const std::vector<KeySpec> keys = {
        {"BIKE", 12, {Num(field::BikeType)}},
        {"BASE_ADV", 12, {Num(field::BaseAdv)}},
        {"LIMITER1", 12, {Num(field::Limiter1)}},
        {"LIMITER2", 12, {Num(field::Limiter2)}},
        {"CLUTCH", 12, {Num(field::Clutch, 10)}},
        {"LED_RAZENI", 12, {Num(field::LedRazeni, 100)}},
        {"TPS", 12, {Num(field::Tps0, 10), Num(field::Tps100, 10, 250)}},
        {"N2O",
         12,
         {Flag(field::N2oEnable), Num(field::Gas1), Num(field::Gas2), Num(field::GasDelay, 100),
          Num(field::GasBuildUp, 100)}},
        {"RETARD",
         17,
         {Num(field::Retard1), Num(field::Retard2), Num(field::RetardDelay, 100),
          Num(field::RetardBuildUp, 100)}},
        {"NO_READING", 12, {Flag(field::NoReading)}},
        {"RPM2", 12, {Flag(field::Rpm2)}},
        {"EXCITATION", 12, {Flag(field::Excitation)}},
        {"TPS_MAPA", 12, {Flag(field::TpsMapa)}},
        {"ACT_LIM1", 12, {Flag(field::ActLim1)}},
        {"ACT_CLUTCH", 12, {Flag(field::ActClutch)}},
        {"ACT_BLOK1", 12, {Flag(field::ActBlok1)}},
        {"ACT_BLOK2", 12, {Flag(field::ActBlok2)}},
        {"ACT_RPM", 12, {Flag(field::ActRpm)}},
        {"ACT_N2O", 12, {Flag(field::ActN2o)}},
        {"RPM_ADV", 12, Range(field::RpmAdv, kAxisPoints, 100)},
        {"ADVANCE", 12, Range(field::Advance, kMapRows * kMapColumns, 1)},
        {"PRIV_ENABLE", 11, {Flag(field::PrivEnable)}},
        {"PRIV_HYSTER", 12, {Num(field::PrivHyster, 5)}},
        {"RPM_PRIV", 12, Range(field::RpmPriv, kAxisPoints, 100)},
        {"NAP_PRIV", 12, Range(field::NapPriv, kAxisPoints, 20)},
    };
    return keys;
}

constexpr const char* kExtMonKey = "EXT_MON";

const KeySpec& Key(const char* name) {
    for (const KeySpec& k : Keys()) {
        if (std::string(k.key) == name) return k;
    }
    static const KeySpec none{"", 0, {}};
    return none;
}

class Writer {
  public:
    void Text(const std::string& s) { out_ += s; }
    void Break() { out_ += kLineBreak; }
    void KeyField(const std::string& key, int width) {
        out_ += key;
        if (static_cast<int>(key.size()) < width) out_.append(width - key.size(), ' ');
    }
    void Number(unsigned v) { Printf("%5u ", v); }
    void FlagValue(bool on, int blanks = 4) {
        out_.append(blanks, ' ');
        out_ += on ? '1' : '0';
    }
    void Printf(const char* format, unsigned v) {
        char buf[32];
        std::snprintf(buf, sizeof buf, format, v);
        out_ += buf;
    }
    // A whole key line: line break, key field, values.
    void Line(const DeviceImage& image, const char* name, int flagBlanks = 4) {
        const KeySpec& k = Key(name);
        Break();
        KeyField(k.key, k.width);
        for (const ValueSpec& v : k.values) {
            if (v.kind == ValueSpec::Flag) {
                FlagValue(image[v.imageIndex] != 0, flagBlanks);
            } else {
                Number(static_cast<unsigned>((image[v.imageIndex] + v.offset) * v.scale));
            }
        }
    }
    const std::string& Result() const { return out_; }

  private:
    std::string out_;
};

}  // namespace

std::string ParameterFileText(const DeviceImage& image, bool extendedMonitor) {
    Writer w;
    w.KeyField(kHeaderKey, 14);
    w.Printf("%3u ", kFormatVersion);
    w.Break();
    for (const char* k : {"BIKE", "BASE_ADV", "LIMITER1", "LIMITER2", "CLUTCH", "LED_RAZENI"})
        w.Line(image, k);
    w.Break();
    w.Line(image, "TPS");
    w.Line(image, "N2O");
    w.Line(image, "RETARD");
    w.Line(image, "NO_READING", 3);
    w.Line(image, "RPM2");
    w.Break();
    w.KeyField(kExtMonKey, 12);
    w.FlagValue(extendedMonitor);
    for (const char* k : {"EXCITATION", "TPS_MAPA", "ACT_LIM1", "ACT_CLUTCH", "ACT_BLOK1",
                          "ACT_BLOK2", "ACT_RPM", "ACT_N2O"}) {
        w.Line(image, k);
    }
    w.Break();
    w.Line(image, "RPM_ADV");
    w.Break();

    // The map: ten numbers a line; every line, the last included, is followed by a line break
    // and the 12 blanks that indent the next row.
    w.Break();
    w.KeyField("ADVANCE", 12);
    for (int cell = 0; cell < kMapRows * kMapColumns; ++cell) {
        w.Number(image[field::Advance + cell]);
        if (cell % kMapColumns == kMapColumns - 1) {
            w.Break();
            w.Text(std::string(12, ' '));
        }
    }
    w.Break();
    for (const char* k : {"PRIV_ENABLE", "PRIV_HYSTER", "RPM_PRIV", "NAP_PRIV"}) w.Line(image, k);
    return w.Result();
}

ParameterFileKey ParameterFileKeyOf(std::size_t imageIndex) {
    for (const KeySpec& k : Keys()) {
        for (std::size_t i = 0; i < k.values.size(); ++i) {
            if (k.values[i].imageIndex == imageIndex)
                return {k.key, static_cast<int>(i), static_cast<int>(k.values.size())};
        }
    }
    return {};
}

void WriteParameterFile(std::ostream& out, const DeviceImage& image, bool extendedMonitor) {
    out << ParameterFileText(image, extendedMonitor);
}

namespace {

bool IsKeyWord(const std::string& text) {
    if (text == kExtMonKey) return true;
    for (const KeySpec& k : Keys()) {
        if (text == k.key) return true;
    }
    return false;
}

// An overlong token is shown by its start only: it can be a whole binary file on one "line".
constexpr std::size_t kShownTokenLength = 40;

std::string Shown(const Token& token) {
    if (!token.overlong && token.text.size() <= kShownTokenLength) return token.text;
    return token.text.substr(0, kShownTokenLength) + "...";
}

// What follows a key whose numbers ran out: the end of the file or another key is a short
// key (a truncated file); any other token is a value that is not a number.
void ReportMissingValue(TokenReader& reader, const Token& key, int found, int expected,
                        std::vector<IgnoredEntry>& ignored, int& brokenLine) {
    IgnoredEntry entry;
    entry.line = key.line;
    entry.key = key.text;
    Token next;
    if (!reader.Peek(next) || (!next.overlong && IsKeyWord(next.text))) {
        entry.kind = IgnoredKind::TooFewNumbers;
        entry.found = found;
        entry.expected = expected;
    } else {
        entry.kind = IgnoredKind::NotANumber;
        entry.value = Shown(next);
        // The rest of its line up to the next key belongs to this broken entry and is not
        // listed again.
        brokenLine = next.line;
    }
    ignored.push_back(entry);
}

}  // namespace

const LocalizedText kIgnoredLine{"Řádek %1, %2: ", "Line %1, %2: ", "Zeile %1, %2: "};
const LocalizedText kIgnoredNotANumber{"není číslo (%1)", "not a number (%1)", "keine Zahl (%1)"};
const LocalizedText kIgnoredTooFewNumbers{"málo čísel (%1 z %2)", "too few numbers (%1 of %2)",
                                          "zu wenige Zahlen (%1 von %2)"};
const LocalizedText kIgnoredUnknownKey{"neznámý klíč", "unknown key", "unbekannter Schlüssel"};
const LocalizedText kIgnoredStrayNumber{"číslo bez klíče", "number without a key",
                                        "Zahl ohne Schlüssel"};
const LocalizedText kIgnoredDoesNotFit{"%1 se do pole nevejde, načteno jako %2",
                                       "%1 does not fit the field, read as %2",
                                       "%1 passt nicht in das Feld, gelesen als %2"};

std::string IgnoredEntryText(const IgnoredEntry& entry, std::uint8_t language) {
    std::string what;
    switch (entry.kind) {
        case IgnoredKind::NotANumber:
            what = Fill(kIgnoredNotANumber, language, entry.value);
            break;
        case IgnoredKind::TooFewNumbers:
            what = Fill(kIgnoredTooFewNumbers, language, entry.found, entry.expected);
            break;
        case IgnoredKind::UnknownKey:
            what = kIgnoredUnknownKey.In(language);
            break;
        case IgnoredKind::StrayNumber:
            what = kIgnoredStrayNumber.In(language);
            break;
        case IgnoredKind::DoesNotFit:
            what = Fill(kIgnoredDoesNotFit, language, entry.value, entry.readAs);
            break;
    }
    return Fill(kIgnoredLine, language, entry.line, entry.key) + what;
}

ParameterFileResult ReadParameterFile(std::istream& in, DeviceImage& image) {
    ParameterFileResult result;
    TokenReader reader(in);
    Token token;

    // Some editors put a UTF-8 byte order mark in front of a file they save; one such mark at
    // the very start is not part of the header key.
    const bool startsWithMark =
        in.rdbuf() != nullptr && in.rdbuf()->sgetc() == static_cast<unsigned char>(kUtf8Mark[0]);
    bool firstToken = true;

    // Header pass: everything before an accepted header is ignored. A number is read only when
    // the next token is one; anything else is left to be scanned as a token of its own.
    while (!result.accepted && reader.Next(token)) {
        if (firstToken && startsWithMark &&
            token.text.compare(0, kUtf8MarkLength, kUtf8Mark) == 0) {
            token.text.erase(0, kUtf8MarkLength);
        }
        firstToken = false;
        if (token.overlong || token.text != kHeaderKey) continue;
        Token number;
        if (reader.Peek(number) && number.numeric) {
            reader.Consume();
            result.headerVersion = number.value & 0xFFFF;
            result.accepted = *result.headerVersion == kFormatVersion;
        }
    }
    if (!result.accepted) return result;

    // Key pass: work on a copy so that the image changes only through complete reading.
    DeviceImage read = image;
    int brokenLine = 0;  // the line of the last value that was not a number
    while (reader.Next(token)) {
        const bool keyWord = !token.overlong && IsKeyWord(token.text);
        if (!keyWord) {
            if (token.line != brokenLine) {
                result.ignored.push_back(
                    {token.line, Shown(token),
                     token.numeric ? IgnoredKind::StrayNumber : IgnoredKind::UnknownKey});
            }
            continue;
        }
        brokenLine = 0;
        if (token.text == kExtMonKey) {
            Token number;
            if (reader.Peek(number) && number.numeric) {
                reader.Consume();
                result.extendedMonitor = (number.value & 0xFFFF) != 0;
                if (number.beyond32Bits || number.value > 0xFFFF) {
                    IgnoredEntry entry(number.line, token.text, IgnoredKind::DoesNotFit);
                    entry.value = Shown(number);
                    entry.readAs = *result.extendedMonitor ? "1" : "0";
                    result.ignored.push_back(entry);
                }
            } else {
                ReportMissingValue(reader, token, 0, 1, result.ignored, brokenLine);
            }
            continue;
        }
        const KeySpec* key = nullptr;
        for (const KeySpec& k : Keys()) {
            if (token.text == k.key) {
                key = &k;
                break;
            }
        }
        int found = 0;
        for (const ValueSpec& v : key->values) {
            Token number;
            if (!reader.Peek(number) || !number.numeric) break;
            reader.Consume();
            ++found;
            const unsigned reduced = number.value & 0xFFFF;
            const auto scale = static_cast<unsigned>(v.scale);
            // Byte = number / scale - offset, in the unit's 8-bit arithmetic.
            const auto byte = static_cast<std::uint8_t>(reduced / scale - v.offset);
            read[v.imageIndex] = byte;
            // A number beyond what the field holds wraps into another value. That value is
            // what the unit's own rule makes of the file, so it stays; the tuner is told.
            const unsigned held = byte + static_cast<unsigned>(v.offset);
            if (number.beyond32Bits || number.value / scale != held) {
                IgnoredEntry entry(number.line, token.text, IgnoredKind::DoesNotFit);
                entry.value = Shown(number);
                entry.readAs = std::to_string(held * scale);
                result.ignored.push_back(entry);
            }
        }
        const int expected = static_cast<int>(key->values.size());
        if (found < expected)
            ReportMissingValue(reader, token, found, expected, result.ignored, brokenLine);
    }
    image = read;
    return result;
}

ParameterFileLoad LoadParameterFile(const std::string& path, DeviceImage& image) {
    ParameterFileLoad load;
    std::string text;
    load.file = ReadWholeFile(path, text);
    if (!load.file.ok) return load;
    std::istringstream in(text, std::ios::binary);
    load.parsed = ReadParameterFile(in, image);
    return load;
}

}  // namespace korvan
