// What the window takes from outside: the program's arguments (without the program name) and
// the seams where it asks the user or the system, so that tests can answer them. An empty
// function means the real thing (a QMessageBox, the dialog's own exec(), the default printer,
// the desktop's opener).
#pragma once

#include <QStringList>
#include <functional>
#include <memory>
#include <string>

class QFileDialog;
class QPrinter;
class QString;
class QUrl;

namespace korvan {

class PortDialog;
class PortLister;

struct FormOptions {
    QStringList arguments;
    // Shows a modal message. Empty: a QMessageBox with an OK button.
    std::function<void(const QString& text)> messageBox;
    // Runs a file dialog and returns the chosen path, empty when cancelled. Empty: the
    // dialog's own exec().
    std::function<QString(QFileDialog& dialog)> fileDialog;
    // The printer to print on. Empty: the system's default printer (none when there is none).
    std::function<std::unique_ptr<QPrinter>()> printer;
    // Opens a document with the desktop's program. Empty: QDesktopServices::openUrl.
    std::function<bool(const QUrl& url)> openUrl;
    // The serial ports the system has now. Null: QSerialPortInfo's list.
    PortLister* portLister = nullptr;
    // Where the stable device names are. Empty: /dev/serial/by-id.
    std::string stableNameFolder;
    // Runs the serial port dialog; true when accepted. Empty: the dialog's own exec().
    std::function<bool(PortDialog& dialog)> portDialog;
    // Where F1 looks for the manual. Empty: the help window's own list (ManualFolders()).
    QStringList manualFolders;
};

}  // namespace korvan
