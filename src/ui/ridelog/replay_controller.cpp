#include "ui/ridelog/replay_controller.h"

#include <QDir>
#include <algorithm>

#include "log/time_in_cell.h"

namespace korvan {

namespace {
constexpr double kMsPerSecond = 1000.0;
}

ReplayController::ReplayController(QObject* parent) : QObject(parent) {
    timer_.setInterval(kTimerIntervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { Advance(kTimerIntervalMs); });
}

bool ReplayController::Load(const QString& path, std::uint8_t language, const ReadLimits& limits) {
    Pause();
    path_ = path;
    RideLogReadResult read = ReadRideLogFile(path.toStdString(), limits);
    const std::string name = QDir::toNativeSeparators(path).toStdString();
    if (!read.Ok()) {
        message_ = QString::fromStdString(read.RefusalText(name, language));
        log_ = {};
        position_ = 0;
        emit PositionChanged(0);
        return false;
    }
    log_ = std::move(read);
    QStringList notes;
    for (const std::string& note : {log_.BadRowsText(language), log_.TruncatedText(language)}) {
        if (!note.empty()) notes << QString::fromStdString(note);
    }
    message_ = notes.join(' ');
    position_ = -1;
    ShowRow(0);
    return true;
}

void ReplayController::Play() {
    if (!IsLoaded() || playing_) return;
    if (position_ + 1 >= RowCount()) ShowRow(0);  // at the end: from the start again
    playing_ = true;
    timer_.start();
    emit PlayingChanged(true);
}

void ReplayController::Pause() {
    timer_.stop();
    if (!playing_) return;
    playing_ = false;
    emit PlayingChanged(false);
}

void ReplayController::SetSpeed(int speed) {
    if (std::find(std::begin(kSpeeds), std::end(kSpeeds), speed) != std::end(kSpeeds))
        speed_ = speed;
}

void ReplayController::Step(int rows) {
    Pause();
    Seek(position_ + rows);
}

void ReplayController::Seek(int row) {
    if (!IsLoaded()) return;
    ShowRow(std::clamp(row, 0, RowCount() - 1));
}

double ReplayController::PositionSeconds() const {
    return IsLoaded() ? log_.rows[static_cast<std::size_t>(position_)].TimeS : 0;
}

void ReplayController::Advance(int ms) {
    if (!IsLoaded()) return;
    double clock = clockS_ + ms * speed_ / kMsPerSecond;
    int row = position_;
    while (row + 1 < RowCount()) {
        const double current = log_.rows[static_cast<std::size_t>(row)].TimeS;
        const double next = log_.rows[static_cast<std::size_t>(row + 1)].TimeS;
        // A row whose time has come is shown; a clock that runs back in the log moves on at
        // once, and a pause in the log lasts no longer than a row may.
        if (next > clock && clock - current < kMaxRowSeconds) break;
        ++row;
        clock = std::max(clock, next);
    }
    if (row != position_) ShowRow(row);
    clockS_ = clock;
    if (position_ + 1 >= RowCount()) Pause();
}

void ReplayController::ShowRow(int row) {
    if (row == position_) return;
    const int before = position_;
    position_ = row;
    clockS_ = log_.rows[static_cast<std::size_t>(row)].TimeS;
    emit FrameReady(CurrentFrame());
    emit PositionChanged(row);
    // A freshly loaded log starts before its first row: nothing has been passed yet.
    if (before >= 0) AnnounceMarks(before, row);
}

std::vector<int> ReplayController::MarkRows() const {
    std::vector<int> rows;
    if (!IsLoaded()) return rows;
    for (std::size_t row : log_.marks)
        rows.push_back(static_cast<int>(std::min(row, log_.rows.size() - 1)));
    return rows;
}

void ReplayController::AnnounceMarks(int from, int to) {
    if (to <= from) return;
    const std::vector<int> rows = MarkRows();
    for (int mark = static_cast<int>(rows.size()) - 1; mark >= 0; --mark) {
        const int at = rows[static_cast<std::size_t>(mark)];
        if (at > from && at <= to) {
            emit MarkPassed(mark);
            return;
        }
    }
}

MonitorChannels ReplayController::CurrentChannels() const {
    return IsLoaded() ? log_.rows[static_cast<std::size_t>(position_)].Channels : MonitorChannels{};
}

QByteArray ReplayController::CurrentFrame() const {
    const DeviceFrame frame = EncodeMonitorFrame(CurrentChannels());
    return QByteArray(reinterpret_cast<const char*>(frame.data()), static_cast<int>(frame.size()));
}

}  // namespace korvan
