// Reads a ride log on a worker thread, so a long log (or a slow disk) never holds up the
// window's tick. The reader itself is bounded and checks the file's type before opening it;
// this only moves the wait off the window's thread. A new Load forgets the one before.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "log/ride_log_reader.h"

namespace korvan {

using SharedLog = std::shared_ptr<const RideLogReadResult>;

class LogLoader : public QObject {
    Q_OBJECT
  public:
    explicit LogLoader(QObject* parent = nullptr);

    void Load(const QString& path, const ReadLimits& limits = {});
    bool Busy() const { return busy_; }
    QString Path() const { return path_; }

  signals:
    // The read of `path` ended (refused or not: log->Ok()).
    void Loaded(const QString& path, const korvan::SharedLog& log);

  private:
    QString path_;
    bool busy_ = false;
    unsigned generation_ = 0;
};

}  // namespace korvan
