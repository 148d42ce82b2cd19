// Committing edits through keys and clicks: leaving a field, Enter, arrow steps, check boxes,
// the parse rule, the repair of orderings, and the Tab order.
#include <QCheckBox>
#include <QLocale>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTabWidget>
#include <sstream>

#include "files/state_file.h"
#include "params/defaults.h"
#include "tests/ui/window/window_fixture.h"

namespace korvan::testing {
namespace {

TEST_F(WindowTest, EveryCommitPathTakesTheEditIntoTheImage) {
    struct Case {
        const char* what;
        std::function<void(WindowTest&)> act;
        std::size_t index;
        std::uint8_t expected;
    };
    const Case cases[] = {
        {"leaving by Tab",
         [](WindowTest& t) {
             t.TypeInto("EditOmez2", "7000");
             QTest::keyClick(t.Edit("EditOmez2"), Qt::Key_Tab);
         },
         field::Limiter2, 70},
        {"Enter",
         [](WindowTest& t) {
             t.TypeInto("EditClutch", "300");
             QTest::keyClick(t.Edit("EditClutch"), Qt::Key_Return);
         },
         field::Clutch, 30},
        {"arrow key", [](WindowTest& t) { QTest::keyClick(t.Edit("EditBaseAdv"), Qt::Key_Up); },
         field::BaseAdv, 11},
        {"click on the down arrow",
         [](WindowTest& t) {
             NumericEdit* e = t.Edit("EditLedRazeni");
             QStyleOptionSpinBox opt;
             opt.initFrom(e);
             opt.subControls = QStyle::SC_SpinBoxDown;
             opt.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
             const QRect down =
                 e->style()->subControlRect(QStyle::CC_SpinBox, &opt, QStyle::SC_SpinBoxDown, e);
             QTest::mouseClick(e, Qt::LeftButton, {}, down.center());
         },
         field::LedRazeni, 89},
        {"click on a check box",
         [](WindowTest& t) {
             QTest::mouseClick(t.Find<QCheckBox>("CheckBoxAktBlok1"), Qt::LeftButton);
         },
         field::ActBlok1, 0},
    };
    for (const Case& c : cases) {
        Open();
        c.act(*this);
        EXPECT_EQ(Byte(c.index), c.expected) << c.what;
        form.reset();
    }
}

TEST_F(WindowTest, TypingAloneOrSpaceOnACheckBoxCommitsNothingUntilTheNextCommit) {
    Open();
    auto* box = Find<QCheckBox>("CheckBoxRpm2Krat");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(Byte(field::Rpm2), 0);
    TypeInto("EditBaseAdv", "25");
    EXPECT_EQ(Byte(field::BaseAdv), 10);
    EXPECT_EQ(Byte(field::Rpm2), 0);

    // Any commit reads every control: the toggled box and the text still being typed.
    QTest::keyClick(Edit("EditClutch"), Qt::Key_Up);
    EXPECT_EQ(Byte(field::Clutch), 21);
    EXPECT_EQ(Byte(field::BaseAdv), 25);
    EXPECT_EQ(Byte(field::Rpm2), 1);
}

TEST_F(WindowTest, SwitchingToAnotherWindowOrAPageKeyCommitsNothing) {
    Open();
    TypeInto("EditOmez1", "7000");
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(Byte(field::Limiter1), 50);  // the window lost activation: not a commit
    EXPECT_EQ(Edit("EditOmez1")->text(), "7000");
    other.hide();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(Edit("EditOmez1"), Qt::Key_Tab);  // really leaving the field commits it
    EXPECT_EQ(Byte(field::Limiter1), 70);

    // The up-down knows single steps only; a page key steps nothing.
    const DeviceImage before = form->Image();
    QTest::keyClick(Edit("EditOmez2"), Qt::Key_PageUp);
    QTest::keyClick(Edit("EditOmez2"), Qt::Key_PageDown);
    EXPECT_EQ(form->Image(), before);
    EXPECT_EQ(Edit("EditOmez2")->value(), 11000);
}

TEST_F(WindowTest, TypedTextIsTakenOnlyAsAWholeNumberWithinTheLimits) {
    struct Case {
        QLocale locale;
        const char* edit;
        const char* typed;
        std::size_t index;
        std::uint8_t expected;
        const char* shown;
    };
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    const Case cases[] = {
        // 70 in a 0..60 cell gives back the old value, never 7.
        {english, "Edit55", "70", AdvanceIndex(0, 5), 32, "32"},
        {english, "Edit55", "4x", AdvanceIndex(0, 5), 32, "32"},
        {english, "EditOmez2", "25100", field::Limiter2, 110, "11,000"},
        // The locale's digit-group separator is accepted; off-step values truncate.
        {english, "EditOmez1", "15,050", field::Limiter1, 150, "15,000"},
        {german, "EditOmez1", "15.050", field::Limiter1, 150, "15.000"},
        {english, "EditOmez1", "8500", field::Limiter1, 85, "8,500"},
    };
    const QLocale before;
    for (const Case& c : cases) {
        QLocale::setDefault(c.locale);
        Open();
        TypeInto(c.edit, c.typed);
        QTest::keyClick(Edit(c.edit), Qt::Key_Tab);
        EXPECT_EQ(Byte(c.index), c.expected) << c.edit << " " << c.typed;
        EXPECT_EQ(Edit(c.edit)->text(), c.shown) << c.edit << " " << c.typed;
        form.reset();
    }
    QLocale::setDefault(before);
}

TEST_F(WindowTest, OrderingsAreRepairedWhenTheEditIsCommitted) {
    struct Case {
        const char* edit;
        const char* typed;
        const char* checked;
        const char* shown;
    };
    const Case cases[] = {
        // A breakpoint pushed past its right neighbour pushes it up by one step.
        {"EditRpmAdv3", "5000", "EditRpmAdv4", "5100"},
        {"EditRpmAdv3", "5000", "EditRpmAdv5", "5200"},
        {"EditRpmAdv3", "5000", "EditRpmAdv6", "6000"},
        {"EditRpmAdv1", "200", "EditRpmAdv1", "300"},
        {"EditRpmAdv10", "20100", "EditRpmAdv10", "20000"},
        {"EditOmez2", "3000", "EditOmez2", "5,000"},
        {"EditGas1", "90", "EditGas1", "60"},
        {"EditGasT", "0", "EditGasT", "100"},
    };
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    for (const Case& c : cases) {
        Open();
        TypeInto(c.edit, c.typed);
        QTest::keyClick(Edit(c.edit), Qt::Key_Return);
        EXPECT_EQ(Edit(c.checked)->text(), c.shown) << c.edit << " " << c.typed;
        form.reset();
    }
    QLocale::setDefault(QLocale::system());
}

TEST_F(WindowTest, EnterAndTabMoveOnlyAmongTheFieldsOfTheShownPageInOrder) {
    Open();
    const QStringList misc = {"EditTps0",  "EditTps100", "EditBaseAdv",   "EditOmez1",
                              "EditOmez2", "EditClutch", "EditLedRazeni", "EditTps0"};
    Edit("EditTps0")->setFocus();
    for (int i = 1; i < misc.size(); ++i) {
        // Enter and Tab alternate: both move exactly alike.
        QTest::keyClick(QApplication::focusWidget(), i % 2 ? Qt::Key_Return : Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), misc[i]) << i;
    }

    // On the map without the throttle axis only the single curve row and the axis are there.
    TypeInto("Edit149", "30");
    QTest::keyClick(Edit("Edit149"), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "EditRpmAdv1");
    EXPECT_EQ(Byte(AdvanceIndex(9, 9)), 30);
    Edit("EditRpmAdv10")->setFocus();
    QTest::keyClick(Edit("EditRpmAdv10"), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Edit140");

    // The page tabs, check boxes and buttons are never reached by Tab.
    for (const char* name :
         {"CheckBoxTpsMapa", "BitBtnAdvPlus", "CheckBoxIgnAll", "PageControl1"}) {
        EXPECT_FALSE(Find(name)->focusPolicy() & Qt::TabFocus) << name;
    }
}

TEST_F(WindowTest, AShortcutOrClosingTakesTheValueStillBeingTyped) {
    Open();
    TypeInto("EditOmez1", "7000");
    QTest::keyClick(Edit("EditOmez1"), Qt::Key_F9);
    EXPECT_EQ(Byte(field::Limiter1), 70);
    ASSERT_FALSE(port.SentCommands().empty());
    EXPECT_EQ(port.SentCommands().back(), 0x00);  // programming starts with the identity page

    TypeInto("Edit55", "44");
    CloseAndDestroy();
    DeviceImage saved;
    std::istringstream in(ReadFile(kStateFileName).toStdString());
    ASSERT_EQ(ReadStateFile(in, saved), kImageSize);
    EXPECT_EQ(saved[field::Limiter1], 70);
    EXPECT_EQ(saved[AdvanceIndex(0, 5)], 44);
}

TEST_F(WindowTest, DestroyingTheWindowWhileAFieldIsBeingEditedIsSafe) {
    Open();
    TypeInto("EditOmez1", "7000");
    form.reset();  // the focused field reports leaving while the window goes away
    EXPECT_TRUE(ReadFile(kStateFileName).isEmpty());  // not closed: nothing saved
}

}  // namespace
}  // namespace korvan::testing
