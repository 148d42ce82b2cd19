// The window the window benchmarks measure: English, a fake port, message boxes answered by
// nobody, the timer stopped (each benchmark ticks itself) and shown.
#pragma once

#include <QTest>
#include <QTimer>
#include <memory>

#include "tests/ui/window/callback_seams.h"
#include "tests/ui/window/fake_serial_port.h"
#include "ui/window/form_hlav.h"

namespace korvan::bench {

struct BenchWindow {
    BenchWindow() {
        FormOptions options;
        options.arguments = {"ENGLISH"};
        seams.messageBox = [](const QString&) {};
        options.seams = &seams;
        form = std::make_unique<TFormHlav>(port, options);
        form->Timer1()->stop();
        form->show();
        exposed = QTest::qWaitForWindowExposed(form.get());
    }

    testing::FakeSerialPort port;
    testing::CallbackSeams seams;  // outlives the window
    std::unique_ptr<TFormHlav> form;
    bool exposed = false;
};

}  // namespace korvan::bench
