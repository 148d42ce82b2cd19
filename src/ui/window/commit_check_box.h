// A check box that reports the release of a mouse button over it. The parameter check boxes
// commit on that release only: a toggle by the space key changes the box but commits nothing
// until the next commit from any control takes it. The whole box is its click area, caption
// and blank space included, not only the square and the text.
#pragma once

#include <QCheckBox>
#include <QMouseEvent>

namespace korvan {

class CommitCheckBox : public QCheckBox {
    Q_OBJECT

  public:
    using QCheckBox::QCheckBox;

  signals:
    void MouseUp();

  protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        // The box toggles first, so the commit reads the new state.
        QCheckBox::mouseReleaseEvent(event);
        emit MouseUp();
    }
};

}  // namespace korvan
