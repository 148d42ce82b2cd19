// The small control panel of a replay: play or pause, speed, step, a position slider and the
// time shown, the log's markers on the slider, and a button that ends the replay.
#pragma once

#include <QWidget>
#include <cstdint>

#include "ui/ridelog/marked_slider.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace korvan {

class ReplayController;

class ReplayPanel : public QWidget {
    Q_OBJECT
  public:
    ReplayPanel(ReplayController& controller, std::uint8_t language, QWidget* parent = nullptr);

    void SetLanguage(std::uint8_t language);
    // The controls follow the controller; call after a new log is loaded.
    void Refresh();

    QPushButton* PlayButton() const { return play_; }
    QComboBox* SpeedBox() const { return speed_; }
    MarkedSlider* Slider() const { return slider_; }
    QLabel* PositionLabel() const { return position_; }

  signals:
    void CloseRequested();

  private:
    void ShowPosition(int row);

    ReplayController& controller_;
    std::uint8_t language_;
    QPushButton* play_;
    QPushButton* back_;
    QPushButton* forward_;
    QPushButton* close_;
    QComboBox* speed_;
    MarkedSlider* slider_;
    QLabel* position_;
};

}  // namespace korvan
