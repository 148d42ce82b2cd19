// Where the window asks the user or the system something: message boxes, file dialogs, the
// port dialog, the printer and the desktop's opener. Every collaborator asks through this one
// object, so the seams of FormOptions (which tests answer) and the fixes for Qt's quirks live
// in one place.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "ui/window/form_options.h"

class QFileDialog;
class QImage;
class QMainWindow;
class QPrinter;
class QUrl;

namespace korvan {

class ParameterModel;
class PortDialog;

class Dialogs {
  public:
    // `window` is the parent of the boxes and gets the focus back after a dialog; the model
    // gives the language of the dialogs' own texts.
    Dialogs(QMainWindow& window, const ParameterModel& model, FormOptions options);

    const FormOptions& Options() const { return options_; }

    // A modal box with an OK button. Asked for from inside the window's tick, it opens once
    // the tick has returned: a timer does not fire again while its own slot runs, so a box
    // opened inside the tick would stop the tick until it is closed.
    void ShowMessage(const QString& text);
    void SetInTick(bool inTick) { inTick_ = inTick; }
    // A modal box offering `choices` (the last one closes it: "Close"); the index of the
    // button pressed, -1 when the box was closed otherwise. Asked only outside the tick (a
    // command of the user), so it can wait for the answer.
    int AskChoice(const QString& text, const QStringList& choices);
    // A question with a button saying `yesText` and a Cancel button; true when the button was
    // chosen. Asked only from commands, never from inside the tick.
    bool Ask(const QString& text, const QString& yesText);

    // Runs a file dialog prepared by the caller; the chosen path, empty when cancelled.
    // Nothing of the dialog stays on screen afterwards (its name completer's list neither), and
    // the window has the focus again.
    QString ChooseFile(QFileDialog& dialog);
    // The port dialog; true when accepted.
    bool RunPortDialog(PortDialog& dialog);

    // The printer to print on; null when the system has no default printer.
    std::unique_ptr<QPrinter> Printer();
    // A picture on one page of that printer; a box says why it could not be printed.
    void PrintPicture(const QImage& picture);
    void OpenUrl(const QUrl& url);
    // Where F1 looks for the manual.
    QStringList ManualFolders() const;

  private:
    QMainWindow& window_;
    const ParameterModel& model_;
    FormOptions options_;
    WindowSeams real_;  // answers nothing: the seams when none are given
    bool inTick_ = false;
};

}  // namespace korvan
