#include "log/qt_log_file.h"

#include <QDir>
#include <QFileInfo>

#include "log/log_texts.h"

namespace korvan {

bool LogFileOutput::Open(const std::string& path) {
    Finish();
    error_.clear();
    started_ = false;
    rows_ = 0;
    marks_ = 0;
    format_ = LogFormatOfPath(path).value_or(LogFormat::Msl);
    const QString qpath = QString::fromStdString(path);
    name_ = QDir::toNativeSeparators(qpath).toStdString();
    file_.setFileName(qpath);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error_ = Fill(logtext::kCannotCreate, language_, name_,
                      ReasonSentence(file_.errorString().toStdString(), language_));
        return false;
    }
    sink_ = std::make_unique<QFileSink>(file_);
    writer_ = std::make_unique<RideLogWriter>(*sink_, ProgramTitle(), format_);
    return true;
}

bool LogFileOutput::Start(const LogHeader& header) {
    if (!writer_) return false;
    if (!writer_->Start(header)) {
        error_ = Fill(logtext::kCannotCreate, language_, name_,
                      ReasonSentence(writer_->Error(), language_));
        Close();
        return false;
    }
    started_ = true;
    return true;
}

bool LogFileOutput::Rewrite(const LogHeader& header) {
    if (!writer_ || !started_ || writer_->Rows() > 0 || writer_->Marks() > 0) return false;
    writer_.reset();
    sink_.reset();
    started_ = false;
    // From the start again: the new header may be shorter than the old one.
    const bool emptied = file_.resize(0) && file_.seek(0);
    sink_ = std::make_unique<QFileSink>(file_);
    writer_ = std::make_unique<RideLogWriter>(*sink_, ProgramTitle(), format_);
    if (!emptied) {
        error_ = Fill(logtext::kCannotCreate, language_, name_,
                      ReasonSentence(file_.errorString().toStdString(), language_));
        Close();
        return false;
    }
    return Start(header);
}

bool LogFileOutput::AddRow(const RideLogRow& row) {
    if (!writer_ || !started_) return false;
    writer_->AddRow(row);
    return Check();
}

bool LogFileOutput::Mark(std::uint32_t nowMs) {
    if (!writer_ || !started_) return false;
    writer_->Mark(nowMs);
    return Check();
}

bool LogFileOutput::Tick(std::uint32_t nowMs) {
    if (!writer_ || !started_) return !Failed();
    writer_->Tick(nowMs);
    return Check();
}

bool LogFileOutput::Finish() {
    if (!writer_) return !Failed();
    if (started_) writer_->Finish();
    if (Check()) Close();
    return !Failed();
}

bool LogFileOutput::Check() {
    if (!writer_->Failed()) return true;
    error_ =
        Fill(logtext::kWriteFailed, language_, name_, ReasonSentence(writer_->Error(), language_)) +
        ' ' + Fill(logtext::kRowsKept, language_, writer_->RowsFlushed());
    Close();
    return false;
}

void LogFileOutput::Close() {
    const qint64 goodSize = sink_->GoodSize();
    rows_ = writer_->Rows();
    marks_ = writer_->Marks();
    writer_.reset();
    sink_.reset();
    file_.close();
    if (error_.empty()) return;
    // Only a regular file is cut or removed: a log written into a device stays the device.
    const QString path = file_.fileName();
    if (!QFileInfo(path).isFile()) return;
    if (goodSize == 0) {
        // Not even the header reached the disk: no empty file is left to look like a log.
        QFile::remove(path);
    } else {
        // A write that failed half-way may have left part of a row; the file ends after the
        // last whole one, so no reader takes a cut-off number for a value.
        QFile::resize(path, goodSize);
    }
}

}  // namespace korvan
