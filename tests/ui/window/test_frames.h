// What the window tests feed the window with: a monitor frame at a given engine speed and
// throttle, and a log sink that keeps what is written in memory.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "device/frame.h"
#include "log/ride_log_writer.h"

namespace korvan::testing {

inline DeviceFrame Monitor(std::uint16_t rpm, std::uint8_t tpsPercent) {
    std::array<std::uint8_t, kPageSize> payload{};
    payload[0] = static_cast<std::uint8_t>(rpm & 0xFF);
    payload[1] = static_cast<std::uint8_t>(rpm >> 8);
    payload[28] = tpsPercent;
    return BuildFrame(kMonitorAnswer, payload.data());
}

class StringSink : public LogSink {
  public:
    bool Write(const char* data, std::size_t size) override {
        text.append(data, size);
        return true;
    }
    bool Flush() override { return true; }
    std::string Error() const override { return {}; }
    std::string text;
};

}  // namespace korvan::testing
