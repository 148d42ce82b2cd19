#include "params/device_image.h"

namespace korvan {

bool BikeTypeSupported(const DeviceImage& image, std::uint8_t bikeType) {
    if (bikeType >= 24) return false;
    const std::uint8_t maskByte = image[field::BikeMask + bikeType / 8];
    return (maskByte >> (bikeType % 8)) & 1;
}

namespace {

// The firmware stores its build month as the low byte of the sum of the character codes of
// the English month abbreviation ("Jan" = 0x4A + 0x61 + 0x6E = 0x119 -> 25).
const char* MonthText(std::uint8_t code) {
    switch (code) {
        case 25:
            return " 1";
        case 13:
            return " 2";
        case 32:
            return " 3";
        case 35:
            return " 4";
        case 39:
            return " 5";
        case 45:
            return " 6";
        case 43:
            return " 7";
        case 29:
            return " 8";
        case 40:
            return " 9";
        case 38:
            return "10";
        case 51:
            return "11";
        case 12:
            return "12";
        default:
            return "00";
    }
}

// Two decimal digits of a byte; like the firmware's own display, values above 99 keep only
// their last two digits.
std::string TwoDigits(std::uint8_t v) {
    std::string s(2, '0');
    s[0] = static_cast<char>('0' + (v / 10) % 10);
    s[1] = static_cast<char>('0' + v % 10);
    return s;
}

// The unit's texts are in the Central European Windows code page; the upper half of it, as
// Unicode code points. The five codes the code page leaves unassigned show as U+FFFD.
constexpr char16_t kWindows1250Upper[128] = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0xFFFD, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0xFFFD, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

void AppendWindows1250(std::string& utf8, std::uint8_t byte) {
    constexpr std::uint8_t kUpperHalf = 0x80;
    AppendUtf8(utf8,
               byte < kUpperHalf ? char32_t{byte} : char32_t{kWindows1250Upper[byte - kUpperHalf]});
}

IdentityTexts DecodeIdentity(const DeviceImage& image) {
    IdentityTexts t;
    for (std::size_t i = 0; i < 3; ++i)
        AppendWindows1250(t.VersionString, image[field::VersionName + i]);
    t.VersionString += TwoDigits(image[field::VersionNumber]);

    const std::uint8_t day = image[field::BuildDay];
    t.DateString = day < 10 ? std::string(" ") + static_cast<char>('0' + day) : TwoDigits(day);
    t.DateString += ".";
    t.DateString += MonthText(image[field::BuildMonthCode]);
    t.DateString += ".20";
    t.DateString += TwoDigits(image[field::BuildYear]);

    t.TimeString = TwoDigits(image[field::BuildHour]) + ":" + TwoDigits(image[field::BuildMinute]);

    if (image[field::VersionText] != 0) {
        t.VersionString.clear();
        for (std::size_t i = 0; i < field::VersionTextLength; ++i) {
            const std::uint8_t c = image[field::VersionText + i];
            if (c == 0) break;
            AppendWindows1250(t.VersionString, c);
        }
    }
    return t;
}

}  // namespace korvan
