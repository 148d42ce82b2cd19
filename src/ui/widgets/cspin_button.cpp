#include "ui/widgets/cspin_button.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QStyleOption>
#include <QWindow>

namespace korvan {

TCSpinButton::TCSpinButton(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setMinimumWidth(kMinimumWidth);
    repeat_timer_.setSingleShot(false);
    connect(&repeat_timer_, &QTimer::timeout, this, &TCSpinButton::RepeatTimerTimeout);
}

QRect TCSpinButton::UpRect() const {
    return QRect(0, 0, width(), height() / 2);
}

QRect TCSpinButton::DownRect() const {
    const int up_height = height() / 2;
    return QRect(0, up_height - 1, width(), height() - up_height + 1);
}

QRect TCSpinButton::RectOf(Half half) const {
    switch (half) {
        case Half::Up:
            return UpRect();
        case Half::Down:
            return DownRect();
        case Half::None:
            break;
    }
    return {};
}

TCSpinButton::Half TCSpinButton::HalfAt(const QPoint& pos) const {
    if (DownRect().contains(pos)) return Half::Down;
    if (UpRect().contains(pos)) return Half::Up;
    return Half::None;
}

QSize TCSpinButton::sizeHint() const {
    return {20, 25};
}
QSize TCSpinButton::minimumSizeHint() const {
    return {kMinimumWidth, 4};
}

void TCSpinButton::Step(Half half) {
    if (half == Half::Up) emit OnUpClick(this);
    if (half == Half::Down) emit OnDownClick(this);
}

void TCSpinButton::CancelPress() {
    repeat_timer_.stop();
    if (pressed_ == Half::None) return;
    pressed_ = Half::None;
    pointer_on_pressed_ = false;
    update();
}

bool TCSpinButton::BlockedByModalWindow() const {
    // A message box opened by a step handler takes the mouse, so the release never reaches
    // us. Without this check the held half would go on stepping behind the box.
    const QWindow* modal = QGuiApplication::modalWindow();
    if (modal == nullptr) return false;
    const QWidget* top = window();
    return top == nullptr || top->windowHandle() != modal;
}

void TCSpinButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || pressed_ != Half::None) {
        event->ignore();
        return;
    }
    const Half half = HalfAt(event->position().toPoint());
    if (half == Half::None) return;
    pressed_ = half;
    pointer_on_pressed_ = true;
    repeat_timer_.start(kFirstRepeatDelayMs);
    update();
}

void TCSpinButton::mouseMoveEvent(QMouseEvent* event) {
    if (pressed_ == Half::None) return;
    const bool on = RectOf(pressed_).contains(event->position().toPoint());
    if (on == pointer_on_pressed_) return;
    pointer_on_pressed_ = on;
    update();
}

void TCSpinButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || pressed_ == Half::None) return;
    const Half half = pressed_;
    const bool on = RectOf(half).contains(event->position().toPoint());
    CancelPress();
    // The step on release makes a plain click exactly one step.
    if (on) Step(half);
}

void TCSpinButton::RepeatTimerTimeout() {
    if (pressed_ == Half::None) {
        repeat_timer_.stop();
        return;
    }
    if (BlockedByModalWindow()) {
        CancelPress();
        return;
    }
    if (repeat_timer_.interval() != kRepeatIntervalMs || !repeat_timer_.isActive()) {
        repeat_timer_.start(kRepeatIntervalMs);
    }
    if (pointer_on_pressed_) Step(pressed_);
}

void TCSpinButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) CancelPress();
    QWidget::changeEvent(event);
}

void TCSpinButton::hideEvent(QHideEvent* event) {
    // A hidden button gets no release; it must not keep stepping.
    CancelPress();
    QWidget::hideEvent(event);
}

namespace {

void DrawHalf(QPainter& painter, const QWidget& widget, const QRect& rect, bool pressed, bool up) {
    QStyleOptionButton option;
    option.initFrom(&widget);
    option.rect = rect;
    option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
    option.state |= pressed ? QStyle::State_Sunken : QStyle::State_Raised;
    widget.style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, &widget);

    // A solid triangle, half as high as it is wide, sized to the half and moved by a pixel
    // when pressed like the face of a pushed button.
    const int base = qMax(3, qMin(rect.width() - 6, (rect.height() - 4) * 2) | 1);
    const int tip = base / 2;
    const int shift = pressed ? 1 : 0;
    const int cx = rect.left() + rect.width() / 2 + shift;
    const int top = rect.top() + (rect.height() - tip - 1) / 2 + shift;
    QPolygon arrow;
    if (up) {
        arrow << QPoint(cx, top) << QPoint(cx - tip, top + tip) << QPoint(cx + tip, top + tip);
    } else {
        arrow << QPoint(cx - tip, top) << QPoint(cx + tip, top) << QPoint(cx, top + tip);
    }
    const QColor color = widget.isEnabled()
                             ? widget.palette().color(QPalette::ButtonText)
                             : widget.palette().color(QPalette::Disabled, QPalette::ButtonText);
    painter.setPen(color);
    painter.setBrush(color);
    painter.drawPolygon(arrow);
}

}  // namespace

void TCSpinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool shown = ShownPressed();
    // Down last: it lies over the shared pixel row, as it does for the mouse.
    DrawHalf(painter, *this, UpRect(), shown && pressed_ == Half::Up, true);
    DrawHalf(painter, *this, DownRect(), shown && pressed_ == Half::Down, false);
}

}  // namespace korvan
