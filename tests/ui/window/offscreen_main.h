// The main() of the window test programs: the offscreen platform, set before QApplication
// exists so the tests and their listing need no display, and a settings folder of their own
// (the window keeps its settings under XDG_CONFIG_HOME).
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

namespace korvan::testing {

inline int RunWindowTests(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    // Restore points go here, never into the user's own history.
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

}  // namespace korvan::testing
