#include "cli/ride_log_file.h"

#include <QDateTime>
#include <QLocale>
#include <algorithm>

#include "log/ride_log.h"
#include "params/binding.h"

namespace korvan::cli {

bool RideLogFile::Start(const std::string& path) {
    timer_.start();
    unitNamed_ = false;
    return output_.Open(path) && output_.Start(Header(nullptr));
}

LogHeader RideLogFile::Header(const DeviceImage* image) const {
    LogHeader header;
    // The date as log viewers read it, in English whatever the language of the messages.
    const QDateTime now = QDateTime::currentDateTime();
    header.captureDate = QLocale::c().toString(now, "ddd MMM dd HH:mm:ss yyyy").toStdString();
    header.unixTime = now.toSecsSinceEpoch();
    // A unit that was read names itself; an identity page never received (a unit that forbids
    // reading) is all zeros and names nothing.
    if (image != nullptr) header.unitVersion = UnitVersionOf(*image);
    return header;
}

void RideLogFile::Add(const std::uint8_t* frame, const DeviceImage& image) {
    if (!output_.Started()) return;
    if (!unitNamed_) {
        unitNamed_ = true;
        const LogHeader header = Header(&image);
        if (!header.unitVersion.empty() && !output_.Rewrite(header)) return;
    }
    output_.AddRow(RowFromFrame(frame, image, image[field::TpsMapa] != 0, NowMs()));
}

void RideLogFile::Tick() {
    if (output_.Started()) output_.Tick(NowMs());
}

bool RideLogFile::Finish() {
    return output_.Finish();
}

}  // namespace korvan::cli
