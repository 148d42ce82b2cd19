// Plays a ride log back as if the unit were sending it: each row becomes a monitor frame for
// the monitor column and the map cursor. Nothing goes to the unit.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <vector>

#include "log/ride_log_reader.h"

namespace korvan {

class ReplayController : public QObject {
    Q_OBJECT
  public:
    static constexpr int kTimerIntervalMs = 55;
    static constexpr int kSpeeds[] = {1, 4, 16};

    explicit ReplayController(QObject* parent = nullptr);

    // Loads the log and shows its first row. False with Message() saying why when refused;
    // true with Message() naming what was left out (bad rows, the size limit), or empty.
    bool Load(const QString& path, std::uint8_t language, const ReadLimits& limits = {});
    bool IsLoaded() const { return !log_.rows.empty(); }
    const RideLogReadResult& Log() const { return log_; }
    QString Message() const { return message_; }
    QString FilePath() const { return path_; }

    void Play();
    void Pause();
    bool IsPlaying() const { return playing_; }
    // 1, 4 or 16 times the logged pace.
    void SetSpeed(int speed);
    int Speed() const { return speed_; }
    void Step(int rows);
    void Seek(int row);
    int Position() const { return position_; }
    int RowCount() const { return static_cast<int>(log_.rows.size()); }
    double PositionSeconds() const;

    // Moves the replay on by `ms` of wall time at the current speed. The timer calls it while
    // playing; tests call it by hand.
    void Advance(int ms);

    // The frame of the current row.
    QByteArray CurrentFrame() const;
    MonitorChannels CurrentChannels() const;
    // The row each marker of the log stands at (a marker after the last row: the last row).
    std::vector<int> MarkRows() const;

  signals:
    // A valid 102-byte monitor frame of the row now shown.
    void FrameReady(const QByteArray& frame);
    void PositionChanged(int row);
    void PlayingChanged(bool playing);
    // The replay moved forward onto or past marker `mark` (an index into Log().marks); of
    // several passed at once (a jump), the last.
    void MarkPassed(int mark);

  private:
    void ShowRow(int row);
    void AnnounceMarks(int from, int to);

    RideLogReadResult log_;
    QString path_;
    QString message_;
    QTimer timer_;
    int position_ = 0;
    int speed_ = 1;
    bool playing_ = false;
    double clockS_ = 0;  // replay time in the log's seconds
};

}  // namespace korvan
