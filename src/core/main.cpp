// Program entry: --help and --version answered without a window, a missing display said in one
// line, else one window on the serial port, the message loop, exit code 0.
#include <QApplication>
#include <QMessageBox>
#include <exception>
#include <iostream>

#include "device/qt_serial_port.h"
#include "files/ini_store.h"
#include "files/qt_settings_folder.h"
#include "files/settings.h"
#include "ui/window/form_hlav.h"
#include "ui/window/startup_check.h"

namespace {

// Qt does not let exceptions pass through its event loop; one that escapes the window's
// creation is shown before the program ends.
void ShowException(const char* what) {
    QMessageBox::critical(nullptr, QApplication::applicationName(), QString::fromLocal8Bit(what));
}

// The window's language as its settings keep it, for what is printed before a window exists.
std::optional<int> SavedLanguage() {
    korvan::IniStore store(korvan::SettingsFilePath());
    store.Load();
    return store.ReadInteger(korvan::kFormSection, "Language");
}

}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const korvan::EarlyAnswer early = korvan::EarlyAnswerOf(arguments);
    const std::uint8_t language = korvan::EarlyLanguage(arguments, SavedLanguage());
    if (early != korvan::EarlyAnswer::None) {
        std::cout << korvan::EarlyAnswerText(early, language) << std::flush;
        return std::cout ? 0 : 2;
    }
    // Checked before the toolkit starts: without a display it would only print its plugin
    // error and abort.
    if (const auto problem = korvan::DisplayProblem(korvan::SystemDisplayEnvironment(), language)) {
        std::cerr << *problem << std::endl;
        return 1;
    }

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
