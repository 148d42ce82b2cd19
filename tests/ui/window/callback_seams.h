// Window seams answered by functions the test sets; an empty function leaves that seam to the
// real thing.
#pragma once

#include <QFileDialog>
#include <QPrinter>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

#include "ui/window/form_options.h"

namespace korvan::testing {

class CallbackSeams : public WindowSeams {
  public:
    bool AnswerMessage(const QString& text) override {
        if (!messageBox) return false;
        messageBox(text);
        return true;
    }
    bool AnswerChoice(const QString& text, const QStringList& choices, int& chosen) override {
        if (!choice) return false;
        chosen = choice(text, choices);
        return true;
    }
    bool AnswerQuestion(const QString& text, bool& yes) override {
        if (!question) return false;
        yes = question(text);
        return true;
    }
    bool AnswerFileDialog(QFileDialog& dialog, QString& chosen) override {
        if (!fileDialog) return false;
        chosen = fileDialog(dialog);
        return true;
    }
    bool ChoosePrinter(std::unique_ptr<QPrinter>& chosen) override {
        if (!printer) return false;
        chosen = printer();
        return true;
    }
    bool OpenUrl(const QUrl& url) override {
        if (!openUrl) return false;
        openUrl(url);
        return true;
    }
    bool AnswerPortDialog(PortDialog& dialog, bool& accepted) override {
        if (!portDialog) return false;
        accepted = portDialog(dialog);
        return true;
    }

    std::function<void(const QString& text)> messageBox;
    std::function<int(const QString& text, const QStringList& choices)> choice;
    std::function<bool(const QString& text)> question;  // true: the yes button
    std::function<QString(QFileDialog& dialog)> fileDialog;
    std::function<std::unique_ptr<QPrinter>()> printer;
    std::function<void(const QUrl& url)> openUrl;
    std::function<bool(PortDialog& dialog)> portDialog;
};

}  // namespace korvan::testing
