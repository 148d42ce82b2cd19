#include "ui/analysis/log_loader.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

namespace korvan {

LogLoader::LogLoader(QObject* parent) : QObject(parent) {}

void LogLoader::Load(const QString& path, const ReadLimits& limits) {
    path_ = path;
    busy_ = true;
    const unsigned generation = ++generation_;
    auto* watcher = new QFutureWatcher<SharedLog>(this);
    connect(watcher, &QFutureWatcher<SharedLog>::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        // A later Load has replaced this one: its result is no longer wanted.
        if (generation != generation_) return;
        busy_ = false;
        emit Loaded(path_, watcher->result());
    });
    const std::string file = path.toStdString();
    watcher->setFuture(QtConcurrent::run([file, limits]() -> SharedLog {
        return std::make_shared<const RideLogReadResult>(ReadRideLogFile(file, limits));
    }));
}

}  // namespace korvan
