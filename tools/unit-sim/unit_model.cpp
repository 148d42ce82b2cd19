#include "unit-sim/unit_model.h"

#include <algorithm>

#include "unit-sim/frame_assembler.h"

namespace korvan::sim {

const char* FateName(RequestFate fate) {
    switch (fate) {
        case RequestFate::Answered:
            return "answered";
        case RequestFate::Corrupted:
            return "answered with a wrong check byte";
        case RequestFate::Dropped:
            return "dropped";
        case RequestFate::BadCheck:
            return "ignored: bad check byte";
        case RequestFate::Unknown:
            return "ignored: unknown command";
    }
    return "?";
}

UnitModel::UnitModel(const DeviceImage& pages, const UnitConfig& config)
    : pages_(pages),
      dropEvery_(config.dropEvery),
      corruptEvery_(config.corruptEvery),
      driftMap_(config.driftMap),
      engine_(EngineHold{config.rpm, config.tpsPercent, config.tpsMv}) {}

std::optional<DeviceFrame> UnitModel::Answer(const DeviceFrame& request, std::int64_t nowMs) {
    if (!FrameCheckOk(request.data())) {
        lastFate_ = RequestFate::BadCheck;
        ++ignored_;
        return std::nullopt;
    }
    const std::uint8_t command = request[0];
    if (!IsRequestCommand(command)) {
        lastFate_ = RequestFate::Unknown;
        ++ignored_;
        return std::nullopt;
    }
    // A dropped request is lost on the line before the unit sees it: nothing is stored.
    ++requests_;
    if (dropEvery_ && requests_ % dropEvery_ == 0) {
        lastFate_ = RequestFate::Dropped;
        return std::nullopt;
    }

    DeviceFrame answer;
    const std::size_t page = command & kPageMask;
    if (command == kCmdMonitor) {
        answer = MonitorAnswer(nowMs);
    } else if ((command & kCmdReadPage) == 0 && page != kIdentityPageNumber) {
        // Programming a page: store it and echo what is now held. The identity page is the
        // unit's own; the tool's copy that comes with request 0x00 is not taken.
        std::copy_n(request.begin() + kFramePayloadOffset, kPageSize, pages_.Page(page));
        if (page == kParamPageNumber) {
            ++paramPrograms_;
            // Parameters that forbid reading shut reading off for good.
            if (pages_[field::NoReading] != 0) pages_[field::ReadEnable] = 0;
        } else {
            ++mapPrograms_;
        }
        answer = BuildFrame(command | kAnswerBit, pages_.Page(page));
    } else {
        // 0x00 and the reads answer with the page held; a verify's payload is not looked at.
        answer = BuildFrame(command | kAnswerBit, pages_.Page(page));
        // A failing memory: what was just read is no longer what the unit holds.
        if (driftMap_ && page == kMapPageNumber) ++pages_[field::Advance];
    }

    ++answers_;
    lastFate_ = RequestFate::Answered;
    if (corruptEvery_ && answers_ % corruptEvery_ == 0) {
        answer[kFrameCheckOffset] ^= 0xFF;
        lastFate_ = RequestFate::Corrupted;
    }
    return answer;
}

DeviceFrame UnitModel::MonitorAnswer(std::int64_t nowMs) const {
    const EngineState state = engine_.At(nowMs, pages_);
    const auto word = [](std::uint64_t v) { return static_cast<std::uint16_t>(v & 0xFFFF); };
    const std::array<std::uint16_t, 8> diagnostics = {
        word(requests_),
        word(answers_),
        word(ignored_),
        word(paramPrograms_),
        word(static_cast<std::uint64_t>(std::max<std::int64_t>(nowMs, 0) / 1000)),
        RawFromMillivolts(state.tpsMv),
        RawFromMillivolts(state.lambdaMv),
        word(static_cast<unsigned>(state.mapRow * 10 + state.mapColumn)),
    };
    return MonitorFrame(state, mapPrograms_, diagnostics);
}

}  // namespace korvan::sim
