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
        case 25: return " 1";
        case 13: return " 2";
        case 32: return " 3";
        case 35: return " 4";
        case 39: return " 5";
        case 45: return " 6";
        case 43: return " 7";
        case 29: return " 8";
        case 40: return " 9";
        case 38: return "10";
        case 51: return "11";
        case 12: return "12";
        default: return "00";
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

}  // namespace

IdentityTexts DecodeIdentity(const DeviceImage& image) {
    IdentityTexts t;
    for (std::size_t i = 0; i < 3; ++i) t.VersionString += static_cast<char>(image[field::VersionName + i]);
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
            t.VersionString += static_cast<char>(c);
        }
    }
    return t;
}

}  // namespace korvan
