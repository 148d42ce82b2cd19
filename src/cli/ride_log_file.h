// The ride log of `monitor --log`: the window's writer on a plain file, in the format the
// file's extension names (.msl, .mlg, .csv), the time taken from the moment the monitor starts.
#pragma once

#include <QElapsedTimer>
#include <cstdint>
#include <string>

#include "log/qt_log_file.h"
#include "params/device_image.h"

namespace korvan::cli {

class RideLogFile {
  public:
    explicit RideLogFile(std::uint8_t language) : output_(language) {}
    ~RideLogFile() { Finish(); }

    // Creates (or replaces) the file and writes the header, so a path that cannot be written
    // (or a full disk) is known before the unit is asked anything. With the first row the
    // header is written again, naming the unit read since. False with Error() saying why.
    bool Start(const std::string& path);
    // Times count from now on (after the read that precedes the monitor).
    void RestartClock() { timer_.restart(); }
    // One row from a valid monitor frame; the cell on `image`'s map.
    void Add(const std::uint8_t* frame, const DeviceImage& image);
    // Hands the pending rows to the file once a second has passed, frames or not.
    void Tick();
    // Flushes and closes; false when a write failed at any point.
    bool Finish();

    bool Failed() const { return output_.Failed(); }
    // The whole message: the file, the system's reason and how many rows stay in the file.
    const std::string& Error() const { return output_.Error(); }
    std::size_t Rows() const { return output_.Rows(); }

  private:
    std::uint32_t NowMs() const { return static_cast<std::uint32_t>(timer_.elapsed()); }
    // The header, with what `image` tells of the unit (nothing when it is null).
    LogHeader Header(const DeviceImage* image) const;

    LogFileOutput output_;
    QElapsedTimer timer_;
    bool unitNamed_ = false;
};

}  // namespace korvan::cli
