#include "ui/window/caption_fit.h"

#include <algorithm>
#include <cstdint>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include "params/language_tables.h"

namespace korvan {

namespace {

// A push button's own padding around its text. The style's size for a button also applies a
// minimum width that has nothing to do with clipping, so measure with a text wider than it.
int PushButtonPadding(QPushButton* button) {
    constexpr int kWideText = 1000;
    QStyleOptionButton opt;
    opt.initFrom(button);
    opt.text = "x";
    const QSize text(kWideText, button->fontMetrics().height());
    return button->style()->sizeFromContents(QStyle::CT_PushButton, &opt, text, button).width() -
           kWideText;
}

QString WithoutAccessMarks(QString text) {
    text.replace("&&", QChar(0x1F));
    text.remove('&');
    text.replace(QChar(0x1F), "&");
    return text;
}

}  // namespace

int CaptionWidth(QWidget* control, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
        if (label->wordWrap()) return 0;
        return label->fontMetrics().horizontalAdvance(text) + 2 * label->margin() +
               2 * label->frameWidth();
    }
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        return button->fontMetrics().horizontalAdvance(WithoutAccessMarks(text)) +
               PushButtonPadding(button);
    }
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        const QString old = box->text();
        box->setText(text);
        const int need = box->sizeHint().width();
        box->setText(old);
        return need;
    }
    if (auto* group = qobject_cast<QGroupBox*>(control)) {
        const QString old = group->title();
        group->setTitle(text);
        const int need = group->minimumSizeHint().width();
        group->setTitle(old);
        return need;
    }
    return 0;
}

bool CaptionFits(QWidget* control) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
        if (label->text().isEmpty()) return true;
        if (label->wordWrap()) return label->heightForWidth(label->width()) <= label->height();
        return CaptionWidth(label, label->text()) <= label->width();
    }
    if (auto* button = qobject_cast<QPushButton*>(control))
        return CaptionWidth(button, button->text()) <= button->width();
    if (auto* box = qobject_cast<QCheckBox*>(control))
        return CaptionWidth(box, box->text()) <= box->width();
    if (auto* group = qobject_cast<QGroupBox*>(control))
        return CaptionWidth(group, group->title()) <= group->width();
    return true;
}

void FitCaptionsToLanguages(QWidget* root) {
    // The window's font differs between platforms; only the widths are at stake.
    for (const LanguageEntry& e : LanguageTable()) {
        if (e.kind != TextKind::Caption) continue;
        QWidget* w = root->findChild<QWidget*>(e.control);
        if (w == nullptr || qobject_cast<QMenu*>(w) != nullptr) continue;
        int need = 0;
        for (std::uint8_t lang = 0; lang < 3; ++lang) {
            need = std::max(need, CaptionWidth(w, QString::fromUtf8(e.text.In(lang))));
        }
        if (need > w->width()) w->resize(need, w->height());
    }
}

}  // namespace korvan
