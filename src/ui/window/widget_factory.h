// The few ways the window makes its controls: a named control at a fixed pixel position with
// the focus behaviour the tuners know. Every collaborator of the window builds its own
// widgets with these, so a label or a button looks and behaves the same wherever it sits.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include "device/colour.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace korvan {

class CommitCheckBox;
class TCGauge;

constexpr int kCheckBoxHeight = 17;

// The window's font: the platform's sans serif at 8 points.
QFont WindowFont();
// `base` at a pixel size, bold or not.
QFont PixelFont(const QFont& base, int pixels, bool bold);

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w,
                  int h);
// A check box out of the Tab order that commits nothing on its own.
QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QString& text, int x, int y,
                        int w);
// A parameter check box; its owner connects MouseUp to the commit.
CommitCheckBox* MakeCommitCheckBox(QWidget* parent, const char* name, const QString& text, int x,
                                   int y, int w);
QGroupBox* MakeGroupBox(QWidget* parent, const char* name, const QString& title, int x, int y,
                        int w, int h);
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, int x, int y, int w,
                        int h);
TCGauge* MakeGauge(QWidget* parent, const char* name, int x, int y, int w, int h, int max,
                   const QColor& fore, bool showText);

}  // namespace korvan
