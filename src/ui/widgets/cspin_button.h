// A pair of arrow buttons stacked vertically that step a value up or down and repeat while
// held. It never takes the keyboard focus, so clicking it leaves the caret where it was.
#pragma once

#include <QTimer>
#include <QWidget>

namespace korvan {

class TCSpinButton : public QWidget {
    Q_OBJECT

  public:
    // Holding a half steps after the first delay and then at the repeat interval.
    static constexpr int kFirstRepeatDelayMs = 400;
    static constexpr int kRepeatIntervalMs = 100;
    static constexpr int kMinimumWidth = 15;

    enum class Half { None, Up, Down };

    explicit TCSpinButton(QWidget* parent = nullptr);

    // The up half is the upper height/2 pixels (truncated); the down half is the rest and
    // overlaps the up half by one pixel row, where it wins.
    QRect UpRect() const;
    QRect DownRect() const;
    Half HalfAt(const QPoint& pos) const;

    // The half held down with the mouse (None when idle) and whether it is drawn pressed,
    // which is only while the pointer stays on it.
    Half PressedHalf() const { return pressed_; }
    bool ShownPressed() const { return pressed_ != Half::None && pointer_on_pressed_; }

    // The repeat timer, exposed so that tests can run the repeat without waiting for it.
    bool RepeatTimerActive() const { return repeat_timer_.isActive(); }
    int RepeatTimerInterval() const { return repeat_timer_.interval(); }
    // What happens when the repeat timer expires.
    void RepeatTimerTimeout();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    void OnUpClick(korvan::TCSpinButton* sender);
    void OnDownClick(korvan::TCSpinButton* sender);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QRect RectOf(Half half) const;
    void Step(Half half);
    void CancelPress();
    bool BlockedByModalWindow() const;

    QTimer repeat_timer_;
    Half pressed_ = Half::None;
    bool pointer_on_pressed_ = false;
};

}  // namespace korvan
