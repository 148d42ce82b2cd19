#include "device/frame.h"

#include <algorithm>

namespace korvan {

std::uint8_t FrameCheckByte(const std::uint8_t* frame) {
    std::uint8_t x = 0;
    for (std::size_t i = 0; i < kFrameCheckOffset; ++i) x ^= frame[i];
    return static_cast<std::uint8_t>(~x);
}

bool FrameCheckOk(const std::uint8_t* frame) {
    std::uint8_t x = 0;
    for (std::size_t i = 0; i < kFrameSize; ++i) x ^= frame[i];
    return x == kFrameXorTotal;
}

DeviceFrame BuildFrame(std::uint8_t command, const std::uint8_t* payload) {
    DeviceFrame f{};
    f[0] = command;
    if (payload) std::copy(payload, payload + kPageSize, f.begin() + kFramePayloadOffset);
    f[kFrameCheckOffset] = FrameCheckByte(f.data());
    return f;
}

}  // namespace korvan
