#include "ui/ridelog/ride_recorder.h"

#include <QDateTime>
#include <QDir>
#include <QLocale>

namespace korvan {

RideRecorder::RideRecorder(QObject* parent) : QObject(parent) {
    timer_.start();
    clock_ = [this] { return timer_.elapsed(); };
}

RideRecorder::~RideRecorder() {
    Stop();
}

std::uint32_t RideRecorder::NowMs() const {
    return static_cast<std::uint32_t>(ElapsedMs());
}

qint64 RideRecorder::ElapsedMs() const {
    return IsRecording() ? std::max<qint64>(0, clock_() - startMs_) : 0;
}

bool RideRecorder::Start(const QString& path, const LogHeader& names) {
    Stop();
    lastError_.clear();
    path_ = path;
    startMs_ = clock_();
    LogHeader header = names;
    // The date as a log viewer shows it, in English whatever the user's language.
    const QDateTime now = QDateTime::currentDateTime();
    header.captureDate = QLocale::c().toString(now, "ddd MMM dd HH:mm:ss yyyy").toStdString();
    header.unixTime = now.toSecsSinceEpoch();
    if (!output_.Open(path.toStdString()) || !output_.Start(header)) {
        lastError_ = QString::fromStdString(output_.Error());
        return false;
    }
    return true;
}

void RideRecorder::AddFrame(const std::uint8_t* frame, const DeviceImage& image,
                            bool tpsAxisInUse) {
    if (!IsRecording()) return;
    Check(output_.AddRow(RowFromFrame(frame, image, tpsAxisInUse, NowMs())));
}

void RideRecorder::Mark() {
    if (!IsRecording()) return;
    Check(output_.Mark(NowMs()));
}

void RideRecorder::Tick() {
    if (!IsRecording()) return;
    Check(output_.Tick(NowMs()));
}

void RideRecorder::Stop() {
    if (!IsRecording()) return;
    Check(output_.Finish());
}

bool RideRecorder::Check(bool written) {
    if (written) return true;
    lastError_ = QString::fromStdString(output_.Error());
    emit Failed(lastError_);
    return false;
}

QString RideRecorder::StatusText() const {
    if (!IsRecording()) return {};
    const qint64 s = ElapsedMs() / 1000;
    const auto two = [](qint64 n) { return QString::number(n).rightJustified(2, '0'); };
    return "REC " + two(s / 3600) + ':' + two(s / 60 % 60) + ':' + two(s % 60) + "  " +
           QString::number(static_cast<qulonglong>(output_.Rows()));
}

QString RideRecorder::DefaultFileName(const QString& folder, const QDateTime& when) {
    return QDir(folder).filePath(QStringLiteral("Korvan2_") + when.toString("yyyy-MM-dd_HH-mm-ss") +
                                 QString::fromLatin1(kLogExtension));
}

}  // namespace korvan
