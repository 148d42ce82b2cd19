// The ride log's sink on a QFile, shared by the window's recorder and korvan2-cli. Qt Core
// only; the log layer itself stays plain C++.
#pragma once

#include <QFile>
#include <cstddef>
#include <string>

#include "log/ride_log_writer.h"

namespace korvan {

// Flush() pushes Qt's buffer to the system and remembers the file's size then, so a write
// that fails part-way can be cut back to whole rows.
class QFileSink : public LogSink {
  public:
    explicit QFileSink(QFile& file) : file_(file) {}
    bool Write(const char* data, std::size_t size) override;
    bool Flush() override;
    std::string Error() const override;
    // The size of the file after the last flush that worked: whole rows only.
    qint64 GoodSize() const { return goodSize_; }

  private:
    QFile& file_;
    qint64 goodSize_ = 0;
};

}  // namespace korvan
