// What the unit holds: after a Read, Program or Verify that ended well the program knows the
// unit's parameters exactly; after one that failed it knows nothing, since a burn that broke
// off may have left any mix of old and new pages behind.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "params/device_image.h"

namespace korvan {

class UnitTracker {
  public:
    // A Read, Program or Verify succeeded: the unit holds the parameter pages of `image`.
    void RecordSuccess(const DeviceImage& image) { held_ = image; }
    // An operation with the unit failed or broke off.
    void RecordFailure() { held_.reset(); }

    bool Known() const { return held_.has_value(); }
    // Changes (cells, breakpoints, fields) between the unit and `current`; nothing while unknown.
    std::optional<int> ChangesSinceUnit(const DeviceImage& current) const;

  private:
    std::optional<DeviceImage> held_;
};

// The status bar text: "Not in the unit: N changes", "In the unit" for none, and "unknown"
// while the unit's state is not known.
std::string UnitStateText(std::optional<int> changes, std::uint8_t language);

}  // namespace korvan
