// Construction, start-up, shutdown, the tick and the device commands of the main window.
#include "ui/window/form_hlav.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "params/binding.h"
#include "params/defaults.h"
#include "ui/window/numeric_edit.h"

namespace korvan {

TFormHlav::TFormHlav(SerialPort& port, FormOptions options, QWidget* parent)
    : QMainWindow(parent),
      port_(port),
      options_(std::move(options)),
      store_(SettingsFilePath().toStdString()) {
    link_ = std::make_unique<DeviceLink>(image_, port_, *this);
    BuildWindow();

    timer1_ = new QTimer(this);
    timer1_->setObjectName("Timer1");
    timer1_->setInterval(kTickMs);
    // The coarse timer wanders by several milliseconds; the link counts time in ticks.
    timer1_->setTimerType(Qt::PreciseTimer);
    connect(timer1_, &QTimer::timeout, this, &TFormHlav::Timer1Timer);

    FormCreate();
    ConnectEditingTools();
    ConnectFileCommands();
    timer1_->start();
}

TFormHlav::~TFormHlav() {
    // A focused field reports leaving while the window is torn down; nothing may commit then.
    destroying_ = true;
    timer1_->stop();
    qApp->removeEventFilter(this);
    for (NumericEdit* edit : numericEdits_) edit->disconnect(this);
}

void TFormHlav::FormCreate() {
    BuildControlTables();
    // HintToStatusBar: the long hint of the control under the pointer goes to the status bar.
    qApp->installEventFilter(this);
    image_[field::BikeType] = 0;
    comPortNumber_ = 1;
    SetDefaults(image_);
    CentreOnScreen();
    LoadSettings();

    if (!options_.arguments.isEmpty()) {
        const QString& first = options_.arguments.first();
        if (first == "ENGLISH") {
            languageIndex_ = kLanguageEnglish;
        } else if (first == "CESKY") {
            languageIndex_ = kLanguageCzech;
        } else if (first == "DEUTSCH") {
            languageIndex_ = kLanguageGerman;
        }
    }

    NormalizeImage(image_, languageIndex_, comPortNumber_);
    ImageToControls();
    OpenComPort();
    SetComChecks();
    ApplyLanguage(languageIndex_);
    SetMessageVisible(false);
    SetGaugeVisible(false);
    created_ = true;
}

void TFormHlav::CentreOnScreen() {
    const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (s == nullptr) return;
    const QRect area = s->geometry();
    const QSize size = frameGeometry().size();
    // On a screen smaller than the window the title bar must stay reachable.
    move(area.x() + std::max(0, (area.width() - size.width()) / 2),
         area.y() + std::max(0, (area.height() - size.height()) / 2));
}

void TFormHlav::FormClose() {
    link_->CloseComPort();
    ControlsToImage();
    NormalizeImage(image_, languageIndex_, comPortNumber_);
    SaveSettings();
}

void TFormHlav::closeEvent(QCloseEvent* event) {
    FormClose();
    closed_ = true;
    event->accept();
}

void TFormHlav::ShowMessageBox(const QString& text) {
    if (options_.messageBox) {
        options_.messageBox(text);
        return;
    }
    // A modal box runs its own event loop: the tick goes on while it is open.
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok, this);
    box.exec();
}

void TFormHlav::Timer1Timer() {
    link_->Tick();
    UpdateMapCursor();
}

void TFormHlav::MenuReadClick() {
    labelFile2_->clear();
    link_->StartRead();
}

void TFormHlav::MenuVerifyClick() {
    ControlsToImage();
    NormalizeImage(image_, languageIndex_, comPortNumber_);
    ImageToControls();
    link_->StartVerify();
}

void TFormHlav::MenuProgramClick() {
    ControlsToImage();
    NormalizeImage(image_, languageIndex_, comPortNumber_);
    ImageToControls();
    link_->StartProgram();
}

void TFormHlav::MenuExitClick() { close(); }

}  // namespace korvan
