// What the map tool tests share: an image with an uneven RPM axis and a map without pattern,
// and the check that an operation touched no byte outside its block.
#pragma once

#include <gtest/gtest.h>

#include <random>

#include "params/defaults.h"
#include "params/map_selection.h"

namespace korvan::test {

// RPM points spaced unevenly, so that an interpolation on the cell index instead of the real
// axis values shows.
constexpr std::array<std::uint8_t, kAxisPoints> kUnevenRpm = {8,  12, 18, 25, 33,
                                                              42, 55, 70, 90, 120};

// The default set with the throttle axis on, the uneven RPM points and map cells drawn from
// `seed` within 0..60.
inline DeviceImage MapTestImage(unsigned seed = 1) {
    DeviceImage image = DefaultImage();
    image[field::TpsMapa] = 1;
    for (int k = 0; k < kAxisPoints; ++k) image[field::RpmAdv + k] = kUnevenRpm[k];
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> degrees(0, 60);
    for (int i = 0; i < kMapRows * kMapColumns; ++i)
        image[field::Advance + i] = static_cast<std::uint8_t>(degrees(random));
    return image;
}

// Every byte outside `cells` is as before.
inline ::testing::AssertionResult OnlyWithin(const DeviceImage& before, const DeviceImage& after,
                                             const MapRect& cells) {
    for (std::size_t i = 0; i < kImageSize; ++i) {
        const bool inMap = i >= field::Advance && i < field::Advance + kMapRows * kMapColumns;
        const int cell = static_cast<int>(i - field::Advance);
        if (inMap && cells.Contains(cell / kMapColumns, cell % kMapColumns)) continue;
        if (before[i] != after[i])
            return ::testing::AssertionFailure() << "byte " << i << " changed outside the block";
    }
    return ::testing::AssertionSuccess();
}

inline int Cell(const DeviceImage& image, int row, int column) {
    return image[AdvanceIndex(row, column)];
}

}  // namespace korvan::test
