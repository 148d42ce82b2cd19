#include "cli/ride_log_file.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

#include "log/log_texts.h"
#include "log/ride_log.h"
#include "params/binding.h"

namespace korvan::cli {

bool RideLogFile::Start(const std::string& path) {
    file_.setFileName(QString::fromStdString(path));
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error_ = Fill(logtext::kCannotCreate, language_, path.c_str(),
                      file_.errorString().toStdString().c_str());
        return false;
    }
    sink_ = std::make_unique<QFileSink>(file_);
    writer_ = std::make_unique<RideLogWriter>(*sink_, ProgramTitle());
    timer_.start();
    // The date as log viewers read it, in English whatever the language of the messages.
    const QString date =
        QLocale::c().toString(QDateTime::currentDateTime(), "ddd MMM dd HH:mm:ss yyyy");
    if (!writer_->Start(date.toStdString())) {
        error_ = Fill(logtext::kCannotCreate, language_, path.c_str(), writer_->Error().c_str());
        Close();
        return false;
    }
    return true;
}

void RideLogFile::Add(const std::uint8_t* frame, const DeviceImage& image) {
    if (!writer_) return;
    writer_->AddRow(RowFromFrame(frame, image, image[field::TpsMapa] != 0, NowMs()));
    Check();
}

void RideLogFile::Tick() {
    if (!writer_) return;
    writer_->Tick(NowMs());
    Check();
}

bool RideLogFile::Finish() {
    if (!writer_) return !Failed();
    writer_->Finish();
    if (Check()) Close();
    return !Failed();
}

bool RideLogFile::Check() {
    if (!writer_->Failed()) return true;
    const std::string name = file_.fileName().toStdString();
    error_ = Fill(logtext::kWriteFailed, language_, name.c_str(), writer_->Error().c_str()) + ' ' +
             Fill(logtext::kRowsKept, language_, writer_->RowsFlushed());
    Close();
    return false;
}

void RideLogFile::Close() {
    const qint64 goodSize = sink_->GoodSize();
    rows_ = writer_->Rows();
    writer_.reset();
    sink_.reset();
    file_.close();
    // A write that failed half-way may have left part of a row; the file ends after the last
    // whole one, so no reader takes a cut-off number for a value.
    if (!error_.empty() && QFileInfo(file_.fileName()).isFile())
        QFile::resize(file_.fileName(), goodSize);
}

}  // namespace korvan::cli
