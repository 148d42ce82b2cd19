#include "log/qt_file_sink.h"

namespace korvan {

bool QFileSink::Write(const char* data, std::size_t size) {
    return file_.write(data, static_cast<qint64>(size)) == static_cast<qint64>(size);
}

bool QFileSink::Flush() {
    if (!file_.flush()) return false;
    goodSize_ = file_.pos();
    return true;
}

std::string QFileSink::Error() const {
    return file_.errorString().toStdString();
}

}  // namespace korvan
