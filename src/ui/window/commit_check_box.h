// A check box that reports the release of a mouse button over it. The parameter check boxes
// commit on that release only: a toggle by the space key changes the box but commits nothing
// until the next commit from any control takes it.
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
    void mouseReleaseEvent(QMouseEvent* event) override {
        // The box toggles first, so the commit reads the new state.
        QCheckBox::mouseReleaseEvent(event);
        emit MouseUp();
    }
};

}  // namespace korvan
