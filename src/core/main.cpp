// Program entry: one window on the serial port, the message loop, exit code 0.
#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "device/qt_serial_port.h"
#include "ui/window/form_hlav.h"

namespace {

// Qt does not let exceptions pass through its event loop; one that escapes the window's
// creation is shown before the program ends.
void ShowException(const char* what) {
    QMessageBox::critical(nullptr, QApplication::applicationName(), QString::fromLocal8Bit(what));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName("Korvan2");
    try {
        korvan::QtSerialPort port;
        korvan::FormOptions options;
        options.arguments = app.arguments().mid(1);
        korvan::TFormHlav form(port, options);
        form.show();
        app.exec();
    } catch (const std::exception& e) {
        ShowException(e.what());
        return 1;
    }
    return 0;
}
