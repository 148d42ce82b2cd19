// SerialPort on QSerialPort: the same code opens "COM1".."COM10" on Windows and a tty (or a
// pseudo-terminal) elsewhere.
#pragma once

#include <QObject>
#include <QSerialPort>

#include "device/serial_port.h"

namespace korvan {

class QtSerialPort : public QObject, public SerialPort {
    Q_OBJECT
  public:
    explicit QtSerialPort(QObject* parent = nullptr);
    ~QtSerialPort() override;

    bool Open(const std::string& name) override;
    void Close() override;
    bool IsOpen() const override;
    long BytesQueued() override;
    long Read(std::uint8_t* data, std::size_t max) override;
    bool Write(const std::uint8_t* data, std::size_t size) override;
    bool WaitUntilSent() override;
    PortOpenFailure OpenFailure() const override { return openFailure_; }

    // How often the port was closed because the line went away (cable pulled, unit gone).
    int LostCount() const { return lostCount_; }

  private:
    void OnError(QSerialPort::SerialPortError error);

    QSerialPort port_;
    // What had arrived when the line went away: the unit's last answer may be among it. Read
    // out after the loss, dropped by the next Open or Close.
    QByteArray received_;
    int lostCount_ = 0;
    PortOpenFailure openFailure_;
};

}  // namespace korvan
