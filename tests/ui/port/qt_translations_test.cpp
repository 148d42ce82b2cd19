// Qt's own texts follow the program's language, back and forth.
#include "ui/languages/qt_translations.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>

namespace korvan {
namespace {

TEST(QtTranslations, QtsOwnTextsSwitchWithTheLanguage) {
    QtTranslations translations;
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    const QString englishCancel = box.button(QDialogButtonBox::Cancel)->text();
    struct Case {
        std::uint8_t language;
        const char* fileDialogOpen;  // what QFileDialog's "Open" reads as
        const char* cancel;          // the Cancel button after the switch
    } cases[] = {
        {0, "Otevřít", "Zrušit"},
        {2, "Öffnen", "Abbrechen"},
        {1, "Open", "Cancel"},
        {0, "Otevřít", "Zrušit"},  // and back again
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        ASSERT_TRUE(translations.SetLanguage(c.language));
        QApplication::processEvents();  // the language change event reaches the widgets
        EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Open"),
                  QString::fromUtf8(c.fileDialogOpen));
        EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text().remove('&'),
                  QString::fromUtf8(c.cancel));
    }
    ASSERT_TRUE(translations.SetLanguage(1));
    QApplication::processEvents();
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), englishCancel);
}

TEST(QtTranslations, AMissingFileLeavesQtInEnglish) {
    QtTranslations translations("/nonexistent-folder");
    EXPECT_FALSE(translations.SetLanguage(0));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Open"), "Open");
    EXPECT_TRUE(translations.SetLanguage(1));
}

}  // namespace
}  // namespace korvan
