// The program's copy of the ignition unit's parameter memory: 300 bytes in three pages.
// The layout is the unit's own; a page travels unchanged as the payload of a frame.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace korvan {

constexpr std::size_t kPageSize = 100;
constexpr std::size_t kPageCount = 3;
constexpr std::size_t kImageSize = kPageSize * kPageCount;

// Page numbers.
constexpr std::size_t kIdentityPageNumber = 0;
constexpr std::size_t kParamPageNumber = 1;
constexpr std::size_t kMapPageNumber = 2;

// The editable part of the image: pages 1 and 2.
constexpr std::size_t kParamImageBegin = kParamPageNumber * kPageSize;
constexpr std::size_t kParamImageSize = 2 * kPageSize;

// The only firmware format this program talks to, and the version of its .ign files.
constexpr std::uint8_t kFormatVersion = 15;

constexpr int kMapRows = 10;
constexpr int kMapColumns = 10;
constexpr int kAxisPoints = 10;

// Positions of the fields, as indexes into the whole 300-byte image.
namespace field {
// Identity page (page 0).
constexpr std::size_t VersionName = 0;  // 3 characters
constexpr std::size_t VersionNumber = 3;
constexpr std::size_t BuildDay = 4;
constexpr std::size_t BuildMonthCode = 5;
constexpr std::size_t BuildYear = 6;
constexpr std::size_t BuildHour = 7;
constexpr std::size_t BuildMinute = 8;
constexpr std::size_t ReadEnable = 9;
constexpr std::size_t FormatVersion = 10;
constexpr std::size_t BikeMask = 11;  // 3 bytes, bit t for bike type t
constexpr std::size_t VersionText = 16;
constexpr std::size_t VersionTextLength = 30;

// Parameter page (page 1).
constexpr std::size_t P = kParamPageNumber * kPageSize;
constexpr std::size_t BikeType = P + 0;
constexpr std::size_t NoReading = P + 1;
constexpr std::size_t Rpm2 = P + 2;
constexpr std::size_t Limiter1 = P + 3;
constexpr std::size_t Limiter2 = P + 4;
constexpr std::size_t Clutch = P + 5;
constexpr std::size_t LedRazeni = P + 6;
constexpr std::size_t BaseAdv = P + 7;
constexpr std::size_t Excitation = P + 8;
constexpr std::size_t PrivEnable = P + 9;
constexpr std::size_t PrivHyster = P + 10;
constexpr std::size_t ActBlok1 = P + 11;
constexpr std::size_t ActBlok2 = P + 12;
constexpr std::size_t ActClutch = P + 13;
constexpr std::size_t ActRpm = P + 14;
constexpr std::size_t ActN2o = P + 15;
constexpr std::size_t ActLim1 = P + 16;
constexpr std::size_t ActTachoLambda = P + 17;
constexpr std::size_t Tps0 = P + 18;
constexpr std::size_t Tps100 = P + 19;
constexpr std::size_t N2oEnable = P + 20;
constexpr std::size_t Gas1 = P + 21;
constexpr std::size_t Gas2 = P + 22;
constexpr std::size_t GasBuildUp = P + 23;
constexpr std::size_t GasDelay = P + 24;
constexpr std::size_t Retard1 = P + 25;
constexpr std::size_t Retard2 = P + 26;
constexpr std::size_t RetardBuildUp = P + 27;
constexpr std::size_t RetardDelay = P + 28;
constexpr std::size_t TpsMapa = P + 29;
constexpr std::size_t ParamReserved = P + 30;  // 40 bytes carried, never interpreted
constexpr std::size_t ParamReservedLength = 40;
constexpr std::size_t RpmAdv = P + 70;   // 10 breakpoints, hundreds of rpm
constexpr std::size_t RpmPriv = P + 80;  // 10 breakpoints, hundreds of rpm
constexpr std::size_t NapPriv = P + 90;  // 10 servo voltages, 20 mV

// Map page (page 2): Advance[row][column] at Advance + 10 * row + column.
constexpr std::size_t Advance = kMapPageNumber * kPageSize;
}  // namespace field

constexpr std::size_t AdvanceIndex(int row, int column) {
    return field::Advance + static_cast<std::size_t>(kMapColumns * row + column);
}

// The throttle openings (percent) of the ten map rows; fixed, not part of the image.
constexpr std::array<std::uint8_t, kMapRows> kTpsAxisPercent = {0,  2,  5,  10, 20,
                                                                30, 40, 60, 80, 100};

struct DeviceImage {
    std::array<std::uint8_t, kImageSize> bytes{};

    std::uint8_t& operator[](std::size_t i) { return bytes[i]; }
    std::uint8_t operator[](std::size_t i) const { return bytes[i]; }

    std::uint8_t* Page(std::size_t p) { return bytes.data() + p * kPageSize; }
    const std::uint8_t* Page(std::size_t p) const { return bytes.data() + p * kPageSize; }

    bool operator==(const DeviceImage& o) const { return bytes == o.bytes; }
    bool operator!=(const DeviceImage& o) const { return bytes != o.bytes; }
};

// Whether the unit with this identity page accepts bike type `bikeType`.
bool BikeTypeSupported(const DeviceImage& image, std::uint8_t bikeType);

// Appends one character of the unit's code page (Windows-1250) to a UTF-8 text.
void AppendWindows1250(std::string& utf8, std::uint8_t byte);

// The three identity texts shown beside the image, in UTF-8; empty until page 0 has been
// received.
struct IdentityTexts {
    std::string VersionString;
    std::string DateString;
    std::string TimeString;
};

IdentityTexts DecodeIdentity(const DeviceImage& image);

}  // namespace korvan
