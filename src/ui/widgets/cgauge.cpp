#include "ui/widgets/cgauge.h"

#include <QFontMetrics>
#include <QPainter>

#include <cstdint>

namespace korvan {

TCGauge::TCGauge(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    // Every pixel is drawn from the off-screen image, so Qt need not clear the background.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TCGauge::SetMinValue(int value) {
    const int old_percent = PercentDone();
    min_value_ = value;
    if (max_value_ < min_value_) max_value_ = min_value_;
    ClampProgress();
    UpdateIfPercentChanged(old_percent);
}

void TCGauge::SetMaxValue(int value) {
    const int old_percent = PercentDone();
    max_value_ = value;
    if (min_value_ > max_value_) min_value_ = max_value_;
    ClampProgress();
    UpdateIfPercentChanged(old_percent);
}

void TCGauge::SetProgress(int value) {
    const int old_percent = PercentDone();
    progress_ = value;
    ClampProgress();
    UpdateIfPercentChanged(old_percent);
}

void TCGauge::SetForeColor(QColor color) {
    if (color == fore_color_) return;
    fore_color_ = color;
    update();
}

void TCGauge::SetBackColor(QColor color) {
    if (color == back_color_) return;
    back_color_ = color;
    update();
}

void TCGauge::SetShowText(bool show) {
    if (show == show_text_) return;
    show_text_ = show;
    update();
}

int TCGauge::PercentDone() const {
    if (max_value_ == min_value_) return 0;
    // 64-bit: the range of two 32-bit values and the factor 100 do not fit in 32 bits.
    const std::int64_t done = std::int64_t{progress_} - min_value_;
    const std::int64_t range = std::int64_t{max_value_} - min_value_;
    return static_cast<int>(done * 100 / range);  // both non-negative: division floors
}

void TCGauge::ClampProgress() {
    if (progress_ < min_value_) progress_ = min_value_;
    if (progress_ > max_value_) progress_ = max_value_;
}

void TCGauge::UpdateIfPercentChanged(int old_percent) {
    if (PercentDone() != old_percent) update();
}

QSize TCGauge::sizeHint() const {
    return {100, 21};
}

QImage TCGauge::RenderImage() const {
    QImage image(size(), QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.fill(Qt::black);

    const QRect bar = rect().adjusted(1, 1, -1, -1);
    if (bar.isEmpty()) return image;
    const int percent = PercentDone();
    const int filled = static_cast<int>(std::int64_t{bar.width()} * percent / 100);

    QPainter painter(&image);
    painter.fillRect(bar, back_color_);
    if (filled > 0)
        painter.fillRect(QRect(bar.left(), bar.top(), filled, bar.height()), fore_color_);
    painter.end();

    if (show_text_) {
        // The text is drawn without smoothing into a mask, and each of its pixels flips the
        // picture beneath (exclusive-or with white): readable on both the filled and the empty
        // part. Smoothed edges would XOR into stray colours.
        QImage mask(bar.size(), QImage::Format_ARGB32_Premultiplied);
        mask.fill(Qt::transparent);
        QFont text_font = font();
        text_font.setStyleStrategy(QFont::NoAntialias);
        QPainter text_painter(&mask);
        text_painter.setFont(text_font);
        text_painter.setPen(Qt::white);
        text_painter.drawText(mask.rect(), Qt::AlignCenter, QString::number(percent) + u'%');
        text_painter.end();

        for (int y = 0; y < mask.height(); ++y) {
            const auto* src = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
            auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y + bar.top())) + bar.left();
            for (int x = 0; x < mask.width(); ++x) {
                if (qAlpha(src[x]) >= 128) dst[x] ^= 0x00FFFFFFu;
            }
        }
    }
    return image;
}

void TCGauge::paintEvent(QPaintEvent*) {
    ++paint_count_;
    const QImage image = RenderImage();
    QPainter painter(this);
    painter.drawImage(0, 0, image);
}

}  // namespace korvan
