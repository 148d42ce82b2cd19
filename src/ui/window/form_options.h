// What the window takes from outside: the program's arguments (without the program name) and
// the places where it asks the user or the system, which tests answer instead (WindowSeams).
#pragma once

#include <QStringList>
#include <memory>
#include <string>

class QFileDialog;
class QPrinter;
class QString;
class QUrl;

namespace korvan {

class PortDialog;
class PortLister;

// The places where the window asks the user or the system. Each method returns false when it
// does not answer: the real message box, dialog, printer or desktop opener is used then. This
// base answers nothing; tests derive from it.
class WindowSeams {
  public:
    virtual ~WindowSeams() = default;
    // A modal message.
    virtual bool AnswerMessage(const QString& text);
    // A modal message with a button for each of `choices`: `chosen` is the index of the button
    // pressed, -1 when the box was closed without one.
    virtual bool AnswerChoice(const QString& text, const QStringList& choices, int& chosen);
    // A question with one button for yes and a Cancel button: `yes` when it was chosen.
    virtual bool AnswerQuestion(const QString& text, bool& yes);
    // A file dialog: `chosen` is the path, empty when cancelled.
    virtual bool AnswerFileDialog(QFileDialog& dialog, QString& chosen);
    // The printer to print on; null for none.
    virtual bool ChoosePrinter(std::unique_ptr<QPrinter>& printer);
    // A document the desktop's program would open.
    virtual bool OpenUrl(const QUrl& url);
    // The serial port dialog: `accepted` when OK was pressed.
    virtual bool AnswerPortDialog(PortDialog& dialog, bool& accepted);
};

struct FormOptions {
    QStringList arguments;
    // Null: the real thing everywhere. Must outlive the window.
    WindowSeams* seams = nullptr;
    // The serial ports the system has now. Null: QSerialPortInfo's list.
    PortLister* portLister = nullptr;
    // Where the stable device names are. Empty: /dev/serial/by-id.
    std::string stableNameFolder;
    // Where F1 looks for the manual. Empty: the help window's own list (ManualFolders()).
    QStringList manualFolders;
};

}  // namespace korvan
