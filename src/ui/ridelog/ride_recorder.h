// Records the monitor frames the window receives into a ride log file. It only listens: it
// sends nothing to the unit and asks for nothing, so the monitor keeps its own rhythm.
#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <functional>

#include "log/qt_log_file.h"

namespace korvan {

class RideRecorder : public QObject {
    Q_OBJECT
  public:
    // Milliseconds from any fixed start; tests hand in their own clock.
    using Clock = std::function<qint64()>;

    explicit RideRecorder(QObject* parent = nullptr);
    ~RideRecorder() override;

    void SetClock(Clock clock) { clock_ = std::move(clock); }
    void SetLanguage(std::uint8_t language) { output_.SetLanguage(language); }

    // Creates the file (replacing one of that name) and writes the header, in the format the
    // name's extension asks for (.msl, .mlg, .csv). False, with LastError() saying why, when
    // the file cannot be created or written; a file that got no header is removed again.
    // `names`: the unit's version and the tune's file for the header, where they are known.
    bool Start(const QString& path, const LogHeader& names = {});
    // One row from a valid monitor frame; the cell by the live cursor's rule.
    void AddFrame(const std::uint8_t* frame, const DeviceImage& image, bool tpsAxisInUse);
    void Mark();
    // Flushes when a second has passed without a frame (call it from the window's tick).
    void Tick();
    void Stop();

    bool IsRecording() const { return output_.IsOpen(); }
    qint64 ElapsedMs() const;
    std::size_t Rows() const { return IsRecording() ? output_.Rows() : 0; }
    unsigned Marks() const { return IsRecording() ? output_.Marks() : 0; }
    QString FilePath() const { return path_; }
    QString LastError() const { return lastError_; }
    // "REC 00:12:34  2287" for the status bar; empty when not recording.
    QString StatusText() const;

    // "Korvan2_2026-12-08_07-57-25.msl" in `folder`.
    static QString DefaultFileName(const QString& folder, const QDateTime& when);

  signals:
    // Recording ended on its own (a write failed); `message` says why and what stays.
    void Failed(const QString& message);

  private:
    std::uint32_t NowMs() const;
    // After a write: false (and Failed emitted) when the recording ended on it.
    bool Check(bool written);

    LogFileOutput output_;
    QString path_;
    Clock clock_;
    QElapsedTimer timer_;
    qint64 startMs_ = 0;
    QString lastError_;
};

}  // namespace korvan
