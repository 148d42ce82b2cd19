// The replay's position slider with the log's markers drawn on it: a small flag above the
// groove at each marker's row, so the tuner sees where the moments worth a look are and can
// drag straight to them.
#pragma once

#include <QSlider>
#include <vector>

namespace korvan {

class MarkedSlider : public QSlider {
    Q_OBJECT
  public:
    explicit MarkedSlider(QWidget* parent = nullptr);

    // The slider values the markers stand at.
    void SetMarks(std::vector<int> values);
    const std::vector<int>& Marks() const { return marks_; }
    // Where marker `index` is drawn, in this widget's x coordinate.
    int MarkX(std::size_t index) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<int> marks_;
};

}  // namespace korvan
