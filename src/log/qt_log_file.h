// A ride log being written to a file, shared by the window's recorder and korvan2-cli: the
// format from the file's extension, the messages in the user's language with the system's
// reason, and a file that ends after its last whole row when writing fails. Qt Core only.
#pragma once

#include <QFile>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "log/qt_file_sink.h"
#include "log/ride_log_writer.h"

namespace korvan {

class LogFileOutput {
  public:
    explicit LogFileOutput(std::uint8_t language = 1) : language_(language) {}
    ~LogFileOutput() { Finish(); }
    LogFileOutput(const LogFileOutput&) = delete;
    LogFileOutput& operator=(const LogFileOutput&) = delete;

    void SetLanguage(std::uint8_t language) { language_ = language; }

    // Creates (or replaces) the file, in the format its extension names (.mlg, .csv; any other
    // name gets the .msl text log). False with Error() when it cannot be created.
    bool Open(const std::string& path);
    // Writes the header. False with Error() when it cannot be written (a full disk); the file
    // is then removed, so a log that never started leaves no empty file behind.
    bool Start(const LogHeader& header);

    // Before the first row or marker: the header again, with what has become known since
    // (the unit's version once it was read). The file holds a valid log all the while.
    bool Rewrite(const LogHeader& header);

    bool IsOpen() const { return writer_ != nullptr; }
    bool Started() const { return started_; }
    LogFormat Format() const { return format_; }

    // After a failure these do nothing and return false; Error() says what happened.
    bool AddRow(const RideLogRow& row);
    bool Mark(std::uint32_t nowMs);
    bool Tick(std::uint32_t nowMs);
    // Flushes and closes; false when a write failed at any point.
    bool Finish();

    bool Failed() const { return !error_.empty(); }
    // The whole message: the file, the system's reason and how many rows stay in the file.
    const std::string& Error() const { return error_; }
    std::size_t Rows() const { return writer_ ? writer_->Rows() : rows_; }
    unsigned Marks() const { return writer_ ? writer_->Marks() : marks_; }
    // The file's name as the user writes it (native separators).
    const std::string& FileName() const { return name_; }

  private:
    bool Check();
    void Close();

    std::uint8_t language_;
    QFile file_;
    std::string name_;
    LogFormat format_ = LogFormat::Msl;
    std::unique_ptr<QFileSink> sink_;
    std::unique_ptr<RideLogWriter> writer_;
    bool started_ = false;
    std::string error_;
    std::size_t rows_ = 0;
    unsigned marks_ = 0;
};

}  // namespace korvan
