// A horizontal bar gauge: a one-pixel black frame, the empty part in BackColor, the filled
// part from the left in ForeColor and, optionally, the percentage written across both parts in
// inverted colours.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

namespace korvan {

class TCGauge : public QWidget {
    Q_OBJECT

  public:
    explicit TCGauge(QWidget* parent = nullptr);

    int MinValue() const { return min_value_; }
    // Raises MaxValue when it would fall below the new minimum; Progress is kept in range.
    void SetMinValue(int value);
    int MaxValue() const { return max_value_; }
    // Lowers MinValue when it would rise above the new maximum; Progress is kept in range.
    void SetMaxValue(int value);

    int Progress() const { return progress_; }
    // Clamps into MinValue..MaxValue. Repaints only when the shown percentage changes, so the
    // monitor can feed the same reading on every frame for free.
    void SetProgress(int value);

    QColor ForeColor() const { return fore_color_; }
    void SetForeColor(QColor color);
    QColor BackColor() const { return back_color_; }
    void SetBackColor(QColor color);
    bool ShowText() const { return show_text_; }
    void SetShowText(bool show);

    // floor(100 * (Progress - Min) / (Max - Min)); 0 for an empty range.
    int PercentDone() const;

    // How often paintEvent ran; lets the window's performance checks count repaints.
    int PaintCount() const { return paint_count_; }

    // The picture paintEvent puts on screen, at the widget's current size.
    QImage RenderImage() const;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void ClampProgress();
    void UpdateIfPercentChanged(int old_percent);

    int min_value_ = 0;
    int max_value_ = 100;
    int progress_ = 0;
    QColor fore_color_ = Qt::black;
    QColor back_color_ = Qt::white;
    bool show_text_ = true;
    int paint_count_ = 0;
};

}  // namespace korvan
