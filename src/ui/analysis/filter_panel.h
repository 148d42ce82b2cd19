// The filter of the ride analysis, which every view applies: a time range (typed, taken from
// the replay's position, or between two markers), a throttle and an RPM range, and leaving
// out rows at the limiter, with the clutch or with N2O on. A range counts only while its box
// is ticked; one Changed per action of the user.
#pragma once

#include <QGroupBox>
#include <cstdint>
#include <optional>

#include "log/ride_analysis.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace korvan {

class FilterPanel : public QGroupBox {
    Q_OBJECT
  public:
    explicit FilterPanel(std::uint8_t language, QWidget* parent = nullptr);

    void SetLanguage(std::uint8_t language);
    // The log the times and markers belong to (null: none); the time range starts over.
    void SetLog(const RideLogReadResult* log);
    // The replay's position when the replay shows this log; nothing otherwise.
    void SetReplayPosition(std::optional<double> seconds);

    LogFilter Filter() const;
    bool TimeRangeUsed() const;
    void Clear();

    // Its parts, for the tests.
    QCheckBox* TimeBox() const { return time_; }
    QDoubleSpinBox* FromBox() const { return from_; }
    QDoubleSpinBox* ToBox() const { return to_; }
    QPushButton* FromReplayButton() const { return fromReplay_; }
    QPushButton* ToReplayButton() const { return toReplay_; }
    QComboBox* FirstMarkBox() const { return firstMark_; }
    QComboBox* SecondMarkBox() const { return secondMark_; }
    QPushButton* BetweenMarksButton() const { return betweenMarks_; }
    QCheckBox* ThrottleBox() const { return tps_; }
    QSpinBox* ThrottleMinBox() const { return tpsMin_; }
    QSpinBox* ThrottleMaxBox() const { return tpsMax_; }
    QCheckBox* RpmBox() const { return rpm_; }
    QSpinBox* RpmMinBox() const { return rpmMin_; }
    QSpinBox* RpmMaxBox() const { return rpmMax_; }
    QCheckBox* WithoutLimiterBox() const { return withoutLimiter_; }
    QCheckBox* WithoutClutchBox() const { return withoutClutch_; }
    QCheckBox* WithoutN2oBox() const { return withoutN2o_; }

  signals:
    void Changed();

  private:
    void FillMarks();
    void UseBetweenMarks();
    void SetTime(std::optional<double> from, std::optional<double> to);
    void Notify();

    std::uint8_t language_;
    const RideLogReadResult* log_ = nullptr;
    std::optional<double> replaySeconds_;
    bool quiet_ = false;  // while several controls are set for one action

    QCheckBox* time_;
    QLabel* toLabel_;
    QDoubleSpinBox* from_;
    QDoubleSpinBox* to_;
    QPushButton* fromReplay_;
    QPushButton* toReplay_;
    QComboBox* firstMark_;
    QComboBox* secondMark_;
    QPushButton* betweenMarks_;
    QCheckBox* tps_;
    QSpinBox* tpsMin_;
    QSpinBox* tpsMax_;
    QCheckBox* rpm_;
    QSpinBox* rpmMin_;
    QSpinBox* rpmMax_;
    QCheckBox* withoutLimiter_;
    QCheckBox* withoutClutch_;
    QCheckBox* withoutN2o_;
    QPushButton* clear_;
};

}  // namespace korvan
