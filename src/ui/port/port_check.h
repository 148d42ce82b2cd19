// The port doctor behind the port dialog's "Check" button. It runs on a thread of its own: the
// answer check waits up to a second on the line, and the window's tick must go on meanwhile.
#pragma once

#include <QObject>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <string>

#include "device/port_doctor.h"

class QThread;

namespace korvan {

class PortCheck : public QObject {
    Q_OBJECT
  public:
    // Runs the doctor for a device ("" checks every adapter). Called on the check's thread.
    using Runner = std::function<DoctorReport(const std::string& device)>;

    explicit PortCheck(QObject* parent = nullptr);
    ~PortCheck() override;

    // The system's doctor by default; tests run one on a fake tree.
    void SetRunner(Runner runner) { runner_ = std::move(runner); }
    // Starts a check unless one runs; Finished follows on this object's thread.
    bool Start(const std::string& device, std::uint8_t language);
    bool Running() const { return thread_ != nullptr; }
    // Waits for a running check to end (at most the doctor's own bound).
    void Wait();

    // The doctor on this system: the real port, opened on the calling thread.
    static DoctorReport RunOnSystem(const std::string& device);

  signals:
    void Finished(const QStringList& lines, bool unitAnswered);

  private:
    Runner runner_;
    QThread* thread_ = nullptr;
};

}  // namespace korvan
