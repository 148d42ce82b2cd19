#include "files/parameter_file.h"

#include <gtest/gtest.h>

#include <sstream>

#include "files/atomic_write.h"
#include "params/binding.h"
#include "params/defaults.h"

namespace korvan {

// Failures show an ignored entry as the user reads it.
void PrintTo(const IgnoredEntry& e, std::ostream* os) {
    *os << IgnoredEntryText(e, kLanguageEnglish);
}

namespace {

ParameterFileResult Read(const std::string& text, DeviceImage& image) {
    std::istringstream in(text);
    return ReadParameterFile(in, image);
}

TEST(ParameterFile, NewSetIsWrittenByteForByte) {
    std::string expected;
    ASSERT_TRUE(ReadWholeFile(std::string(KORVAN_TEST_DATA) + "/default_set.ign", expected).ok);
    ASSERT_EQ(expected.size(), 1482u);
    const std::string written = ParameterFileText(DefaultImage(), false);
    EXPECT_EQ(written.size(), 1482u);
    EXPECT_EQ(written, expected);

    std::ostringstream out;
    WriteParameterFile(out, DefaultImage(), false);
    EXPECT_EQ(out.str(), expected);
}

TEST(ParameterFile, RoundTripKeepsEveryStoredFieldAndLeavesTheOthers) {
    DeviceImage source = DefaultImage();
    // Every byte of the parameter pages set to something distinct and within the file's reach.
    for (const NumericField& f : NumericFields()) {
        source[f.imageIndex] = static_cast<std::uint8_t>((f.imageIndex * 37 + 11) % 200);
    }
    for (const FlagField& f : FlagFields()) source[f.imageIndex] = f.imageIndex % 2;
    source[field::ActRpm] = 1;
    source[field::BikeType] = 5;
    source[field::Tps100] = 225;

    DeviceImage target = DefaultImage();
    for (std::size_t i = 0; i < field::ParamReservedLength; ++i)
        target[field::ParamReserved + i] = 0xA5;
    target[field::ActTachoLambda] = 0x42;
    for (std::size_t i = 0; i < kPageSize; ++i) target[i] = 0x33;
    const DeviceImage before = target;

    const ParameterFileResult r = Read(ParameterFileText(source, true), target);
    ASSERT_TRUE(r.accepted);
    ASSERT_TRUE(r.extendedMonitor.has_value());
    EXPECT_TRUE(*r.extendedMonitor);
    for (std::size_t i = kParamImageBegin; i < kImageSize; ++i) {
        const bool kept =
            (i >= field::ParamReserved && i < field::ParamReserved + field::ParamReservedLength) ||
            i == field::ActTachoLambda;
        EXPECT_EQ(target[i], kept ? before[i] : source[i]) << "image byte " << i;
    }
    for (std::size_t i = 0; i < kPageSize; ++i) EXPECT_EQ(target[i], 0x33);
}

TEST(ParameterFile, FlagsAreWrittenAsOneOrZero) {
    DeviceImage image = DefaultImage();
    image[field::Rpm2] = 2;
    image[field::NoReading] = 9;
    const std::string text = ParameterFileText(image, false);
    EXPECT_NE(text.find("RPM2            1\r\n"), std::string::npos);
    EXPECT_NE(text.find("NO_READING     1\r\n"), std::string::npos);
}

struct ReadCase {
    const char* what;
    std::string text;
    bool accepted;
    std::vector<std::pair<std::size_t, int>> expect;  // image byte, value (-1: as before)
};

TEST(ParameterFile, ReaderRules) {
    const std::string h = "MAVELTIK_KEY 15\n";
    const ReadCase cases[] = {
        {"tokens before the header are ignored",
         "BIKE 3\nMAVELTIK_KEY 15\nBASE_ADV 20",
         true,
         {{field::BikeType, 0}, {field::BaseAdv, 20}}},
        {"a later header with 15 counts",
         "MAVELTIK_KEY 14\nMAVELTIK_KEY 15\nBIKE 2",
         true,
         {{field::BikeType, 2}}},
        {"the header number is reduced modulo 65536",
         "MAVELTIK_KEY 65551 BIKE 4",
         true,
         {{field::BikeType, 4}}},
        {"the header key is case-sensitive",
         "maveltik_key 15 BIKE 4",
         false,
         {{field::BikeType, 0}}},
        {"the header alone is accepted", h, true, {{field::BaseAdv, 10}}},
        {"an empty file is refused", "", false, {}},
        {"one leading UTF-8 byte order mark is not part of the header",
         "\xEF\xBB\xBF" + h + "BIKE 3",
         true,
         {{field::BikeType, 3}}},
        {"a mark before a blank line is ignored too",
         "\xEF\xBB\xBF\r\n" + h + "BIKE 3",
         true,
         {{field::BikeType, 3}}},
        {"only one mark is stripped",
         "\xEF\xBB\xBF\xEF\xBB\xBF" + h + "BIKE 3",
         false,
         {{field::BikeType, 0}}},
        {"a mark after blanks is not a leading one",
         " \xEF\xBB\xBF" + h + "BIKE 3",
         false,
         {{field::BikeType, 0}}},
        {"a stray byte glued to the key is not a mark",
         "\xEF" + h + "BIKE 3",
         false,
         {{field::BikeType, 0}}},
        {"another version is refused and changes nothing",
         "MAVELTIK_KEY 16\nBIKE 3",
         false,
         {{field::BikeType, 0}}},
        {"a header followed by a word is not a header",
         "MAVELTIK_KEY BIKE 15 BIKE 3",
         false,
         {{field::BikeType, 0}}},
        {"the last occurrence wins", h + "BIKE 1\nBIKE 4", true, {{field::BikeType, 4}}},
        {"values are divided after the 16-bit reduction",
         h + "CLUTCH 2559\nLIMITER1 300\nLED_RAZENI 65636",
         true,
         {{field::Clutch, 255}, {field::Limiter1, 44}, {field::LedRazeni, 1}}},
        {"the second throttle value wraps modulo 256",
         h + "TPS 700 2000",
         true,
         {{field::Tps0, 70}, {field::Tps100, 206}}},
        {"TPS and TPS_MAPA are different keys",
         h + "TPS_MAPA 1",
         true,
         {{field::TpsMapa, 1}, {field::Tps0, 70}}},
        {"flags are stored as numbers", h + "RPM2 2", true, {{field::Rpm2, 2}}},
        {"ACT_RPM is byte 14, not 17",
         h + "ACT_RPM 0",
         true,
         {{field::ActRpm, 0}, {field::ActTachoLambda, 1}}},
        {"unknown keys and their numbers are skipped",
         h + "FOO 1 2 3 BAR BASE_ADV 22",
         true,
         {{field::BaseAdv, 22}}},
        {"arrays take their numbers from any lines",
         h + "RPM_ADV 1100\n1200 1300 1400\n1500 1600 1700 1800 1900 2000",
         true,
         {{field::RpmAdv, 11}, {field::RpmAdv + 9, 20}}},
        {"too few numbers at the end of the file keep the rest",
         h + "N2O 0 33",
         true,
         {{field::N2oEnable, 0}, {field::Gas1, 33}, {field::Gas2, 60}, {field::GasDelay, 20}}},
        {"a word where a number belongs keeps the rest and is read as the next key",
         h + "RETARD 4 BASE_ADV 30",
         true,
         {{field::Retard1, 4},
          {field::Retard2, 6},
          {field::RetardDelay, 20},
          {field::BaseAdv, 30}}},
        {"a signed number is not a number",
         h + "BIKE -1 BASE_ADV 12",
         true,
         {{field::BikeType, 0}, {field::BaseAdv, 12}}},
        {"a token glued to a number is not a number",
         h + "BIKE 3x BASE_ADV 12",
         true,
         {{field::BikeType, 0}, {field::BaseAdv, 12}}},
        {"a huge number is reduced, not overflowed",
         h + "BIKE 18446744073709551617",
         true,
         {{field::BikeType, 1}}},
        {"an overlong token is never a key",
         h + std::string(300, 'A') + "BIKE 3 BASE_ADV 11",
         true,
         {{field::BikeType, 0}, {field::BaseAdv, 11}}},
        {"a key after an overlong run of blanks and tabs",
         h + std::string(5000, ' ') + "\t\v\fBIKE 5",
         true,
         {{field::BikeType, 5}}},
        {"LF-only and one number per line read the same",
         h + "ADVANCE\n" +
             [] {
                 std::string s;
                 for (int i = 0; i < 100; ++i) s += std::to_string(i % 61) + "\n";
                 return s;
             }(),
         true,
         {{AdvanceIndex(0, 0), 0}, {AdvanceIndex(6, 0), 60}, {AdvanceIndex(9, 9), 99 % 61}}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceImage image = DefaultImage();
        const DeviceImage before = image;
        const ParameterFileResult r = Read(c.text, image);
        EXPECT_EQ(r.accepted, c.accepted);
        if (!c.accepted) {
            EXPECT_EQ(image, before);
        }
        for (const auto& [index, value] : c.expect) {
            EXPECT_EQ(image[index], value < 0 ? before[index] : value) << "image byte " << index;
        }
    }
}

TEST(ParameterFile, ExtendedMonitorIsReportedOnlyWhenPresent) {
    DeviceImage image = DefaultImage();
    EXPECT_FALSE(Read("MAVELTIK_KEY 15 BIKE 1", image).extendedMonitor.has_value());
    EXPECT_EQ(Read("MAVELTIK_KEY 15 EXT_MON 7", image).extendedMonitor, std::optional<bool>(true));
    EXPECT_EQ(Read("MAVELTIK_KEY 15 EXT_MON 65536", image).extendedMonitor,
              std::optional<bool>(false));
    EXPECT_FALSE(Read("EXT_MON 1 MAVELTIK_KEY 15", image).extendedMonitor.has_value());
}

TEST(ParameterFile, WrittenFileReadsBackTheSameWhateverTheLayout) {
    const DeviceImage source = DefaultImage();
    std::string text = ParameterFileText(source, false);
    std::string oneLine;
    for (char c : text) oneLine += (c == '\r' || c == '\n') ? ' ' : c;
    for (const std::string& variant : {text, oneLine}) {
        DeviceImage image;
        ASSERT_TRUE(Read(variant, image).accepted);
        for (std::size_t i = kParamImageBegin; i < field::ParamReserved; ++i) {
            if (i != field::ActTachoLambda) {
                EXPECT_EQ(image[i], source[i]) << i;
            }
        }
    }
}

struct IgnoredCase {
    const char* what;
    std::string body;  // after a header line, so the body starts on line 2
    std::vector<IgnoredEntry> expect;
};

IgnoredEntry NotANumber(int line, const char* key, const char* value) {
    IgnoredEntry e{line, key, IgnoredKind::NotANumber};
    e.value = value;
    return e;
}
IgnoredEntry DoesNotFit(int line, const char* key, const char* number, const char* readAs) {
    IgnoredEntry e{line, key, IgnoredKind::DoesNotFit};
    e.value = number;
    e.readAs = readAs;
    return e;
}
IgnoredEntry TooFew(int line, const char* key, int found, int expected) {
    IgnoredEntry e{line, key, IgnoredKind::TooFewNumbers};
    e.found = found;
    e.expected = expected;
    return e;
}

TEST(ParameterFile, WhatTheReaderSkipsIsListedWithLineKeyAndCause) {
    const IgnoredCase cases[] = {
        {"a clean file lists nothing", "BIKE 2\r\nBASE_ADV 12\r\nEXT_MON 1\r\n", {}},
        {"a signed number",
         "BIKE 2\r\nLIMITER1 +60\r\nLIMITER2 120",
         {NotANumber(3, "LIMITER1", "+60")}},
        {"hexadecimal", "LIMITER1 0x3C", {NotANumber(2, "LIMITER1", "0x3C")}},
        {"a decimal point", "\n\nLIMITER1 60.0 BIKE 1", {NotANumber(4, "LIMITER1", "60.0")}},
        {"a digit group separator, its rest not listed again",
         "TPS 700 2,500 99 BIKE 1",
         {NotANumber(2, "TPS", "2,500")}},
        {"a truncated file", "NAP_PRIV 2000 210", {TooFew(2, "NAP_PRIV", 2, 10)}},
        {"a key cut short by the next key", "RETARD 4\nBASE_ADV 30", {TooFew(2, "RETARD", 1, 4)}},
        {"EXT_MON without its number", "EXT_MON", {TooFew(2, "EXT_MON", 0, 1)}},
        {"EXT_MON with a word", "EXT_MON on", {NotANumber(2, "EXT_MON", "on")}},
        {"an unknown key and its numbers",
         "FOO 1\nBIKE 1",
         {{2, "FOO", IgnoredKind::UnknownKey}, {2, "1", IgnoredKind::StrayNumber}}},
        {"one number too many", "LIMITER1 60 61", {{2, "61", IgnoredKind::StrayNumber}}},
        {"keys are case-sensitive",
         "\r\nbike 1",
         {{3, "bike", IgnoredKind::UnknownKey}, {3, "1", IgnoredKind::StrayNumber}}},
        {"an overlong word is shown by its start",
         std::string(300, 'Z'),
         {{2, std::string(40, 'Z') + "...", IgnoredKind::UnknownKey}}},
        {"a broken value hides only the rest of its line",
         "TPS 0x3C 99\n98 BIKE 1",
         {NotANumber(2, "TPS", "0x3C"), {3, "98", IgnoredKind::StrayNumber}}},
        // Numbers a field cannot hold are read by the unit's rule and listed with the result.
        {"a byte that wraps", "LIMITER2 30000", {DoesNotFit(2, "LIMITER2", "30000", "48")}},
        {"a number beyond 32 bits",
         "LIMITER2 4294967416",
         {DoesNotFit(2, "LIMITER2", "4294967416", "120")}},
        {"beyond the scaled field", "CLUTCH 2560", {DoesNotFit(2, "CLUTCH", "2560", "0")}},
        {"the highest scaled value fits", "CLUTCH 2559 LED_RAZENI 25500", {}},
        {"below the offset of the throttle voltage",
         "TPS 700 2000",
         {DoesNotFit(2, "TPS", "2000", "4560")}},
        {"a flag beyond a byte", "RPM2 256", {DoesNotFit(2, "RPM2", "256", "0")}},
        {"a table value named by its own line",
         "RPM_ADV 1000 2000 3000\n4000 5000 6000 7000 8000 9000 25600",
         {DoesNotFit(3, "RPM_ADV", "25600", "0")}},
        {"EXT_MON beyond 16 bits", "EXT_MON 65536", {DoesNotFit(2, "EXT_MON", "65536", "0")}},
        {"several in file order",
         "LIMITER1 +1\nX\nNAP_PRIV 1",
         {NotANumber(2, "LIMITER1", "+1"),
          {3, "X", IgnoredKind::UnknownKey},
          TooFew(4, "NAP_PRIV", 1, 10)}},
    };
    for (const IgnoredCase& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceImage image = DefaultImage();
        DeviceImage plain = DefaultImage();
        const ParameterFileResult r = Read("MAVELTIK_KEY 15\r\n" + c.body, image);
        ASSERT_TRUE(r.accepted);
        EXPECT_EQ(r.ignored, c.expect);
        // The report changes nothing about what is read.
        std::string oneLine = c.body;
        for (char& ch : oneLine) ch = (ch == '\n' || ch == '\r') ? ' ' : ch;
        Read("MAVELTIK_KEY 15 " + oneLine, plain);
        EXPECT_EQ(image, plain);
    }
}

TEST(ParameterFile, EveryIgnoredKindHasItsWordsInEachLanguage) {
    const struct {
        IgnoredEntry entry;
        const char* czech;
        const char* english;
        const char* german;
    } cases[] = {
        {NotANumber(7, "LIMITER1", "+60"), "Řádek 7, LIMITER1: není číslo (+60)",
         "Line 7, LIMITER1: not a number (+60)", "Zeile 7, LIMITER1: keine Zahl (+60)"},
        {TooFew(44, "NAP_PRIV", 2, 10), "Řádek 44, NAP_PRIV: málo čísel (2 z 10)",
         "Line 44, NAP_PRIV: too few numbers (2 of 10)",
         "Zeile 44, NAP_PRIV: zu wenige Zahlen (2 von 10)"},
        {{3, "FOO", IgnoredKind::UnknownKey},
         "Řádek 3, FOO: neznámý klíč",
         "Line 3, FOO: unknown key",
         "Zeile 3, FOO: unbekannter Schlüssel"},
        {{5, "61", IgnoredKind::StrayNumber},
         "Řádek 5, 61: číslo bez klíče",
         "Line 5, 61: number without a key",
         "Zeile 5, 61: Zahl ohne Schlüssel"},
        {DoesNotFit(4, "LIMITER2", "30000", "48"),
         "Řádek 4, LIMITER2: 30000 se do pole nevejde, načteno jako 48",
         "Line 4, LIMITER2: 30000 does not fit the field, read as 48",
         "Zeile 4, LIMITER2: 30000 passt nicht in das Feld, gelesen als 48"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IgnoredEntryText(c.entry, 0), c.czech);
        EXPECT_EQ(IgnoredEntryText(c.entry, 1), c.english);
        EXPECT_EQ(IgnoredEntryText(c.entry, 2), c.german);
    }
}

// The key and place ParameterFileKeyOf names are the ones the reader fills the byte from.
TEST(ParameterFile, EveryKeyNamesTheByteItFills) {
    int named = 0;
    for (std::size_t i = kParamImageBegin; i < kImageSize; ++i) {
        const ParameterFileKey key = ParameterFileKeyOf(i);
        if (key.key == nullptr) continue;
        ++named;
        ASSERT_LT(key.index, key.count) << i;
        // Zeros everywhere but the named place: only that number may move the byte.
        const auto fileWith = [&](const char* number) {
            std::string text = std::string("MAVELTIK_KEY 15 ") + key.key;
            for (int k = 0; k < key.count; ++k)
                text += k == key.index ? std::string(" ") + number : " 0";
            return text;
        };
        DeviceImage zero = DefaultImage(), high = DefaultImage();
        Read(fileWith("0"), zero);
        Read(fileWith("2550"), high);
        for (std::size_t j = kParamImageBegin; j < kImageSize; ++j) {
            if (j == i) {
                EXPECT_NE(zero[j], high[j]) << key.key << " " << key.index;
            } else {
                EXPECT_EQ(zero[j], high[j]) << key.key << " " << key.index << " byte " << j;
            }
        }
    }
    EXPECT_EQ(named, 159);  // every number a written file holds, EXT_MON aside
    EXPECT_STREQ(ParameterFileKeyOf(field::BaseAdv).key, "BASE_ADV");
    EXPECT_EQ(ParameterFileKeyOf(field::Tps100).index, 1);
    EXPECT_EQ(ParameterFileKeyOf(field::ActTachoLambda).key, nullptr);
    EXPECT_EQ(ParameterFileKeyOf(0).key, nullptr);  // the identity page is the unit's
}

TEST(ParameterFile, AWrittenFileIsReadWithoutAnythingIgnored) {
    DeviceImage image;
    const ParameterFileResult r = Read(ParameterFileText(DefaultImage(), true), image);
    EXPECT_TRUE(r.accepted);
    EXPECT_TRUE(r.ignored.empty());
}

}  // namespace
}  // namespace korvan
