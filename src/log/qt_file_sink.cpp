#include "log/qt_file_sink.h"

namespace korvan {

namespace {
// A write the system took only part of (the disk filled up during it) fails in Qt without a
// reason; the next attempt meets the full disk itself and names it (ENOSPC), or finishes the
// write when it was only interrupted.
constexpr int kAttempts = 3;
}  // namespace

bool QFileSink::Write(const char* data, std::size_t size) {
    qint64 done = 0;
    const auto total = static_cast<qint64>(size);
    for (int attempt = 0; attempt < kAttempts && done < total; ++attempt) {
        if (attempt > 0) file_.unsetError();
        const qint64 n = file_.write(data + done, total - done);
        if (n > 0) done += n;
    }
    return done == total;
}

bool QFileSink::Flush() {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (attempt > 0) file_.unsetError();
        if (file_.flush()) {
            goodSize_ = file_.pos();
            return true;
        }
    }
    return false;
}

std::string QFileSink::Error() const {
    return file_.errorString().toStdString();
}

}  // namespace korvan
