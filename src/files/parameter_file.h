// The ".ign" parameter file: keyword text behind a "MAVELTIK_KEY 15" header.
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "params/device_image.h"

namespace korvan {

// Writes the whole file from the parameter pages and the "Extended Monitor" state, byte for
// byte in the fixed layout with CR LF line breaks. The stream must be binary.
void WriteParameterFile(std::ostream& out, const DeviceImage& image, bool extendedMonitor);
std::string ParameterFileText(const DeviceImage& image, bool extendedMonitor);

struct ParameterFileResult {
    bool accepted = false;               // a header with version 15 was found
    std::optional<bool> extendedMonitor;  // set when the file holds "EXT_MON"
};

// Scans the file and stores the values of every key met after the accepted header into
// `image`. Without an accepted header nothing is changed. Ranges are not checked: the caller
// normalises. A key followed by too few numbers, or by a token that is not a number, keeps
// the values it had for the fields whose number is missing.
ParameterFileResult ReadParameterFile(std::istream& in, DeviceImage& image);

}  // namespace korvan
