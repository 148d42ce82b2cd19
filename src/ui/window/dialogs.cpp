#include "ui/window/dialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include "params/language_tables.h"
#include "ui/help/help_window.h"
#include "ui/port/port_dialog.h"
#include "ui/printing/window_print.h"
#include "ui/window/parameter_model.h"

namespace korvan {

bool WindowSeams::AnswerMessage(const QString&) {
    return false;
}
bool WindowSeams::AnswerChoice(const QString&, const QStringList&, int&) {
    return false;
}
bool WindowSeams::AnswerQuestion(const QString&, bool&) {
    return false;
}
bool WindowSeams::AnswerFileDialog(QFileDialog&, QString&) {
    return false;
}
bool WindowSeams::ChoosePrinter(std::unique_ptr<QPrinter>&) {
    return false;
}
bool WindowSeams::OpenUrl(const QUrl&) {
    return false;
}
bool WindowSeams::AnswerPortDialog(PortDialog&, bool&) {
    return false;
}

Dialogs::Dialogs(QMainWindow& window, const ParameterModel& model, FormOptions options)
    : window_(window), model_(model), options_(std::move(options)) {
    if (options_.seams == nullptr) options_.seams = &real_;
}

void Dialogs::ShowMessage(const QString& text) {
    if (options_.seams->AnswerMessage(text)) return;
    // Anywhere but in the tick the box opens at once, so a box from the exit save is still
    // seen before the program ends.
    if (!inTick_) {
        QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                        &window_);
        box.exec();
        return;
    }
    QPointer<QMainWindow> window(&window_);
    QTimer::singleShot(0, &window_, [window, text] {
        if (window.isNull()) return;
        QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                        window.data());
        box.exec();
    });
}

int Dialogs::AskChoice(const QString& text, const QStringList& choices) {
    int chosen = -1;
    if (options_.seams->AnswerChoice(text, choices, chosen)) return chosen;
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text,
                    QMessageBox::NoButton, &window_);
    QList<QAbstractButton*> buttons;
    for (int i = 0; i < choices.size(); ++i) {
        // The last choice closes the box, so Escape and the title bar's cross mean it too.
        const auto role =
            i + 1 == choices.size() ? QMessageBox::RejectRole : QMessageBox::AcceptRole;
        buttons.append(box.addButton(choices[i], role));
    }
    if (!buttons.isEmpty()) box.setEscapeButton(buttons.back());
    box.exec();
    return static_cast<int>(buttons.indexOf(box.clickedButton()));
}

bool Dialogs::Ask(const QString& text, const QString& yesText) {
    bool yes = false;
    if (options_.seams->AnswerQuestion(text, yes)) return yes;
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text,
                    QMessageBox::Cancel, &window_);
    QPushButton* button = box.addButton(yesText, QMessageBox::AcceptRole);
    box.setDefaultButton(button);
    box.exec();
    return box.clickedButton() == button;
}

QString Dialogs::ChooseFile(QFileDialog& dialog) {
    QString chosen;
    if (!options_.seams->AnswerFileDialog(dialog, chosen) && dialog.exec() == QDialog::Accepted &&
        !dialog.selectedFiles().isEmpty()) {
        chosen = dialog.selectedFiles().first();
    }
    // Nothing of the dialog may stay on screen and take the keyboard. The file name completer
    // reopens its list by itself when the folder it was completing in finishes loading, even
    // after the dialog has closed; without a prefix it has nothing to reopen.
    dialog.hide();
    for (QCompleter* completer : dialog.findChildren<QCompleter*>()) {
        completer->setCompletionPrefix(QString());
        completer->popup()->hide();
    }
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    // Without a window manager the focus would fall to the desktop after the dialog.
    window_.activateWindow();
    return chosen;
}

bool Dialogs::RunPortDialog(PortDialog& dialog) {
    bool accepted = false;
    if (options_.seams->AnswerPortDialog(dialog, accepted)) return accepted;
    return dialog.exec() == QDialog::Accepted;
}

std::unique_ptr<QPrinter> Dialogs::Printer() {
    std::unique_ptr<QPrinter> chosen;
    if (options_.seams->ChoosePrinter(chosen)) return chosen;
    // Without any printer QPrinter silently becomes a PDF printer without a file.
    if (!DefaultPrinterAvailable()) return nullptr;
    return std::make_unique<QPrinter>(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
}

void Dialogs::PrintPicture(const QImage& picture) {
    QString error;
    std::unique_ptr<QPrinter> printer = Printer();
    if (!printer) {
        ShowMessage(QString::fromUtf8(kNoPrinterMessage.In(model_.Language())));
    } else if (!PrintImageOnePage(*printer, picture, &error)) {
        ShowMessage(error);
    }
}

void Dialogs::OpenUrl(const QUrl& url) {
    if (!options_.seams->OpenUrl(url)) QDesktopServices::openUrl(url);
}

QStringList Dialogs::ManualFolders() const {
    return options_.manualFolders.isEmpty() ? korvan::ManualFolders() : options_.manualFolders;
}

}  // namespace korvan
