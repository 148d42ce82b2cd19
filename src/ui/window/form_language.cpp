// The three languages: every text of the language table goes to the control, menu, page or
// hint it names.
#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

#include "params/binding.h"
#include "params/language_tables.h"
#include "ui/languages/qt_translations.h"
#include "ui/window/form_hlav.h"
#include "ui/window/hint_status.h"
#include "ui/window/main_menu.h"
#include "ui/window/parameter_pages.h"

namespace korvan {

void TFormHlav::ApplyLanguage(std::uint8_t languageIndex) {
    if (languageIndex > kLanguageGerman) return;
    menu_->CheckLanguage(languageIndex);
    qtTexts_->SetLanguage(languageIndex);

    // The table names its controls by object name: the language texts are data, kept apart
    // from the window's code.
    for (const LanguageEntry& e : LanguageTable()) {
        const QString name = QString::fromUtf8(e.control);
        const QString text = QString::fromUtf8(e.text.In(languageIndex));
        if (e.kind == TextKind::Title) {
            setWindowTitle(text);
        } else if (e.kind == TextKind::Hint) {
            hints_->SetHint(name, text);
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
        } else {
            pages_->SetPageTitle(name, text);
        }
    }
    // The collaborators' own texts follow the model's language.
    model_->SetLanguage(languageIndex);
}

}  // namespace korvan
