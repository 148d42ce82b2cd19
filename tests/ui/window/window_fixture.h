// A window on a fake serial line, with an empty settings folder, its tick stopped (tests
// drive it by hand) and its message boxes answered by recording their text.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrinter>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <memory>

#include "tests/ui/window/callback_seams.h"
#include "tests/ui/window/fake_serial_port.h"
#include "ui/window/form_hlav.h"
#include "ui/window/numeric_edit.h"

namespace korvan::testing {

class WindowTest : public ::testing::Test {
  public:
    void SetUp() override { QDir(TFormHlav::SettingsFolder()).removeRecursively(); }
    void TearDown() override {
        form.reset();
        QDir(TFormHlav::SettingsFolder()).removeRecursively();
    }

    TFormHlav& Open(const QStringList& arguments = {"ENGLISH"}) {
        FormOptions options;
        options.arguments = arguments;
        seams.messageBox = [this](const QString& text) {
            messages << text;
            windowShownAtMessage << (form != nullptr && form->isVisible());
        };
        seams.choice = [this](const QString& text, const QStringList& offered) {
            choices << text;
            return choose ? choose(offered) : -1;
        };
        seams.question = [this](const QString& text) {
            questions << text;
            return answerYes;
        };
        seams.fileDialog = [this](QFileDialog& dialog) {
            return fileDialog ? fileDialog(dialog) : QString();
        };
        seams.printer = [this]() { return printer ? printer() : std::unique_ptr<QPrinter>(); };
        seams.openUrl = [this](const QUrl& url) { openedUrls << url; };
        seams.portDialog = [this](PortDialog& dialog) {
            return portDialog ? portDialog(dialog) : false;
        };
        options.seams = &seams;
        options.portLister = &lister;
        options.stableNameFolder = stableNameFolder;
        options.manualFolders = manualFolders;
        form = std::make_unique<TFormHlav>(port, options);
        form->Timer1()->stop();
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }

    // Closes the window the way the user does (settings and state file written) and
    // destroys it.
    void CloseAndDestroy() {
        form->close();
        form.reset();
    }

    template <class T = QWidget>
    T* Find(const char* name) const {
        T* w = form->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    NumericEdit* Edit(const char* name) const { return Find<NumericEdit>(name); }
    std::uint8_t Byte(std::size_t index) const { return form->Image()[index]; }

    // Clicks into the field, replaces its text by typing, and leaves the typed text there.
    void TypeInto(const char* name, const QString& text) {
        NumericEdit* e = Edit(name);
        ShowPageOf(e);
        QTest::mouseClick(e->lineEdit(), Qt::LeftButton);
        e->lineEdit()->selectAll();
        QTest::keyClicks(e->lineEdit(), text);
    }
    void ShowPageOf(QWidget* w) {
        auto* pages = Find<QTabWidget>("PageControl1");
        for (int i = 0; i < pages->count(); ++i) {
            if (pages->widget(i)->isAncestorOf(w)) pages->setCurrentIndex(i);
        }
    }

    static void WriteFile(const QString& name, const QByteArray& content) {
        QDir().mkpath(TFormHlav::SettingsFolder());
        QFile f(TFormHlav::SettingsFolder() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    static QByteArray ReadFile(const QString& name) {
        QFile f(TFormHlav::SettingsFolder() + "/" + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // A state file holding `image`.
    static void WriteStateFile(const DeviceImage& image);

    FakeSerialPort port;
    FakePortLister lister;
    std::string stableNameFolder = "/nonexistent/by-id";
    // Answers the serial port dialog (true: OK); empty = cancel.
    std::function<bool(PortDialog&)> portDialog;
    QStringList messages;
    // The boxes that offered choices, and who picks one (the index; -1 = closed). Unset: closed.
    QStringList choices;
    std::function<int(const QStringList&)> choose;
    // For each message: whether the window was on the screen when it came.
    QList<bool> windowShownAtMessage;
    // The questions asked, and the answer every one gets (true: the yes button).
    QStringList questions;
    bool answerYes = false;
    // Answers the file dialogs (the chosen path; empty = cancel) and chooses the printer.
    std::function<QString(QFileDialog&)> fileDialog;
    std::function<std::unique_ptr<QPrinter>()> printer;
    QList<QUrl> openedUrls;
    // Where F1 looks for the manual; empty: the program's own places.
    QStringList manualFolders;
    CallbackSeams seams;
    std::unique_ptr<TFormHlav> form;
};

}  // namespace korvan::testing
