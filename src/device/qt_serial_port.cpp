#include "device/qt_serial_port.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "device/line_hangup.h"

#ifndef _WIN32
#include <termios.h>
#include <unistd.h>
#endif

namespace korvan {

namespace {
// Handing a page to the driver never takes long; a stuck driver must not freeze the window.
constexpr int kWriteTimeoutMs = 200;

// The error number behind a failed open. Qt folds "no access" and "held by another program"
// (its lock file, or the exclusive-use flag) into one PermissionError; whether we may read and
// write the node tells them apart.
int OpenErrorNumber(QSerialPort::SerialPortError error, int systemError, const std::string& name) {
    switch (error) {
        case QSerialPort::DeviceNotFoundError:
            return ENOENT;
        case QSerialPort::OpenError:
            return EBUSY;  // this port object already holds it
        case QSerialPort::UnsupportedOperationError:
            return ENOTTY;
        case QSerialPort::PermissionError:
#ifndef _WIN32
            return ::access(name.c_str(), R_OK | W_OK) == 0 ? EBUSY : EACCES;
#else
            (void)name;
            return EBUSY;
#endif
        default:
            return systemError != 0 ? systemError : EIO;
    }
}
}  // namespace

QtSerialPort::QtSerialPort(QObject* parent) : QObject(parent) {
    connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialPort::OnError);
}

QtSerialPort::~QtSerialPort() {
    Close();
}

bool QtSerialPort::Open(const std::string& name) {
    Close();
    received_.clear();
    port_.setPortName(QString::fromStdString(name));
    openFailure_ = {};
    // An absent device or a path that is no serial device is found by one stat. Asking Qt would
    // create and remove a lock file each time, which a retry once a second need not pay for.
    const NodeInfo node = InspectNode(name);
    if (node.type != NodeType::CharDevice) {
        openFailure_ = ClassifyOpenFailure(name, ENOENT, node, {});
        return false;
    }
    errno = 0;
    if (!port_.open(QIODevice::ReadWrite)) {
        const int systemError = errno;
        const QSerialPort::SerialPortError error = port_.error();
        openFailure_ = ClassifyOpenFailure(name, OpenErrorNumber(error, systemError, name), node,
                                           port_.errorString().toStdString());
        port_.clearError();
        return false;
    }
    // Line settings "57600,N,8,1". A pseudo-terminal refuses the modem lines (DTR, RTS);
    // that is no reason to give up the port.
    port_.setBaudRate(QSerialPort::Baud57600);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    port_.setReadBufferSize(0);
    port_.clearError();
    return true;
}

void QtSerialPort::Close() {
    received_.clear();
    if (port_.isOpen()) {
        port_.clear(QSerialPort::Input);
        port_.close();
    }
}

bool QtSerialPort::IsOpen() const {
    return port_.isOpen();
}

void QtSerialPort::OnError(QSerialPort::SerialPortError error) {
    // When the other end goes away Qt reports a read or resource error and, while the port
    // stays open, reports it again and again at full CPU. Close it at the first one; the link
    // then sees a closed port and "No Connection" appears.
    if ((error == QSerialPort::ReadError || error == QSerialPort::ResourceError) &&
        port_.isOpen()) {
        ++lostCount_;
        // Bytes that came before the line went are still the unit's: keep them readable.
        received_ += port_.readAll();
        port_.close();
    }
}

long QtSerialPort::BytesQueued() {
    if (port_.isOpen()) {
        // Pull in what the driver holds right now; "nothing there" is reported as a time-out.
        port_.waitForReadyRead(0);
        if (port_.error() == QSerialPort::TimeoutError) port_.clearError();
    }
#ifndef _WIN32
    // Qt 6.8 stays silent when the far end hangs up; the handle itself says so on every
    // version, within the tick. What arrived before the hang-up is still the unit's.
    if (port_.isOpen() &&
        CheckLine(static_cast<long long>(port_.handle())) == LineCondition::HungUp) {
        // The last bytes may have come just before the hang-up, after the pull above. Pulling
        // again may itself report the loss (OnError then closes the port).
        port_.waitForReadyRead(0);
        if (port_.isOpen()) {
            ++lostCount_;
            received_ += port_.readAll();
            port_.close();
        }
    }
#endif
    if (!port_.isOpen()) return received_.isEmpty() ? -1 : static_cast<long>(received_.size());
    return static_cast<long>(port_.bytesAvailable());
}

long QtSerialPort::Read(std::uint8_t* data, std::size_t max) {
    if (!port_.isOpen()) {
        if (received_.isEmpty()) return -1;
        const auto n = static_cast<qsizetype>(std::min<std::size_t>(max, received_.size()));
        std::memcpy(data, received_.constData(), static_cast<std::size_t>(n));
        received_.remove(0, n);
        return static_cast<long>(n);
    }
    const qint64 n = port_.read(reinterpret_cast<char*>(data), static_cast<qint64>(max));
    return n < 0 ? -1 : static_cast<long>(n);
}

bool QtSerialPort::Write(const std::uint8_t* data, std::size_t size) {
    if (!port_.isOpen()) return false;
    const qint64 n = port_.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    return n == static_cast<qint64>(size);
}

bool QtSerialPort::WaitUntilSent() {
    if (!port_.isOpen()) return false;
    // write() only fills Qt's buffer: hand it to the driver, then wait until the driver has
    // sent the last byte.
    while (port_.bytesToWrite() > 0) {
        if (!port_.waitForBytesWritten(kWriteTimeoutMs)) break;
    }
    if (port_.error() == QSerialPort::TimeoutError) port_.clearError();
    if (!port_.isOpen()) return false;
#ifndef _WIN32
    ::tcdrain(static_cast<int>(port_.handle()));
#endif
    return port_.bytesToWrite() == 0;
}

}  // namespace korvan
