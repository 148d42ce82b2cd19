// Gathers the bytes that arrive on the unit's side of the line into request frames. Bytes
// come in pieces of any size; line noise must not shift every later frame, so a 102-byte
// window that is not a request is slid on by one byte until one is found, and a partial frame
// that stalls is dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/frame.h"

namespace korvan::sim {

// A partial frame older than this when the next byte arrives is dropped: the tool writes a
// frame in one piece, which takes about 18 ms on the wire.
constexpr std::int64_t kFrameSilenceMs = 50;

// The command bytes the unit knows.
bool IsRequestCommand(std::uint8_t command);

class FrameAssembler {
  public:
    // Adds `n` bytes that arrived at `nowMs` and returns the frames they complete, in order.
    // A window is taken as a frame when its check byte is right and its first byte is a known
    // request: the check alone passes one misaligned window of noise in 256.
    std::vector<DeviceFrame> Feed(const std::uint8_t* data, std::size_t n, std::int64_t nowMs);

    std::size_t Pending() const { return buffer_.size(); }
    // Bytes thrown away so far while looking for a frame, and partial frames dropped after
    // a silence.
    std::size_t SkippedBytes() const { return skipped_; }
    std::size_t StalePartials() const { return stale_; }

  private:
    std::vector<std::uint8_t> buffer_;
    std::int64_t lastByteMs_ = 0;
    std::size_t skipped_ = 0;
    std::size_t stale_ = 0;
};

}  // namespace korvan::sim
