// Counts the paint events of the watched widgets and their children: the window's tests and
// its tick benchmark use it to show that an unchanged reading repaints nothing.
#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>

namespace korvan::testing {

class PaintCounter : public QObject {
  public:
    void Watch(QWidget* w) {
        w->installEventFilter(this);
        for (QWidget* child : w->findChildren<QWidget*>()) child->installEventFilter(this);
    }
    long count = 0;

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++count;
        return false;
    }
};

}  // namespace korvan::testing
