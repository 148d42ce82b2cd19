#include "ui/window/hint_status.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMenu>
#include <QSet>
#include <QStatusBar>

#include "params/language_tables.h"

namespace korvan {

namespace {

// The only controls whose hint also shows as a tooltip.
const QSet<QString>& TooltipControls() {
    static const QSet<QString> names = [] {
        QSet<QString> s = {
            "LabelVerze1",      "LabelVerze2",    "LabelVerze3",     "LabelLedRazeni",
            "ComboBox1",        "CheckBoxAktRpm", "CheckBoxAktN2o",  "CheckBoxProgHned",
            "BitBtnAdvMinus",   "BitBtnAdvPlus",  "LabelGas1",       "LabelGas2",
            "LabelGasD",        "LabelGasT",      "LabelRetard1",    "LabelRetard2",
            "LabelRetardD",     "LabelRetardT",   "LabelPrivHyster", "BitBtnServoMinus",
            "BitBtnServoPlus",  "SpeedButton5",   "SpeedButton6",    "SpeedButton7",
            "SpeedButtonPrint", "Button1",        "BitBtn1",         "BitBtn2"};
        for (int i = 1; i <= 10; ++i) s.insert("CSpinButton" + QString::number(i));
        return s;
    }();
    return names;
}

}  // namespace

HintStatus::HintStatus(QMainWindow& window) : window_(window) {
    qApp->installEventFilter(this);
}

HintStatus::~HintStatus() {
    qApp->removeEventFilter(this);
}

void HintStatus::SetHint(const QString& objectName, const QString& hint) {
    hints_.insert(objectName, hint);
    const QString longHint = QString::fromStdString(LongHint(hint.toStdString()));
    if (auto* action = window_.findChild<QAction*>(objectName)) {
        action->setStatusTip(longHint);
    } else if (auto* menu = window_.findChild<QMenu*>(objectName)) {
        menu->menuAction()->setStatusTip(longHint);
    } else if (TooltipControls().contains(objectName)) {
        if (auto* w = window_.findChild<QWidget*>(objectName)) {
            w->setToolTip(QString::fromStdString(ShortHint(hint.toStdString())));
        }
    }
}

QString HintStatus::ControlHint(QObject* object) const {
    // The pointer may be over a part of a control (the edit inside a numeric field, the tab
    // bar of the pages): the hint is that of the control the part belongs to.
    for (QObject* o = object; o != nullptr; o = o->parent()) {
        const QString name = o->objectName();
        if (name.isEmpty() || name.startsWith("qt_")) continue;
        return hints_.value(name);
    }
    return {};
}

void HintStatus::ShowHintOf(QObject* object) {
    const QString text = QString::fromStdString(LongHint(ControlHint(object).toStdString()));
    QStatusBar* status = window_.statusBar();
    if (status->currentMessage() != text) status->showMessage(text);
}

bool HintStatus::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w != nullptr && w->window() == &window_) {
            // Leaving a control puts the pointer over its parent, which gets no Enter of its
            // own; a sibling's Enter, which follows, overrides.
            ShowHintOf(event->type() == QEvent::Enter ? w : w->parentWidget());
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace korvan
