// One monitor frame as korvan2-cli prints it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "cli/commands.h"
#include "device/frame.h"

namespace korvan::cli {
namespace {

int Fields(const std::string& line) {
    int n = 1;
    for (std::size_t at = line.find(" | "); at != std::string::npos; at = line.find(" | ", at + 1))
        ++n;
    return n;
}

TEST(MonitorLine, TheColumnsReadOutsInItsOrderOnOneLine) {
    std::uint8_t payload[kPageSize] = {};
    payload[0] = 0x10;  // 10000 rpm, low byte first
    payload[1] = 0x27;
    payload[28] = 50;  // throttle percent
    payload[29] = 33;  // advance
    const DeviceFrame frame = BuildFrame(kMonitorAnswer, payload);
    const struct {
        bool extended;
        int fields;
        const char* start;
        bool counter;
    } cases[] = {
        {false, 12,
         "RPM = 10000 | TP= 50 [%] | LAMBDA = 0 [mV] | ADVANCE = 33 [°] | Servo desired=", false},
        {true, 21, "RPM = 10000 | TP= 50 [%]= 0 [mV] | LAMBDA = 0 [mV] | ADVANCE = 33 [°] |", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extended);
        const std::string line = MonitorLine(frame.data(), c.extended);
        EXPECT_EQ(line.rfind(c.start, 0), 0u) << line;
        EXPECT_EQ(Fields(line), c.fields) << line;
        EXPECT_EQ(line.find('\n'), std::string::npos);
        EXPECT_EQ(line.find("  |"), std::string::npos)
            << "no trailing blanks before a separator: " << line;
        EXPECT_EQ(line.find("Number of Programing= 0") != std::string::npos, c.counter) << line;
        EXPECT_NE(line.find("Activation N2O = OFF"), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace korvan::cli
