#include "ui/languages/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace korvan {

namespace {
// The base module holds the dialogs, buttons and context menus the program shows.
const char* BaseFileName(std::uint8_t language) {
    switch (language) {
        case 0:
            return "qtbase_cs";
        case 2:
            return "qtbase_de";
        default:
            return nullptr;
    }
}
}  // namespace

QtTranslations::QtTranslations(QString folder)
    : folder_(folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath)
                               : std::move(folder)) {}

QtTranslations::~QtTranslations() {
    Remove();
}

void QtTranslations::Remove() {
    if (translator_) QCoreApplication::removeTranslator(translator_.get());
    translator_.reset();
}

bool QtTranslations::SetLanguage(std::uint8_t language) {
    Remove();
    const char* name = BaseFileName(language);
    if (!name) return true;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QString::fromLatin1(name), folder_)) return false;
    QCoreApplication::installTranslator(translator.get());
    translator_ = std::move(translator);
    return true;
}

}  // namespace korvan
