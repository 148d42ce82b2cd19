#include "params/defaults.h"

#include <algorithm>

namespace korvan {

const std::array<const char*, kBikeTypeCount> kBikeTypeNames = {
    "Yamaha R6", "Kawasaki ZX", "Suzuki GSX", "Yamaha R1", "Honda CBR", "1 triger, 2 chanels",
};

// clang-format off
const std::array<std::uint8_t, kMapRows * kMapColumns> kDefaultAdvanceMap = {
    4, 13, 16, 25, 28, 32, 33, 33, 33, 33,  //   0 %
    4, 16, 22, 31, 33, 35, 35, 35, 35, 35,  //   2 %
    4, 24, 35, 44, 45, 45, 43, 41, 41, 41,  //   5 %
    4, 19, 32, 39, 45, 47, 46, 43, 43, 43,  //  10 %
    4, 12, 15, 25, 31, 33, 32, 32, 32, 31,  //  20 %
    4, 12, 16, 25, 28, 30, 33, 32, 32, 32,  //  30 %
    4, 12, 16, 25, 28, 30, 33, 31, 33, 31,  //  40 %
    4, 12, 15, 25, 28, 30, 32, 32, 32, 32,  //  60 %
    4, 12, 15, 25, 28, 30, 32, 32, 32, 32,  //  80 %
    4, 12, 15, 25, 28, 30, 32, 32, 32, 32,  // 100 %
};
// clang-format on

namespace {
constexpr std::array<std::uint8_t, kAxisPoints> kDefaultRpmAdv = {10, 20, 30, 40, 50,
                                                                  60, 70, 80, 90, 100};
constexpr std::array<std::uint8_t, kAxisPoints> kDefaultRpmPriv = {12, 20,  30,  40,  60,
                                                                   80, 100, 120, 140, 160};
constexpr std::array<std::uint8_t, kAxisPoints> kDefaultNapPriv = {100, 105, 110, 115, 120,
                                                                   125, 130, 135, 140, 145};
}  // namespace

void DefaultBaseAdv(DeviceImage& image) {
    if (image[field::BikeType] < kBikeTypeCount) image[field::BaseAdv] = 10;
}

void SetDefaults(DeviceImage& image) {
    DefaultBaseAdv(image);
    image[field::Limiter1] = 50;
    image[field::Limiter2] = 110;
    image[field::Clutch] = 20;
    image[field::LedRazeni] = 90;
    image[field::Tps0] = 70;
    image[field::Tps100] = 129;
    image[field::TpsMapa] = 0;
    image[field::N2oEnable] = 1;
    image[field::Gas1] = 20;
    image[field::Gas2] = 60;
    image[field::GasDelay] = 20;
    image[field::GasBuildUp] = 30;
    image[field::Retard1] = 2;
    image[field::Retard2] = 6;
    image[field::RetardDelay] = 20;
    image[field::RetardBuildUp] = 30;
    image[field::PrivEnable] = 1;
    image[field::PrivHyster] = 40;
    image[field::NoReading] = 0;
    image[field::Excitation] = 0;
    image[field::Rpm2] = 0;
    for (std::size_t f : {field::ActLim1, field::ActClutch, field::ActBlok1, field::ActBlok2,
                          field::ActTachoLambda, field::ActN2o}) {
        image[f] = 1;
    }
    std::copy(kDefaultRpmAdv.begin(), kDefaultRpmAdv.end(), image.bytes.begin() + field::RpmAdv);
    std::copy(kDefaultRpmPriv.begin(), kDefaultRpmPriv.end(), image.bytes.begin() + field::RpmPriv);
    std::copy(kDefaultNapPriv.begin(), kDefaultNapPriv.end(), image.bytes.begin() + field::NapPriv);
    std::copy(kDefaultAdvanceMap.begin(), kDefaultAdvanceMap.end(),
              image.bytes.begin() + field::Advance);
}

DeviceImage DefaultImage() {
    DeviceImage image;
    SetDefaults(image);
    return image;
}

}  // namespace korvan
