#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "files/state_file.h"
#include "tests/ui/window/window_fixture.h"

namespace korvan::testing {

void WindowTest::WriteStateFile(const DeviceImage& image) {
    WriteFile(kStateFileName, QByteArray::fromStdString(StateFileText(image)));
}

}  // namespace korvan::testing

int main(int argc, char** argv) {
    // Before QApplication exists, so the tests and their listing need no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window keeps its settings under XDG_CONFIG_HOME: a folder of the test's own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
