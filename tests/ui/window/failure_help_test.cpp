// After a failed operation: the differences when the unit answered with something else, and a
// plain word when the line is dead.
#include <QAction>
#include <QLabel>
#include <QPushButton>

#include "device/frame.h"
#include "tests/ui/window/window_fixture.h"
#include "ui/window/history_controller.h"

namespace korvan::testing {
namespace {

constexpr std::uint8_t kVerifyParamAnswer = 0x41 | kAnswerBit;

class FailureHelpTest : public WindowTest {
  public:
    void TickUntilIdle() {
        for (int tick = 0; tick < 40 && form->Link().Mode() != OperationMode::None; ++tick)
            form->OnTick();
    }
    QPushButton* Button() const { return Find<QPushButton>("ButtonShowDifferences"); }
    QAction* Item() const { return Find<QAction>("MenuShowDifferences"); }
    QLabel* LineLost() const { return Find<QLabel>("LabelLineLost"); }
    // Nothing of the row (the gauge) covers it.
    static bool OnTop(QWidget* w) {
        return w->parentWidget()->childAt(w->geometry().center()) == w;
    }
};

TEST_F(FailureHelpTest, AVerifyTheUnitAnsweredDifferentlyOffersTheDifferences) {
    Open();
    EXPECT_TRUE(Button()->isHidden());
    EXPECT_FALSE(Item()->isEnabled());
    DeviceImage unit = form->Image();
    unit[field::BaseAdv] = static_cast<std::uint8_t>(unit[field::BaseAdv] + 1);
    QTest::keyClick(form.get(), Qt::Key_F8);
    port.Queue(BuildFrame(kVerifyParamAnswer, unit.Page(kParamPageNumber)));
    TickUntilIdle();
    ASSERT_EQ(Find<QLabel>("LabelHlaseni")->text(), "Verify error!");
    EXPECT_FALSE(Button()->isHidden());
    EXPECT_TRUE(OnTop(Button()));
    EXPECT_TRUE(Item()->isEnabled());
    EXPECT_TRUE(LineLost()->isHidden());
    EXPECT_EQ(Button()->text(), "Show &differences");

    // The compare with the unit begins: the unit is read into a set of its own.
    Button()->click();
    EXPECT_EQ(form->Link().Mode(), OperationMode::Read);
    EXPECT_EQ(Find<QLabel>("LabelHlaseni")->text(), "Read device:");
    EXPECT_TRUE(Button()->isHidden()) << "a new operation ends the offer";
    EXPECT_FALSE(Item()->isEnabled());
}

TEST_F(FailureHelpTest, AProgramThatGotNoAnswerSaysTheLineIsLost) {
    struct Case {
        const char* language;
        const char* failure;
        const char* lost;
    } cases[] = {
        {"ENGLISH", "Program error!", "The line to the unit is lost"},
        {"DEUTSCH", "Programmier. Fehler", "Die Verbindung zur Zündbox ist verloren"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        Open({c.language});
        QTest::keyClick(form.get(), Qt::Key_F9);
        TickUntilIdle();
        ASSERT_EQ(Find<QLabel>("LabelHlaseni")->text(), QString::fromUtf8(c.failure));
        EXPECT_FALSE(LineLost()->isHidden());
        EXPECT_TRUE(OnTop(LineLost()));
        EXPECT_EQ(LineLost()->text(), QString::fromUtf8(c.lost));
        EXPECT_TRUE(Button()->isHidden()) << "nothing to compare with";
        EXPECT_FALSE(Item()->isEnabled());
        // It goes with the message.
        for (int tick = 0; tick < 201; ++tick) form->OnTick();
        EXPECT_TRUE(Find<QLabel>("LabelHlaseni")->isHidden());
        EXPECT_TRUE(LineLost()->isHidden());
        form.reset();
    }
}

}  // namespace
}  // namespace korvan::testing
