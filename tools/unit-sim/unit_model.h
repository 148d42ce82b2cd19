// The simulated ignition unit: the three pages it holds, the answers it gives, and the engine
// it reports on. No I/O and no clock of its own; the caller hands in each request with the
// time it arrived.
#pragma once

#include <cstdint>
#include <optional>

#include "device/frame.h"
#include "params/device_image.h"
#include "unit-sim/command_line.h"
#include "unit-sim/engine_sim.h"

namespace korvan::sim {

// What became of one request, for the log.
enum class RequestFate {
    Answered,
    Corrupted,  // answered with a wrong check byte on purpose
    Dropped,    // lost on purpose (--drop-every)
    BadCheck,   // the request's own check byte is wrong
    Unknown,    // a command the unit does not know
};

const char* FateName(RequestFate fate);

class UnitModel {
  public:
    UnitModel(const DeviceImage& pages, const UnitConfig& config);

    // The answer to `request`, which arrived `nowMs` after start, or none.
    std::optional<DeviceFrame> Answer(const DeviceFrame& request, std::int64_t nowMs);

    const DeviceImage& Pages() const { return pages_; }
    RequestFate LastFate() const { return lastFate_; }
    // Valid requests and the answers they got, counted from start (drops and corruption count
    // on these).
    std::uint32_t Requests() const { return requests_; }
    std::uint32_t Answers() const { return answers_; }
    std::uint16_t MapProgramCount() const { return mapPrograms_; }

  private:
    DeviceFrame MonitorAnswer(std::int64_t nowMs) const;

    DeviceImage pages_;
    unsigned dropEvery_;
    unsigned corruptEvery_;
    bool driftMap_;
    EngineSim engine_;
    RequestFate lastFate_ = RequestFate::Answered;
    std::uint32_t requests_ = 0;
    std::uint32_t answers_ = 0;
    std::uint32_t ignored_ = 0;
    std::uint16_t paramPrograms_ = 0;
    std::uint16_t mapPrograms_ = 0;
};

}  // namespace korvan::sim
