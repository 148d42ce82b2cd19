// The three languages and the hints: tooltips (short part) on the controls that show them,
// and the status bar (long part) for the control under the pointer or the highlighted menu
// item.
#include <QAbstractButton>
#include <QComboBox>
#include <QAction>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QSet>
#include <QStatusBar>
#include <QTabWidget>

#include "params/binding.h"
#include "ui/languages/language_tables.h"
#include "ui/window/form_hlav.h"

namespace korvan {

namespace {

// The only controls whose hint also shows as a tooltip.
const QSet<QString>& TooltipControls() {
    static const QSet<QString> names = [] {
        QSet<QString> s = {"LabelVerze1",    "LabelVerze2",      "LabelVerze3",     "LabelLedRazeni",
                           "ComboBox1",      "CheckBoxAktRpm",   "CheckBoxAktN2o",  "CheckBoxProgHned",
                           "BitBtnAdvMinus", "BitBtnAdvPlus",    "LabelGas1",       "LabelGas2",
                           "LabelGasD",      "LabelGasT",        "LabelRetard1",    "LabelRetard2",
                           "LabelRetardD",   "LabelRetardT",     "LabelPrivHyster", "BitBtnServoMinus",
                           "BitBtnServoPlus", "SpeedButton5",    "SpeedButton6",    "SpeedButton7",
                           "SpeedButtonPrint", "Button1",        "BitBtn1",         "BitBtn2"};
        for (int i = 1; i <= 10; ++i) s.insert("CSpinButton" + QString::number(i));
        return s;
    }();
    return names;
}

}  // namespace

void TFormHlav::MenuEnglishClick() { ApplyLanguage(kLanguageEnglish); }
void TFormHlav::MenuCzechClick() { ApplyLanguage(kLanguageCzech); }
void TFormHlav::MenuGermanClick() { ApplyLanguage(kLanguageGerman); }

void TFormHlav::ApplyLanguage(std::uint8_t languageIndex) {
    if (languageIndex > kLanguageGerman) return;
    menuCzech_->setChecked(languageIndex == kLanguageCzech);
    menuEnglish_->setChecked(languageIndex == kLanguageEnglish);
    menuGerman_->setChecked(languageIndex == kLanguageGerman);
    languageIndex_ = languageIndex;

    for (const LanguageEntry& e : LanguageTable()) {
        const QString name = QString::fromUtf8(e.control);
        const QString text = QString::fromUtf8(e.text.In(languageIndex));
        if (e.kind == TextKind::Title) {
            setWindowTitle(text);
        } else if (e.kind == TextKind::Hint) {
            SetHint(name, text);
        } else if (auto* action = findChild<QAction*>(name)) {
            action->setText(text);
        } else if (auto* menu = findChild<QMenu*>(name)) {
            menu->setTitle(text);
        } else if (auto* group = findChild<QGroupBox*>(name)) {
            group->setTitle(text);
        } else if (auto* button = findChild<QAbstractButton*>(name)) {
            button->setText(text);
        } else if (auto* label = findChild<QLabel*>(name)) {
            label->setText(text);
        } else if (auto* sheet = findChild<QWidget*>(name); sheet && pageControl1_->indexOf(sheet) >= 0) {
            pageControl1_->setTabText(pageControl1_->indexOf(sheet), text);
        }
    }
}

void TFormHlav::SetHint(const QString& objectName, const QString& hint) {
    hints_.insert(objectName, hint);
    const QString longHint = QString::fromStdString(LongHint(hint.toStdString()));
    if (auto* action = findChild<QAction*>(objectName)) {
        action->setStatusTip(longHint);
    } else if (auto* menu = findChild<QMenu*>(objectName)) {
        menu->menuAction()->setStatusTip(longHint);
    } else if (TooltipControls().contains(objectName)) {
        if (auto* w = findChild<QWidget*>(objectName)) {
            w->setToolTip(QString::fromStdString(ShortHint(hint.toStdString())));
        }
    }
}

QString TFormHlav::ControlHint(QObject* object) const {
    // The pointer may be over a part of a control (the edit inside a numeric field, the tab
    // bar of the pages): the hint is that of the control the part belongs to.
    for (QObject* o = object; o != nullptr; o = o->parent()) {
        const QString name = o->objectName();
        if (name.isEmpty() || name.startsWith("qt_")) continue;
        return hints_.value(name);
    }
    return {};
}

void TFormHlav::ShowHintOf(QObject* object) {
    const QString text = QString::fromStdString(LongHint(ControlHint(object).toStdString()));
    if (statusBar()->currentMessage() != text) statusBar()->showMessage(text);
}

bool TFormHlav::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Enter:
        case QEvent::Leave: {
            auto* w = qobject_cast<QWidget*>(watched);
            if (w == nullptr || w->window() != this) break;
            // Leaving a control puts the pointer over its parent, which gets no Enter of its
            // own; a sibling's Enter, which follows, overrides.
            ShowHintOf(event->type() == QEvent::Enter ? w : w->parentWidget());
            break;
        }
        case QEvent::Wheel:
            // A wheel turn over the bike type list would replace the tune with the defaults.
            if (watched == comboBox1_) return true;
            break;
        default: break;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace korvan
