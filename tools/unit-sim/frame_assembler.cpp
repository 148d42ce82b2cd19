#include "unit-sim/frame_assembler.h"

#include <algorithm>

namespace korvan::sim {

bool IsRequestCommand(std::uint8_t command) {
    switch (command) {
        case kCmdProgramPage + 0:
        case kCmdProgramPage + 1:
        case kCmdProgramPage + 2:
        case kCmdMonitor:
        case kCmdReadPage + 0:
        case kCmdReadPage + 1:
        case kCmdReadPage + 2:
            return true;
        default:
            return false;
    }
}

std::vector<DeviceFrame> FrameAssembler::Feed(const std::uint8_t* data, std::size_t n,
                                              std::int64_t nowMs) {
    std::vector<DeviceFrame> frames;
    if (n == 0) return frames;
    if (!buffer_.empty() && nowMs - lastByteMs_ > kFrameSilenceMs) {
        skipped_ += buffer_.size();
        ++stale_;
        buffer_.clear();
    }
    lastByteMs_ = nowMs;
    buffer_.insert(buffer_.end(), data, data + n);

    std::size_t start = 0;
    while (buffer_.size() - start >= kFrameSize) {
        const std::uint8_t* window = buffer_.data() + start;
        if (IsRequestCommand(window[0]) && FrameCheckOk(window)) {
            DeviceFrame f;
            std::copy(window, window + kFrameSize, f.begin());
            frames.push_back(f);
            start += kFrameSize;
        } else {
            ++start;
            ++skipped_;
        }
    }
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start));
    return frames;
}

}  // namespace korvan::sim
