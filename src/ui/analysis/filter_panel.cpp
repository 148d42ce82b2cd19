#include "ui/analysis/filter_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>

#include "ui/analysis/analysis_texts.h"
#include "ui/languages/qt_fill.h"

namespace korvan {

namespace {
constexpr int kMaxPercent = 100;
constexpr int kMaxRpm = 20000;
constexpr int kRpmStep = 100;
constexpr int kDefaultRpmMax = 15000;
// Milliseconds, as our logs count time; a marker's time is kept to them.
constexpr int kTimeDecimals = 3;
constexpr double kHalfMillisecond = 0.0005;

QString Text(const LocalizedText& text, std::uint8_t language) {
    return QString::fromUtf8(text.In(language));
}

QSpinBox* NumberBox(QWidget* parent, int max, int value, int step = 1) {
    auto* box = new QSpinBox(parent);
    box->setRange(0, max);
    box->setSingleStep(step);
    box->setValue(value);
    // A value counts once it is typed out, not at each key.
    box->setKeyboardTracking(false);
    return box;
}
}  // namespace

FilterPanel::FilterPanel(std::uint8_t language, QWidget* parent)
    : QGroupBox(parent),
      language_(language),
      time_(new QCheckBox(this)),
      toLabel_(new QLabel(this)),
      from_(new QDoubleSpinBox(this)),
      to_(new QDoubleSpinBox(this)),
      fromReplay_(new QPushButton(this)),
      toReplay_(new QPushButton(this)),
      firstMark_(new QComboBox(this)),
      secondMark_(new QComboBox(this)),
      betweenMarks_(new QPushButton(this)),
      tps_(new QCheckBox(this)),
      tpsMin_(NumberBox(this, kMaxPercent, 0)),
      tpsMax_(NumberBox(this, kMaxPercent, kMaxPercent)),
      rpm_(new QCheckBox(this)),
      rpmMin_(NumberBox(this, kMaxRpm, 0, kRpmStep)),
      rpmMax_(NumberBox(this, kMaxRpm, kDefaultRpmMax, kRpmStep)),
      withoutLimiter_(new QCheckBox(this)),
      withoutClutch_(new QCheckBox(this)),
      withoutN2o_(new QCheckBox(this)),
      clear_(new QPushButton(this)) {
    setObjectName("AnalysisFilter");
    for (QDoubleSpinBox* box : {from_, to_}) {
        box->setDecimals(kTimeDecimals);
        box->setRange(0, kMaxLogTimeS);
        box->setKeyboardTracking(false);
    }
    // Three columns: a value, the word or dash between, the other value.
    auto* grid = new QGridLayout(this);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    int row = 0;
    const auto whole = [&](QWidget* w) { grid->addWidget(w, row++, 0, 1, 3); };
    const auto pair = [&](QWidget* a, QWidget* between, QWidget* b) {
        grid->addWidget(a, row, 0);
        if (between != nullptr) grid->addWidget(between, row, 1);
        grid->addWidget(b, row++, 2);
    };
    whole(time_);
    pair(from_, toLabel_, to_);
    whole(fromReplay_);
    whole(toReplay_);
    // A row each: "MARK 002 (1,234.5 s)" does not fit in half the panel.
    whole(firstMark_);
    whole(secondMark_);
    whole(betweenMarks_);
    whole(tps_);
    pair(tpsMin_, new QLabel(QStringLiteral("–"), this), tpsMax_);
    whole(rpm_);
    pair(rpmMin_, new QLabel(QStringLiteral("–"), this), rpmMax_);
    whole(withoutLimiter_);
    whole(withoutClutch_);
    whole(withoutN2o_);
    whole(clear_);
    grid->setRowStretch(row, 1);

    for (QCheckBox* box : {time_, tps_, rpm_, withoutLimiter_, withoutClutch_, withoutN2o_})
        connect(box, &QCheckBox::toggled, this, &FilterPanel::Notify);
    for (QDoubleSpinBox* box : {from_, to_}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] {
            // A time typed in is a time range wanted.
            if (!time_->isChecked()) {
                const QSignalBlocker block(time_);
                time_->setChecked(true);
            }
            Notify();
        });
    }
    for (QSpinBox* box : {tpsMin_, tpsMax_}) {
        connect(box, &QSpinBox::valueChanged, this, [this] {
            if (tps_->isChecked()) Notify();
        });
    }
    for (QSpinBox* box : {rpmMin_, rpmMax_}) {
        connect(box, &QSpinBox::valueChanged, this, [this] {
            if (rpm_->isChecked()) Notify();
        });
    }
    connect(fromReplay_, &QPushButton::clicked, this, [this] { SetTime(replaySeconds_, {}); });
    connect(toReplay_, &QPushButton::clicked, this, [this] { SetTime({}, replaySeconds_); });
    connect(betweenMarks_, &QPushButton::clicked, this, &FilterPanel::UseBetweenMarks);
    connect(clear_, &QPushButton::clicked, this, &FilterPanel::Clear);
    SetLanguage(language);
    SetLog(nullptr);
    SetReplayPosition(std::nullopt);
}

void FilterPanel::SetLanguage(std::uint8_t language) {
    language_ = language;
    setTitle(Text(analysistext::kFilter, language));
    time_->setText(Text(analysistext::kTimeFrom, language));
    toLabel_->setText(Text(analysistext::kTimeTo, language));
    fromReplay_->setText(Text(analysistext::kFromReplay, language));
    toReplay_->setText(Text(analysistext::kToReplay, language));
    betweenMarks_->setText(Text(analysistext::kBetweenMarks, language));
    tps_->setText(Text(analysistext::kThrottle, language));
    rpm_->setText(Text(analysistext::kRpm, language));
    withoutLimiter_->setText(Text(analysistext::kWithoutLimiter, language));
    withoutClutch_->setText(Text(analysistext::kWithoutClutch, language));
    withoutN2o_->setText(Text(analysistext::kWithoutN2o, language));
    clear_->setText(Text(analysistext::kClearFilter, language));
    FillMarks();
}

void FilterPanel::SetLog(const RideLogReadResult* log) {
    log_ = log != nullptr && !log->rows.empty() ? log : nullptr;
    {
        const QSignalBlocker blockTime(time_), blockFrom(from_), blockTo(to_);
        const double end = log_ != nullptr ? log_->rows.back().TimeS : 0;
        const double start = log_ != nullptr ? log_->rows.front().TimeS : 0;
        for (QDoubleSpinBox* box : {from_, to_})
            box->setRange(std::min(0.0, start), std::max(end, 0.0));
        from_->setValue(start);
        to_->setValue(end);
        time_->setChecked(false);
    }
    FillMarks();
}

void FilterPanel::FillMarks() {
    for (QComboBox* box : {firstMark_, secondMark_}) {
        const QSignalBlocker block(box);
        const int chosen = box->currentIndex();
        box->clear();
        const std::size_t marks = log_ != nullptr ? log_->marks.size() : 0;
        const QLocale locale;
        for (std::size_t m = 0; m < marks; ++m) {
            const QString number = QStringLiteral("MARK %1").arg(m + 1, 3, 10, QLatin1Char('0'));
            box->addItem(QFill(analysistext::kMarkItem, language_, number,
                               locale.toString(MarkTimeS(*log_, m), 'f', 1)));
        }
        box->setCurrentIndex(std::min(std::max(chosen, 0), box->count() - 1));
    }
    // By default the first two markers: the stretch a tuner marks at its start and end.
    if (secondMark_->count() > 1 && secondMark_->currentIndex() == 0) {
        const QSignalBlocker block(secondMark_);
        secondMark_->setCurrentIndex(1);
    }
    const bool twoMarks = firstMark_->count() >= 2;
    for (QWidget* w : std::initializer_list<QWidget*>{firstMark_, secondMark_, betweenMarks_})
        w->setEnabled(twoMarks);
}

void FilterPanel::SetReplayPosition(std::optional<double> seconds) {
    replaySeconds_ = log_ != nullptr ? seconds : std::nullopt;
    fromReplay_->setEnabled(replaySeconds_.has_value());
    toReplay_->setEnabled(replaySeconds_.has_value());
}

void FilterPanel::SetTime(std::optional<double> from, std::optional<double> to) {
    if (!from && !to) return;
    {
        const QSignalBlocker blockTime(time_), blockFrom(from_), blockTo(to_);
        if (from) from_->setValue(*from);
        if (to) to_->setValue(*to);
        time_->setChecked(true);
    }
    Notify();
}

void FilterPanel::UseBetweenMarks() {
    if (log_ == nullptr || firstMark_->currentIndex() < 0 || secondMark_->currentIndex() < 0)
        return;
    LogFilter range;
    SetTimeBetweenMarks(range, *log_, static_cast<std::size_t>(firstMark_->currentIndex()),
                        static_cast<std::size_t>(secondMark_->currentIndex()));
    SetTime(range.fromS, range.toS);
}

void FilterPanel::Clear() {
    quiet_ = true;
    for (QCheckBox* box : {time_, tps_, rpm_, withoutLimiter_, withoutClutch_, withoutN2o_})
        box->setChecked(false);
    quiet_ = false;
    Notify();
}

void FilterPanel::Notify() {
    if (!quiet_) emit Changed();
}

bool FilterPanel::TimeRangeUsed() const {
    return time_->isChecked();
}

LogFilter FilterPanel::Filter() const {
    LogFilter f;
    if (time_->isChecked()) {
        // The boxes round to milliseconds; a row at a marker's own time stays inside.
        f.fromS = std::min(from_->value(), to_->value()) - kHalfMillisecond;
        f.toS = std::max(from_->value(), to_->value()) + kHalfMillisecond;
    }
    if (tps_->isChecked()) {
        f.tpsMin = std::min(tpsMin_->value(), tpsMax_->value());
        f.tpsMax = std::max(tpsMin_->value(), tpsMax_->value());
    }
    if (rpm_->isChecked()) {
        f.rpmMin = std::min(rpmMin_->value(), rpmMax_->value());
        f.rpmMax = std::max(rpmMin_->value(), rpmMax_->value());
    }
    f.withoutLimiter = withoutLimiter_->isChecked();
    f.withoutClutch = withoutClutch_->isChecked();
    f.withoutN2o = withoutN2o_->isChecked();
    return f;
}

}  // namespace korvan
