#include "ui/window/widget_factory.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "ui/widgets/cgauge.h"
#include "ui/window/commit_check_box.h"
#include "ui/window/guarded_setters.h"

namespace korvan {

namespace {

constexpr int kWindowFontPoints = 8;

}  // namespace

QColor ToQColor(Colour colour) {
    switch (colour) {
        case Colour::ButtonFace:
            return QApplication::palette().color(QPalette::Window);
        case Colour::Window:
            return QApplication::palette().color(QPalette::Base);
        default:
            return QColor::fromRgb(static_cast<QRgb>(FixedRgb(colour)));
    }
}

QFont WindowFont() {
    QFont f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    f.setStyleHint(QFont::SansSerif);
    f.setPointSize(kWindowFontPoints);
    return f;
}

QFont PixelFont(const QFont& base, int pixels, bool bold) {
    QFont f = base;
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w,
                  int h) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(x, y, w, h);
    return label;
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QString& text, int x, int y,
                        int w) {
    auto* box = new CommitCheckBox(text, parent);
    box->setObjectName(name);
    box->setGeometry(x, y, w, kCheckBoxHeight);
    // Out of the Tab order; a click still focuses it, as a click on any check box does.
    box->setFocusPolicy(Qt::ClickFocus);
    return box;
}

CommitCheckBox* MakeCommitCheckBox(QWidget* parent, const char* name, const QString& text, int x,
                                   int y, int w) {
    auto* box = new CommitCheckBox(text, parent);
    box->setObjectName(name);
    box->setGeometry(x, y, w, kCheckBoxHeight);
    box->setFocusPolicy(Qt::ClickFocus);
    return box;
}

QGroupBox* MakeGroupBox(QWidget* parent, const char* name, const QString& title, int x, int y,
                        int w, int h) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(name);
    group->setGeometry(x, y, w, h);
    return group;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, int x, int y, int w,
                        int h) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(x, y, w, h);
    button->setFocusPolicy(Qt::ClickFocus);
    button->setAutoDefault(false);
    return button;
}

TCGauge* MakeGauge(QWidget* parent, const char* name, int x, int y, int w, int h, int max,
                   const QColor& fore, bool showText) {
    auto* gauge = new TCGauge(parent);
    gauge->setObjectName(name);
    gauge->setGeometry(x, y, w, h);
    gauge->SetMinValue(0);
    gauge->SetMaxValue(max);
    gauge->SetForeColor(fore);
    gauge->SetBackColor(Qt::white);
    gauge->SetShowText(showText);
    gauge->setFocusPolicy(Qt::NoFocus);
    return gauge;
}

}  // namespace korvan
