#include "params/device_image.h"

#include <gtest/gtest.h>

#include <cstring>

namespace korvan {
namespace {

DeviceImage IdentityImage(const char* name, int number, int day, int monthCode, int year, int hour,
                          int minute) {
    DeviceImage image;
    std::memcpy(image.Page(0), name, 3);
    image[field::VersionNumber] = static_cast<std::uint8_t>(number);
    image[field::BuildDay] = static_cast<std::uint8_t>(day);
    image[field::BuildMonthCode] = static_cast<std::uint8_t>(monthCode);
    image[field::BuildYear] = static_cast<std::uint8_t>(year);
    image[field::BuildHour] = static_cast<std::uint8_t>(hour);
    image[field::BuildMinute] = static_cast<std::uint8_t>(minute);
    return image;
}

TEST(DecodeIdentity, BuildsVersionDateAndTime) {
    struct Case {
        int number, day, monthCode, year, hour, minute;
        const char* version;
        const char* date;
        const char* time;
    } cases[] = {
        {7, 5, 25, 3, 9, 5, "ABC07", " 5. 1.2003", "09:05"},
        {42, 25, 51, 4, 18, 30, "ABC42", "25.11.2004", "18:30"},
        {0, 10, 12, 99, 0, 0, "ABC00", "10.12.2099", "00:00"},
        {5, 1, 77, 0, 23, 59, "ABC05", " 1.00.2000", "23:59"},  // unknown month code
    };
    for (const Case& c : cases) {
        const IdentityTexts t = DecodeIdentity(
            IdentityImage("ABC", c.number, c.day, c.monthCode, c.year, c.hour, c.minute));
        EXPECT_EQ(t.VersionString, c.version);
        EXPECT_EQ(t.DateString, c.date) << "month code " << c.monthCode;
        EXPECT_EQ(t.DateString.size(), 10u);
        EXPECT_EQ(t.TimeString, c.time);
    }
}

TEST(DecodeIdentity, EveryMonthCodeIsTheByteSumOfItsAbbreviation) {
    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int m = 0; m < 12; ++m) {
        const auto code = static_cast<std::uint8_t>(months[m][0] + months[m][1] + months[m][2]);
        const std::string date =
            DecodeIdentity(IdentityImage("ABC", 1, 15, code, 5, 0, 0)).DateString;
        const std::string expected = (m + 1 < 10 ? " " : "") + std::to_string(m + 1);
        EXPECT_EQ(date.substr(3, 2), expected) << months[m];
    }
}

TEST(DecodeIdentity, VersionTextReplacesNameOnlyWhenItsFirstByteIsSet) {
    DeviceImage image = IdentityImage("XYZ", 3, 1, 25, 1, 1, 1);
    image[field::VersionText + 1] = 'Q';  // later bytes alone do not count
    EXPECT_EQ(DecodeIdentity(image).VersionString, "XYZ03");

    const std::string text = "Custom build 2.1";
    std::memcpy(image.Page(0) + field::VersionText, text.data(), text.size());
    EXPECT_EQ(DecodeIdentity(image).VersionString, text);

    // A text without terminator stops after 30 characters.
    std::memset(image.Page(0) + field::VersionText, 'A', 40);
    EXPECT_EQ(DecodeIdentity(image).VersionString, std::string(30, 'A'));
}

TEST(DecodeIdentity, TextsAreInTheCentralEuropeanCodePage) {
    struct Case {
        const char* what;
        std::string bytes;  // the version text, NUL-terminated in the image
        const char* shown;  // UTF-8
    } cases[] = {
        {"plain ASCII stays", "Map 2", "Map 2"},
        {"S caron and c caron",
         "\x8A"
         "ance \xE8"
         "ern\xFD",
         "\u0160ance \u010dern\u00fd"},
        {"Czech letters", "\xF8\xED\xE8\xE1\xEC\xF9\xD8",
         "\u0159\u00ed\u010d\u00e1\u011b\u016f\u0158"},
        {"euro, z caron, L stroke", "\x80\x9E\xA3", "\u20ac\u017e\u0141"},
        {"ends of the upper half", "\xA0\xFF", "\u00a0\u02d9"},
        {"an unassigned code shows as a replacement",
         "a\x81"
         "b",
         "a\ufffd"
         "b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceImage image = IdentityImage("XYZ", 3, 1, 25, 1, 1, 1);
        std::memcpy(image.Page(0) + field::VersionText, c.bytes.data(), c.bytes.size());
        EXPECT_EQ(DecodeIdentity(image).VersionString, c.shown);
    }
    // The three-letter version name is decoded the same way.
    DeviceImage image = IdentityImage("\x8A\xE8Z", 3, 1, 25, 1, 1, 1);
    EXPECT_EQ(DecodeIdentity(image).VersionString, "\u0160\u010dZ03");
}

TEST(BikeMask, BitOfTheSelectedTypeDecides) {
    struct Case {
        std::uint8_t b11, b12, b13, type;
        bool supported;
    } cases[] = {
        {0x08, 0, 0, 3, true},          {0xF7, 0, 0, 3, false}, {0, 0x02, 0, 9, true},
        {0xFF, 0xFD, 0, 9, false},      {0, 0, 0x80, 23, true}, {0xFF, 0xFF, 0xFF, 24, false},
        {0xFF, 0xFF, 0xFF, 255, false}, {0x01, 0, 0, 0, true},
    };
    for (const Case& c : cases) {
        DeviceImage image;
        image[field::BikeMask] = c.b11;
        image[field::BikeMask + 1] = c.b12;
        image[field::BikeMask + 2] = c.b13;
        EXPECT_EQ(BikeTypeSupported(image, c.type), c.supported) << "type " << int(c.type);
    }
}

}  // namespace
}  // namespace korvan
