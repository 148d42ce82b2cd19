// The three languages: captions, check marks, texts that fit their controls, hints, and link
// messages in the language current when they are shown.
#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>

#include <ostream>
#include "params/language_tables.h"
#include "tests/ui/window/window_fixture.h"
#include "ui/window/caption_fit.h"
#include "ui/window/guarded_setters.h"
#include "ui/window/history_controller.h"

namespace korvan::testing {
namespace {

struct Captions {
    const char* menuItem;
    QString title, fileMenu, firstTab, other, startLimiter, readButton;
};

TEST_F(WindowTest, EachLanguageItemAppliesItsTableAndItsCheckMark) {
    Open();
    const Captions languages[] = {
        {"MenuGerman", "Programmierung der Korvan 2 Zündbox", "&Datei", "Verschiedene",
         "Vorzündung", "Start Begrenzer [rpm]", "&Lesen"},
        // The Czech table names this group too, so nothing of the German text lingers.
        {"MenuCzech", "Programování jednotky Korvan 2", "&Soubor", "Různé", "Ostatní",
         "Startovací omezovač [rpm]", "Čí&st"},
        {"MenuEnglish", "Programming of Korvan 2 unit", "&File", "Miscellaneous", "Other",
         "Start Limiter [rpm]", "&Read"},
    };
    for (const Captions& c : languages) {
        form->findChild<QAction*>(c.menuItem)->trigger();
        EXPECT_EQ(form->windowTitle(), c.title);
        EXPECT_EQ(Find<QMenu>("MenuFile")->title(), c.fileMenu);
        EXPECT_EQ(Find<QTabWidget>("PageControl1")->tabText(0), c.firstTab);
        EXPECT_EQ(Find<QGroupBox>("GroupBox1")->title(), c.other);
        EXPECT_EQ(Find<QLabel>("LabelOmez1")->text(), c.startLimiter);
        EXPECT_EQ(Find<QAbstractButton>("Button1")->text(), c.readButton);
        for (const char* item : {"MenuCzech", "MenuEnglish", "MenuGerman"}) {
            EXPECT_EQ(form->findChild<QAction*>(item)->isChecked(), QString(item) == c.menuItem)
                << item;
        }
        // Texts that no table touches.
        EXPECT_EQ(Find<QMenu>("MenuTools")->title(), "&Tools");
        EXPECT_EQ(form->findChild<QAction*>("MenuCom10")->text(), "Com 1&0");
    }
}

TEST_F(WindowTest, NoCaptionIsClippedInAnyLanguage) {
    Open();
    for (const char* item : {"MenuCzech", "MenuEnglish", "MenuGerman"}) {
        form->findChild<QAction*>(item)->trigger();
        for (QWidget* w : form->findChildren<QWidget*>()) {
            EXPECT_TRUE(CaptionFits(w)) << item << " " << w->objectName().toStdString();
        }
    }
}

TEST_F(WindowTest, HintsShowTheirShortPartAsTooltipAndTheLongPartInTheStatusBar) {
    Open();
    struct Case {
        const char* control;
        QString tooltip;
        QString status;
    };
    const Case cases[] = {
        {"SpeedButton5", "Open file with parametrs", "Open file with parametrs"},
        {"ComboBox1", "Motorbike Type", "Motorbike Type"},
        {"Label26", "", "Speed - Round per Minute"},  // a hint, but no tooltip on this label
        {"BitBtnServoMinus", "Take off 20 mV", "Take off 20 mV"},
        // A field's tooltip is its range.
        {"EditOmez1",
         "Range " + Edit("EditOmez1")->textFromValue(Edit("EditOmez1")->minimum()) + ".." +
             Edit("EditOmez1")->textFromValue(Edit("EditOmez1")->maximum()) + ", in steps of 100",
         ""},
    };
    Find<QTabWidget>("PageControl1")->setCurrentIndex(1);
    for (const Case& c : cases) {
        QWidget* w = Find(c.control);
        ShowPageOf(w);
        EXPECT_EQ(w->toolTip(), c.tooltip) << c.control;
        QTest::mouseMove(w);
        EXPECT_EQ(form->statusBar()->currentMessage(), c.status) << c.control;
    }
    EXPECT_EQ(form->findChild<QAction*>("AdvanceMinus")->statusTip(),
              "Take off 1 degree of curve A");

    // A highlighted menu item puts its long hint in the status bar.
    auto* device = Find<QMenu>("MenuDevice");
    form->menuBar()->setActiveAction(device->menuAction());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(device));
    QTest::mouseMove(device,
                     device->actionGeometry(form->findChild<QAction*>("MenuVerify")).center());
    EXPECT_EQ(form->statusBar()->currentMessage(),
              "Compare set parameters  with parameters of unit");
    device->close();
}

TEST_F(WindowTest, LinkMessagesAreShownInTheLanguageOfTheMoment) {
    Open();
    form->findChild<QAction*>("MenuGerman")->trigger();
    QTest::keyClick(form.get(), Qt::Key_F7);
    auto* message = Find<QLabel>("LabelHlaseni");
    EXPECT_EQ(message->text(), "Lesen:");
    EXPECT_FALSE(message->isHidden());
    form->findChild<QAction*>("MenuCzech")->trigger();
    EXPECT_EQ(message->text(), "Lesen:");  // a shown message keeps its language
    for (int i = 0; i < 25 && form->Link().Mode() != OperationMode::None; ++i) form->OnTick();
    EXPECT_EQ(message->text(), "Chyba čtení!");
    EXPECT_EQ(message->palette().color(QPalette::Window), ToQColor(Colour::Red));
}

}  // namespace
}  // namespace korvan::testing

namespace korvan::testing {
namespace {

struct VerifyWordCase {
    const char* language;
    const char* verifyWord;  // the word the language table uses for Verify
    const char* mapWord;     // the one word for the map in texts of ours
    const char* otherMapWord;
};
void PrintTo(const VerifyWordCase& c, std::ostream* os) {
    *os << c.language;
}

// The original's captions are the language table's; everything else is ours.
bool FromLanguageTable(const QString& name) {
    for (const LanguageEntry& e : LanguageTable()) {
        if (name == QString::fromUtf8(e.control)) return true;
    }
    return false;
}

TEST_F(WindowTest, OurItemsNeverRepeatTheWordOfVerifyAndSayKennfeld) {
    const VerifyWordCase cases[] = {
        {"DEUTSCH", "ergleich", "Kennfeld", "Karte"},
        {"CESKY", "erifik", "Mapa", "Kennfeld"},
    };
    for (const VerifyWordCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c));
        Open({c.language});
        // The windows made on first use carry texts of ours too.
        form->History().ShowHistory();
        QStringList ours;
        for (QAction* a : form->findChildren<QAction*>()) {
            if (!a->text().isEmpty() && !FromLanguageTable(a->objectName())) ours << a->text();
        }
        for (QAbstractButton* b : form->findChildren<QAbstractButton*>()) {
            if (!FromLanguageTable(b->objectName())) ours << b->text();
        }
        for (QWidget* w : QApplication::topLevelWidgets()) ours << w->windowTitle();
        ASSERT_GT(ours.size(), 20);
        for (const QString& text : ours) {
            EXPECT_FALSE(text.contains(QString::fromUtf8(c.verifyWord), Qt::CaseInsensitive))
                << text.toStdString();
            EXPECT_FALSE(text.contains(QString::fromUtf8(c.otherMapWord))) << text.toStdString();
        }
        // The compare items exist in the language, and the curve window says the map's word.
        EXPECT_TRUE(ours.filter(QString::fromUtf8(c.mapWord)).size() > 0) << c.mapWord;
        form.reset();
    }
}

// The letter after a single '&', lower case; none when the text has no Alt letter.
QChar AltLetter(const QString& text) {
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] != '&') return text[i + 1].toLower();
        ++i;
    }
    return {};
}

TEST_F(WindowTest, NoItemOfOursTakesTheAltLetterOfAnotherItem) {
    for (const char* language : {"CESKY", "ENGLISH", "DEUTSCH"}) {
        SCOPED_TRACE(language);
        Open({language});
        int menus = 0;
        for (QAction* title : form->menuBar()->actions()) {
            if (!title->menu()) continue;
            ++menus;
            QHash<QChar, QAction*> taken;
            for (QAction* a : title->menu()->actions()) {
                const QChar letter = AltLetter(a->text());
                if (a->isSeparator() || letter.isNull()) continue;
                QAction* other = taken.value(letter);
                // Two items of the original's own table keep what they always had.
                EXPECT_TRUE(!other || (FromLanguageTable(a->objectName()) &&
                                       FromLanguageTable(other->objectName())))
                    << title->text().toStdString() << ": " << a->text().toStdString() << " / "
                    << other->text().toStdString();
                taken.insert(letter, a);
            }
        }
        EXPECT_GE(menus, 6);
        form.reset();
    }
}

}  // namespace
}  // namespace korvan::testing
