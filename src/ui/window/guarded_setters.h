// Setters that touch a control only when the new value differs from what it already shows.
// The 55 ms tick assigns texts and colours to some 160 controls whether or not anything
// changed; without these guards every tick would repaint them all.
#pragma once

#include <QApplication>
#include <QColor>
#include <QLabel>
#include <QPalette>
#include <QString>
#include <QWidget>

#include "device/colour.h"
#include "ui/widgets/readable_text.h"

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

// Background of a label or check box, with a text colour that reads on it under a light or a
// dark palette (the palette's own when it does). The normal colour (button face) lets the
// parent show through, so a control inside a group or on a page looks like its surroundings;
// any other colour is filled in. A label fills with the Window role, a button (a check box)
// with the Button role: both are set, in one palette. The Text role stays: a check box draws
// its tick with it, on the palette's own Base.
inline void SetBackground(QWidget* w, const QColor& colour, bool normal) {
    const QPalette::ColorRole fill = w->backgroundRole();
    const QColor text = ReadableTextOn(colour, QApplication::palette().color(QPalette::WindowText));
    const QPalette& now = w->palette();
    if (now.color(QPalette::Window) != colour || now.color(fill) != colour ||
        now.color(QPalette::WindowText) != text || now.color(QPalette::ButtonText) != text) {
        QPalette p = now;
        p.setColor(QPalette::Window, colour);
        p.setColor(fill, colour);
        p.setColor(QPalette::WindowText, text);
        p.setColor(QPalette::ButtonText, text);
        w->setPalette(p);
    }
    if (w->autoFillBackground() == normal) w->setAutoFillBackground(!normal);
}
inline void SetBackground(QWidget* w, Colour colour) {
    SetBackground(w, ToQColor(colour), colour == Colour::ButtonFace);
}
// Background of an edit field, with a text colour that reads on it.
inline void SetFieldBackground(QWidget* w, const QColor& colour) {
    const QColor text = ReadableTextOn(colour, QApplication::palette().color(QPalette::Text));
    if (w->palette().color(QPalette::Base) == colour && w->palette().color(QPalette::Text) == text)
        return;
    QPalette p = w->palette();
    p.setColor(QPalette::Base, colour);
    p.setColor(QPalette::Text, text);
    w->setPalette(p);
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
