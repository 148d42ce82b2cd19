// korvan2-cli: the unit from a shell, on the window's link and tick, without a display.
#include <QCoreApplication>
#include <exception>
#include <iostream>

#include "cli/cli_app.h"
#include "cli/exit_codes.h"
#include "device/qt_serial_port.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    app.setApplicationName("Korvan2");
    try {
        korvan::QtSerialPort port;
        return korvan::cli::RunCli(argc, argv, std::cout, std::cerr, port);
    } catch (const std::exception& e) {
        std::cerr << "korvan2-cli: " << e.what() << '\n';
        return korvan::cli::kExitUsage;
    }
}
