#include "ui/port/port_check.h"

#include <QThread>

#include "device/qt_serial_port.h"

namespace korvan {

PortCheck::PortCheck(QObject* parent) : QObject(parent), runner_(&PortCheck::RunOnSystem) {}

PortCheck::~PortCheck() {
    Wait();
}

DoctorReport PortCheck::RunOnSystem(const std::string& device) {
    // Made on the check's thread, so the port lives and dies there.
    QtSerialPort port;
    DoctorOptions o;
    o.user = CurrentDoctorUser();
    o.device = device;
    o.port = &port;
    o.wait = [](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); };
    return RunPortDoctor(o);
}

bool PortCheck::Start(const std::string& device, std::uint8_t language) {
    if (thread_) return false;
    const Runner runner = runner_;
    thread_ = QThread::create([this, runner, device, language] {
        const DoctorReport report = runner(device);
        QStringList lines;
        for (const std::string& line : ReportLines(report, language))
            lines << QString::fromStdString(line);
        const bool answered = report.UnitAnswered();
        // Back on the dialog's thread; dropped by Qt should this object be gone by then.
        QMetaObject::invokeMethod(
            this,
            [this, lines, answered] {
                if (thread_) {
                    thread_->wait();
                    delete thread_;
                    thread_ = nullptr;
                }
                emit Finished(lines, answered);
            },
            Qt::QueuedConnection);
    });
    thread_->start();
    return true;
}

void PortCheck::Wait() {
    if (!thread_) return;
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
}

}  // namespace korvan
