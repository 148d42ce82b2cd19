// Setters that touch a control only when the new value differs from what it already shows.
// The 55 ms tick assigns texts and colours to some 160 controls whether or not anything
// changed; without these guards every tick would repaint them all.
#pragma once

#include <QColor>
#include <QLabel>
#include <QPalette>
#include <QString>
#include <QWidget>

#include "device/colour.h"

namespace korvan {

// The on-screen colour of a link colour. Button face is the dialog background, Window the
// edit background of the platform's palette.
QColor ToQColor(Colour colour);

inline void SetRoleColour(QWidget* w, QPalette::ColorRole role, const QColor& colour) {
    if (w->palette().color(role) == colour) return;
    QPalette p = w->palette();
    p.setColor(role, colour);
    w->setPalette(p);
}

// Background of a label or check box. The normal colour (button face) lets the parent show
// through, so a control inside a group or on a page looks like its surroundings; any other
// colour is filled in. A label fills with the Window role, a button (a check box) with the
// Button role: both are set, in one palette.
inline void SetBackground(QWidget* w, const QColor& colour, bool normal) {
    const QPalette::ColorRole fill = w->backgroundRole();
    if (w->palette().color(QPalette::Window) != colour || w->palette().color(fill) != colour) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, colour);
        p.setColor(fill, colour);
        w->setPalette(p);
    }
    if (w->autoFillBackground() == normal) w->setAutoFillBackground(!normal);
}
inline void SetBackground(QWidget* w, Colour colour) {
    SetBackground(w, ToQColor(colour), colour == Colour::ButtonFace);
}
// Background of an edit field.
inline void SetFieldBackground(QWidget* w, const QColor& colour) {
    SetRoleColour(w, QPalette::Base, colour);
}

inline void SetLabelText(QLabel* label, const QString& text) {
    if (label->text() != text) label->setText(text);
}

// Visibility as the control's own flag (a control on a page that is not shown still counts
// as visible here, as the rules of the binding expect).
inline void SetShown(QWidget* w, bool shown) {
    if (w->isHidden() == shown) w->setVisible(shown);
}

inline void MoveTo(QWidget* w, int x, int y) {
    if (w->x() != x || w->y() != y) w->move(x, y);
}

}  // namespace korvan
