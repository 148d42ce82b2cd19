// A line whose far end hangs up is noticed in the tick that looks at it, on a real
// pseudo-terminal: by the handle check alone and through the QSerialPort adapter.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cstdlib>
#include <string>

#include "device/line_hangup.h"
#include "device/qt_serial_port.h"

namespace korvan::test {
namespace {

// A pseudo-terminal pair: the test holds the master end, as the simulated unit does.
class Pty {
  public:
    Pty() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
            slavePath = ::ptsname(master);
    }
    ~Pty() { HangUp(); }
    void HangUp() {
        if (master >= 0) ::close(master);
        master = -1;
    }
    int master = -1;
    std::string slavePath;
};

TEST(LineHangup, HandleCheckTellsLiveWaitingAndHungUpLines) {
    Pty pty;
    ASSERT_FALSE(pty.slavePath.empty());
    const int slave = ::open(pty.slavePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(slave, 0);
    // Raw, as a serial port is used: every byte is readable at once, not only whole lines.
    termios t{};
    ASSERT_EQ(::tcgetattr(slave, &t), 0);
    ::cfmakeraw(&t);
    ASSERT_EQ(::tcsetattr(slave, TCSANOW, &t), 0);
    EXPECT_EQ(CheckLine(slave), LineCondition::Live) << "nothing waiting";
    ASSERT_EQ(::write(pty.master, "x", 1), 1);
    ::usleep(20000);  // the kernel hands the byte to the slave's queue a moment later
    EXPECT_EQ(CheckLine(slave), LineCondition::Live) << "a byte waiting";
    // A hung-up terminal reports its end of file as readable too; it is hung up all the same.
    pty.HangUp();
    EXPECT_EQ(CheckLine(slave), LineCondition::HungUp) << "far end closed";
    ::close(slave);
    EXPECT_EQ(CheckLine(-1), LineCondition::Unknown);
}

TEST(LineHangup, AdapterClosesThePortInTheFirstPollAfterAHangup) {
    Pty pty;
    ASSERT_FALSE(pty.slavePath.empty());
    QtSerialPort port;
    ASSERT_TRUE(port.Open(pty.slavePath));
    EXPECT_EQ(port.BytesQueued(), 0);
    pty.HangUp();
    // No event loop runs in between: the poll itself must find the hang-up, not a later write.
    EXPECT_EQ(port.BytesQueued(), -1);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.LostCount(), 1);
}

}  // namespace
}  // namespace korvan::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
