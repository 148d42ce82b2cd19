#include "ui/ridelog/replay_panel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>

#include "ui/ridelog/marked_slider.h"
#include "ui/ridelog/replay_controller.h"
#include "ui/ridelog/ridelog_texts.h"

namespace korvan {

ReplayPanel::ReplayPanel(ReplayController& controller, std::uint8_t language, QWidget* parent)
    : QWidget(parent),
      controller_(controller),
      language_(language),
      play_(new QPushButton(this)),
      back_(new QPushButton(this)),
      forward_(new QPushButton(this)),
      close_(new QPushButton(this)),
      speed_(new QComboBox(this)),
      slider_(new MarkedSlider(this)),
      position_(new QLabel(this)) {
    setObjectName("ReplayPanel");
    for (int speed : ReplayController::kSpeeds)
        speed_->addItem(QString::number(speed) + 'x', speed);
    auto* layout = new QHBoxLayout(this);
    for (QWidget* w : std::initializer_list<QWidget*>{play_, speed_, back_, forward_, slider_,
                                                      position_, close_}) {
        layout->addWidget(w);
    }
    layout->setStretchFactor(slider_, 1);
    // As wide as the longest position a log can have, so no value ever widens the panel.
    position_->setFixedWidth(position_->fontMetrics().horizontalAdvance(
        QStringLiteral("0000000.0 / 0000000.0 s   000000 / 000000 ")));

    connect(play_, &QPushButton::clicked, this,
            [this] { controller_.IsPlaying() ? controller_.Pause() : controller_.Play(); });
    connect(back_, &QPushButton::clicked, this, [this] { controller_.Step(-1); });
    connect(forward_, &QPushButton::clicked, this, [this] { controller_.Step(1); });
    connect(close_, &QPushButton::clicked, this, &ReplayPanel::CloseRequested);
    connect(speed_, &QComboBox::currentIndexChanged, this,
            [this](int index) { controller_.SetSpeed(speed_->itemData(index).toInt()); });
    connect(slider_, &QSlider::valueChanged, this, [this](int row) { controller_.Seek(row); });
    connect(&controller_, &ReplayController::PositionChanged, this, &ReplayPanel::ShowPosition);
    connect(&controller_, &ReplayController::PlayingChanged, this,
            [this] { SetLanguage(language_); });
    SetLanguage(language);
    Refresh();
}

void ReplayPanel::SetLanguage(std::uint8_t language) {
    language_ = language;
    setWindowTitle(QString::fromUtf8(ridelogtext::kReplayTitle.In(language)));
    play_->setText(QString::fromUtf8(
        (controller_.IsPlaying() ? ridelogtext::kPause : ridelogtext::kPlay).In(language)));
    back_->setText(QString::fromUtf8(ridelogtext::kStepBack.In(language)));
    forward_->setText(QString::fromUtf8(ridelogtext::kStepForward.In(language)));
    close_->setText(QString::fromUtf8(ridelogtext::kCloseReplay.In(language)));
}

void ReplayPanel::Refresh() {
    {
        const QSignalBlocker block(slider_);
        slider_->setRange(0, std::max(0, controller_.RowCount() - 1));
    }
    slider_->SetMarks(controller_.MarkRows());
    const int speedIndex = speed_->findData(controller_.Speed());
    if (speedIndex >= 0) speed_->setCurrentIndex(speedIndex);
    for (QWidget* w : std::initializer_list<QWidget*>{play_, back_, forward_, slider_, speed_}) {
        w->setEnabled(controller_.IsLoaded());
    }
    ShowPosition(controller_.Position());
    SetLanguage(language_);
}

void ReplayPanel::ShowPosition(int row) {
    {
        const QSignalBlocker block(slider_);
        slider_->setValue(row);
    }
    const double end = controller_.IsLoaded() ? controller_.Log().rows.back().TimeS : 0;
    const QLocale locale;
    position_->setText(locale.toString(controller_.PositionSeconds(), 'f', 1) + " / " +
                       locale.toString(end, 'f', 1) + " s   " + QString::number(row + 1) + " / " +
                       QString::number(controller_.RowCount()));
}

}  // namespace korvan
