// The ride log of `monitor --log`: the window's writer on a plain file, the time taken from the
// moment the file was created.
#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <cstdint>
#include <memory>
#include <string>

#include "log/qt_file_sink.h"
#include "log/ride_log_writer.h"

namespace korvan::cli {

class RideLogFile {
  public:
    explicit RideLogFile(std::uint8_t language) : language_(language) {}
    ~RideLogFile() { Finish(); }

    // Creates (or replaces) the file and writes the header. False with Error() saying why.
    bool Start(const std::string& path);
    // Times count from now on (after the read that precedes the monitor).
    void RestartClock() { timer_.restart(); }
    // One row from a valid monitor frame; the cell on `image`'s map.
    void Add(const std::uint8_t* frame, const DeviceImage& image);
    // Hands the pending rows to the file once a second has passed, frames or not.
    void Tick();
    // Flushes and closes; false when a write failed at any point.
    bool Finish();

    bool Failed() const { return !error_.empty(); }
    // The whole message: the file, the system's reason and how many rows stay in the file.
    const std::string& Error() const { return error_; }
    std::size_t Rows() const { return writer_ ? writer_->Rows() : rows_; }

  private:
    std::uint32_t NowMs() const { return static_cast<std::uint32_t>(timer_.elapsed()); }
    bool Check();
    void Close();

    std::uint8_t language_;
    QFile file_;
    QElapsedTimer timer_;
    std::unique_ptr<QFileSink> sink_;
    std::unique_ptr<RideLogWriter> writer_;
    std::string error_;
    std::size_t rows_ = 0;
};

}  // namespace korvan::cli
