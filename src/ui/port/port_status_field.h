// The status bar's permanent field for the serial line: "COM n  device  state".
#pragma once

#include <QLabel>
#include <cstdint>
#include <string>

#include "device/port_reconnect.h"

namespace korvan {

class PortStatusField : public QLabel {
    Q_OBJECT
  public:
    explicit PortStatusField(QWidget* parent = nullptr);

    // Called from the tick; the label is only touched when something changed.
    void Show(int comPort, const std::string& device, PortState state);
    void SetLanguage(std::uint8_t language);

    static QString Text(int comPort, const std::string& device, PortState state,
                        std::uint8_t language);

  private:
    int comPort_ = 0;
    std::string device_;
    PortState state_ = PortState::Closed;
    std::uint8_t language_ = 1;
};

}  // namespace korvan
