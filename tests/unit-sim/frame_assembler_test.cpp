#include "unit-sim/frame_assembler.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvan::sim {
namespace {

std::vector<std::uint8_t> Bytes(const DeviceFrame& f) {
    return {f.begin(), f.end()};
}

DeviceFrame Request(std::uint8_t command, std::uint8_t fill = 0) {
    std::uint8_t payload[kPageSize];
    for (std::size_t i = 0; i < kPageSize; ++i) payload[i] = static_cast<std::uint8_t>(fill + i);
    return BuildFrame(command, payload);
}

TEST(FrameAssembler, ReassemblesFramesWhateverThePieces) {
    const DeviceFrame a = Request(0x41, 7);
    const DeviceFrame b = Request(0x30);
    std::vector<std::uint8_t> stream = Bytes(a);
    const auto bb = Bytes(b);
    stream.insert(stream.end(), bb.begin(), bb.end());

    for (std::size_t piece : {1u, 2u, 50u, 101u, 102u, 103u, 204u}) {
        SCOPED_TRACE(piece);
        FrameAssembler assembler;
        std::vector<DeviceFrame> got;
        for (std::size_t at = 0; at < stream.size(); at += piece) {
            const std::size_t n = std::min(piece, stream.size() - at);
            for (const auto& f : assembler.Feed(stream.data() + at, n, 0)) got.push_back(f);
        }
        ASSERT_EQ(got.size(), 2u);
        EXPECT_EQ(got[0], a);
        EXPECT_EQ(got[1], b);
        EXPECT_EQ(assembler.Pending(), 0u);
        EXPECT_EQ(assembler.SkippedBytes(), 0u);
    }
}

TEST(FrameAssembler, FindsFramesAfterNoiseAndBadFrames) {
    const DeviceFrame good = Request(0x42, 3);
    DeviceFrame badCheck = Request(0x41, 9);
    badCheck[kFrameCheckOffset] ^= 0x01;
    // Right check byte but a command the unit does not know: not a request.
    const DeviceFrame unknown = Request(0x55);

    struct Case {
        const char* name;
        std::vector<std::uint8_t> before;
    } cases[] = {
        {"one noise byte", {0x13}},
        {"noise that looks like commands", {0x41, 0x00, 0x30, 0xFF, 0x42}},
        {"a frame with a wrong check byte", Bytes(badCheck)},
        {"a frame with an unknown command", Bytes(unknown)},
        {"half a frame", std::vector<std::uint8_t>(good.begin(), good.begin() + 51)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FrameAssembler assembler;
        std::vector<std::uint8_t> stream = c.before;
        const auto g = Bytes(good);
        stream.insert(stream.end(), g.begin(), g.end());
        stream.insert(stream.end(), g.begin(), g.end());  // and the next frame still lines up
        const auto frames = assembler.Feed(stream.data(), stream.size(), 0);
        ASSERT_EQ(frames.size(), 2u);
        EXPECT_EQ(frames[0], good);
        EXPECT_EQ(frames[1], good);
        EXPECT_EQ(assembler.SkippedBytes(), c.before.size());
    }
}

TEST(FrameAssembler, DropsAPartialFrameAfterSilence) {
    const DeviceFrame f = Request(0x01, 5);
    // Two stale bytes made so that they and the first 100 bytes of `f` pass as a monitor
    // request: taken together, that false frame would swallow the real one.
    std::uint8_t x = kFrameXorTotal ^ kCmdMonitor;
    for (std::size_t i = 0; i < kFrameSize - 2; ++i) x ^= f[i];
    const std::uint8_t stale[] = {kCmdMonitor, x};

    struct Case {
        std::int64_t gapMs;
        bool realFrameFound;
    } cases[] = {{kFrameSilenceMs + 1, true}, {200, true}, {kFrameSilenceMs, false}, {5, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gapMs);
        FrameAssembler assembler;
        EXPECT_TRUE(assembler.Feed(stale, sizeof stale, 1000).empty());
        const auto frames = assembler.Feed(f.data(), f.size(), 1000 + c.gapMs);
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(frames[0] == f, c.realFrameFound);
        EXPECT_EQ(assembler.StalePartials(), c.realFrameFound ? 1u : 0u);
    }
}

}  // namespace
}  // namespace korvan::sim
