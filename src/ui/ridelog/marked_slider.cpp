#include "ui/ridelog/marked_slider.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionSlider>

namespace korvan {

namespace {
constexpr int kFlagHalfWidth = 4;
constexpr int kFlagHeight = 6;
// Orange with a dark edge reads on a light and on a dark palette alike.
const QColor kFlagFill(0xFF, 0x8C, 0x00);
const QColor kFlagEdge(0x20, 0x20, 0x20);
}  // namespace

MarkedSlider::MarkedSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setObjectName("SliderReplay");
}

void MarkedSlider::SetMarks(std::vector<int> values) {
    if (values == marks_) return;
    marks_ = std::move(values);
    update();
}

int MarkedSlider::MarkX(std::size_t index) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    // The handle's centre travels over the groove less the handle's own width.
    const int span = groove.width() - handle.width();
    const int value = index < marks_.size() ? marks_[index] : minimum();
    return groove.x() + handle.width() / 2 +
           QStyle::sliderPositionFromValue(minimum(), maximum(), value, span, option.upsideDown);
}

void MarkedSlider::paintEvent(QPaintEvent* event) {
    QSlider::paintEvent(event);
    if (marks_.empty() || maximum() <= minimum()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kFlagEdge, 1));
    painter.setBrush(kFlagFill);
    for (std::size_t i = 0; i < marks_.size(); ++i) {
        const double x = MarkX(i) + 0.5;
        QPainterPath flag;
        flag.moveTo(x - kFlagHalfWidth, 0.5);
        flag.lineTo(x + kFlagHalfWidth, 0.5);
        flag.lineTo(x, kFlagHeight + 0.5);
        flag.closeSubpath();
        painter.drawPath(flag);
        painter.drawLine(QPointF(x, kFlagHeight), QPointF(x, height() - 1.0));
    }
}

}  // namespace korvan
