#include "ui/ridelog/ride_recorder.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include "log/log_texts.h"

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
    return writer_ ? std::max<qint64>(0, clock_() - startMs_) : 0;
}

bool RideRecorder::Start(const QString& path) {
    Stop();
    lastError_.clear();
    file_.setFileName(path);
    const std::string name = QDir::toNativeSeparators(path).toStdString();
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        lastError_ = QString::fromStdString(Fill(logtext::kCannotCreate, language_, name.c_str(),
                                                 file_.errorString().toStdString().c_str()));
        return false;
    }
    sink_ = std::make_unique<QFileSink>(file_);
    writer_ = std::make_unique<RideLogWriter>(*sink_, ProgramTitle());
    startMs_ = clock_();
    // The date as a log viewer shows it, in English whatever the user's language.
    const QString date =
        QLocale::c().toString(QDateTime::currentDateTime(), "ddd MMM dd HH:mm:ss yyyy");
    if (!writer_->Start(date.toStdString())) {
        lastError_ = QString::fromStdString(
            Fill(logtext::kCannotCreate, language_, name.c_str(), writer_->Error().c_str()));
        Close();
        return false;
    }
    return true;
}

void RideRecorder::AddFrame(const std::uint8_t* frame, const DeviceImage& image,
                            bool tpsAxisInUse) {
    if (!writer_) return;
    writer_->AddRow(RowFromFrame(frame, image, tpsAxisInUse, NowMs()));
    Check();
}

void RideRecorder::Mark() {
    if (!writer_) return;
    writer_->Mark(NowMs());
    Check();
}

void RideRecorder::Tick() {
    if (!writer_) return;
    writer_->Tick(NowMs());
    Check();
}

void RideRecorder::Stop() {
    if (!writer_) return;
    writer_->Finish();
    if (Check()) Close();
}

bool RideRecorder::Check() {
    if (!writer_->Failed()) return true;
    const std::string name = QDir::toNativeSeparators(file_.fileName()).toStdString();
    lastError_ = QString::fromStdString(
        Fill(logtext::kWriteFailed, language_, name.c_str(), writer_->Error().c_str()) + ' ' +
        Fill(logtext::kRowsKept, language_, writer_->RowsFlushed()));
    Close();
    emit Failed(lastError_);
    return false;
}

void RideRecorder::Close() {
    const qint64 goodSize = sink_->GoodSize();
    writer_.reset();
    sink_.reset();
    file_.close();
    // A write that failed half-way may have left part of a row, which a reader could take for
    // a whole one with a cut-off number; the file ends after the last whole row instead.
    if (QFile::exists(file_.fileName()) && QFileInfo(file_.fileName()).isFile()) {
        QFile::resize(file_.fileName(), goodSize);
    }
}

QString RideRecorder::StatusText() const {
    if (!writer_) return {};
    const qint64 s = ElapsedMs() / 1000;
    const auto two = [](qint64 n) { return QString::number(n).rightJustified(2, '0'); };
    return "REC " + two(s / 3600) + ':' + two(s / 60 % 60) + ':' + two(s % 60) + "  " +
           QString::number(static_cast<qulonglong>(writer_->Rows()));
}

QString RideRecorder::DefaultFileName(const QString& folder, const QDateTime& when) {
    return QDir(folder).filePath(QStringLiteral("Korvan2_") + when.toString("yyyy-MM-dd_HH-mm-ss") +
                                 QString::fromLatin1(kLogExtension));
}

}  // namespace korvan
