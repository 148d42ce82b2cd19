// The state file: all 300 image bytes as decimal text, so a restart resumes with the
// parameters (and the unit's identity) that were in memory at exit.
#pragma once

#include <cstddef>
#include <istream>
#include <string>

#include "params/device_image.h"

namespace korvan {

// Name of the state file beside the settings file: an underscore and the settings file name.
constexpr const char* kStateFileName = "_Korvan2.ini";
constexpr std::size_t kStateFileSize = 1860;

// 30 lines of ten "%5u " numbers, each line ended by CR LF.
std::string StateFileText(const DeviceImage& image);

// Stores numbers one after another into image bytes 0, 1, 2 ... (low 8 bits each) until 300
// are stored, the input ends, or a token is not a number; the bytes not reached keep their
// values. Returns how many bytes were stored.
std::size_t ReadStateFile(std::istream& in, DeviceImage& image);

}  // namespace korvan
