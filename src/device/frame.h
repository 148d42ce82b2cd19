// The 102-byte frame both sides of the serial line exchange: a command byte, one page of 100
// bytes (or zeros) and a check byte that makes the exclusive-or of all 102 bytes 0xFF.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "params/device_image.h"

namespace korvan {

constexpr std::size_t kFrameSize = 102;
constexpr std::size_t kFramePayloadOffset = 1;
constexpr std::size_t kFrameCheckOffset = 101;
constexpr std::uint8_t kFrameXorTotal = 0xFF;

using DeviceFrame = std::array<std::uint8_t, kFrameSize>;

// Command bytes. The low six bits carry the page, 0x40 marks a read request, and the unit
// answers with the request's command byte with bit 7 set.
constexpr std::uint8_t kCmdProgramPage = 0x00;  // + page
constexpr std::uint8_t kCmdMonitor = 0x30;
constexpr std::uint8_t kCmdReadPage = 0x40;  // + page
constexpr std::uint8_t kAnswerBit = 0x80;
constexpr std::uint8_t kMonitorAnswer = kCmdMonitor | kAnswerBit;  // 0xB0
constexpr std::uint8_t kPageMask = 0x3F;

// The check byte that completes bytes 0..100 of `frame`.
std::uint8_t FrameCheckByte(const std::uint8_t* frame);
// True when the exclusive-or of all 102 bytes is 0xFF.
bool FrameCheckOk(const std::uint8_t* frame);

// A frame with the command byte, the payload (100 bytes, or zeros when null) and its check byte.
DeviceFrame BuildFrame(std::uint8_t command, const std::uint8_t* payload);

}  // namespace korvan
