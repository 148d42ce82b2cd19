#include "ui/port/port_status_field.h"

#include "params/localized_text.h"

namespace korvan {

namespace {
const LocalizedText kConnected{"připojeno", "connected", "verbunden"};
const LocalizedText kNoAnswer{"bez odpovědi", "no answer", "keine Antwort"};
const LocalizedText kReconnecting{"obnovuji spojení", "reconnecting",
                                  "Verbindung wird wiederhergestellt"};
const LocalizedText kClosed{"zavřeno", "closed", "geschlossen"};
const LocalizedText kPaused{"spojení pozastaveno kvůli přehrávání", "link paused for the replay",
                            "Verbindung für die Wiedergabe angehalten"};

const LocalizedText& StateText(PortState state) {
    switch (state) {
        case PortState::Connected:
            return kConnected;
        case PortState::NoAnswer:
            return kNoAnswer;
        case PortState::Reconnecting:
            return kReconnecting;
        case PortState::Paused:
            return kPaused;
        case PortState::Closed:
            break;
    }
    return kClosed;
}
}  // namespace

PortStatusField::PortStatusField(QWidget* parent) : QLabel(parent) {
    setObjectName("PortStatusField");
    setText(Text(comPort_, device_, state_, language_));
}

QString PortStatusField::Text(int comPort, const std::string& device, PortState state,
                              std::uint8_t language) {
    const QString com = comPort > 0 ? "COM" + QString::number(comPort) : QString("COM-");
    return com + "  " + QString::fromStdString(device) + "  " +
           QString::fromUtf8(StateText(state).In(language));
}

void PortStatusField::Show(int comPort, const std::string& device, PortState state) {
    if (comPort == comPort_ && device == device_ && state == state_) return;
    comPort_ = comPort;
    device_ = device;
    state_ = state;
    setText(Text(comPort_, device_, state_, language_));
    setToolTip(QString::fromStdString(device_));
}

void PortStatusField::SetLanguage(std::uint8_t language) {
    language_ = language;
    setText(Text(comPort_, device_, state_, language_));
}

}  // namespace korvan
