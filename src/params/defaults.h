// The factory parameter set, loaded at start-up, by File > New and on a change of bike type.
#pragma once

#include <array>
#include <cstdint>

#include "params/device_image.h"

namespace korvan {

// The six bike types of the bike type list, in item order; the list is the same in every
// language.
constexpr int kBikeTypeCount = 6;
extern const std::array<const char*, kBikeTypeCount> kBikeTypeNames;

// The default advance map in degrees, row 0 (0 % throttle) first.
extern const std::array<std::uint8_t, kMapRows * kMapColumns> kDefaultAdvanceMap;

// Sets BaseAdv to 10 for the six known bike types; any other type leaves it alone.
void DefaultBaseAdv(DeviceImage& image);

// An otherwise empty image (bike type 0, zero identity) holding the default set.
DeviceImage DefaultImage();

// Loads the default set into the parameter pages. BikeType, ActRpm, the reserved bytes and
// the identity page are left as they are.
void SetDefaults(DeviceImage& image);

}  // namespace korvan
