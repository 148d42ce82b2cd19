#include "ui/widgets/cspin_button.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

namespace korvan {
namespace {

using Half = TCSpinButton::Half;

// Counts the steps of one spin button and checks that each names it as the sender.
struct StepCounter {
    explicit StepCounter(TCSpinButton& button) {
        QObject::connect(&button, &TCSpinButton::OnUpClick, [this, &button](TCSpinButton* sender) {
            ++up;
            if (sender != &button) ++wrong_sender;
        });
        QObject::connect(&button, &TCSpinButton::OnDownClick,
                         [this, &button](TCSpinButton* sender) {
                             ++down;
                             if (sender != &button) ++wrong_sender;
                         });
    }
    int up = 0;
    int down = 0;
    int wrong_sender = 0;
};

// Runs the repeat timer by hand as a clock would: each expiry comes one current interval after
// the last, up to `until_ms` after the press.
int RunRepeatUntil(TCSpinButton& button, int until_ms) {
    int now = 0;
    int expiries = 0;
    while (button.RepeatTimerActive() && now + button.RepeatTimerInterval() <= until_ms) {
        now += button.RepeatTimerInterval();
        button.RepeatTimerTimeout();
        ++expiries;
    }
    return expiries;
}

class TCSpinButtonTest : public ::testing::Test {
  protected:
    void SetUp() override { button.resize(20, 25); }

    const QPoint up_point{10, 5};
    const QPoint down_point{10, 19};
    const QPoint outside{10, 60};
    TCSpinButton button;
    StepCounter steps{button};
};

TEST(TCSpinButtonGeometry, HalvesOverlapByOnePixelRow) {
    struct Case {
        int height;
        QRect up, down;
    };
    const Case cases[] = {
        {25, QRect(0, 0, 20, 12), QRect(0, 11, 20, 14)},
        {20, QRect(0, 0, 20, 10), QRect(0, 9, 20, 11)},
        {15, QRect(0, 0, 20, 7), QRect(0, 6, 20, 9)},
    };
    for (const Case& c : cases) {
        TCSpinButton button;
        button.resize(20, c.height);
        EXPECT_EQ(button.UpRect(), c.up) << "height " << c.height;
        EXPECT_EQ(button.DownRect(), c.down) << "height " << c.height;
        // The shared row belongs to the down half, the one above it to the up half.
        EXPECT_EQ(button.HalfAt(QPoint(5, c.up.bottom())), Half::Down);
        EXPECT_EQ(button.HalfAt(QPoint(5, c.up.bottom() - 1)), Half::Up);
    }
    TCSpinButton narrow;
    narrow.resize(5, 20);
    EXPECT_EQ(narrow.width(), TCSpinButton::kMinimumWidth);
}

TEST_F(TCSpinButtonTest, ClickIsExactlyOneStepOfItsHalf) {
    struct Case {
        QPoint press, release;
        int up, down;
    };
    const Case cases[] = {
        {up_point, up_point, 1, 0},
        {down_point, down_point, 0, 1},
        {QPoint(10, 11), QPoint(10, 11), 0, 1},  // the shared row
        {up_point, outside, 0, 0},               // released off the button
        {up_point, down_point, 0, 0},            // released on the other half
    };
    for (const Case& c : cases) {
        steps.up = steps.down = 0;
        QTest::mousePress(&button, Qt::LeftButton, {}, c.press);
        QTest::mouseRelease(&button, Qt::LeftButton, {}, c.release);
        EXPECT_EQ(steps.up, c.up) << c.press.y() << " -> " << c.release.y();
        EXPECT_EQ(steps.down, c.down) << c.press.y() << " -> " << c.release.y();
        EXPECT_FALSE(button.RepeatTimerActive());
        EXPECT_EQ(button.PressedHalf(), Half::None);
    }
    EXPECT_EQ(steps.wrong_sender, 0);
}

TEST_F(TCSpinButtonTest, RightButtonDoesNotStep) {
    QTest::mouseClick(&button, Qt::RightButton, {}, up_point);
    EXPECT_EQ(steps.up, 0);
    EXPECT_FALSE(button.RepeatTimerActive());
}

TEST_F(TCSpinButtonTest, HoldingRepeatsAfterFirstDelayThenAtInterval) {
    QTest::mousePress(&button, Qt::LeftButton, {}, up_point);
    EXPECT_EQ(button.PressedHalf(), Half::Up);
    EXPECT_TRUE(button.ShownPressed());
    EXPECT_TRUE(button.RepeatTimerActive());
    EXPECT_EQ(button.RepeatTimerInterval(), TCSpinButton::kFirstRepeatDelayMs);

    EXPECT_EQ(RunRepeatUntil(button, 399), 0);
    EXPECT_EQ(steps.up, 0);
    EXPECT_EQ(RunRepeatUntil(button, 1050), 7);  // at 400, 500, ..., 1000 ms
    EXPECT_EQ(button.RepeatTimerInterval(), TCSpinButton::kRepeatIntervalMs);
    EXPECT_EQ(steps.up, 7);

    QTest::mouseRelease(&button, Qt::LeftButton, {}, up_point);
    EXPECT_EQ(steps.up, 8);
    EXPECT_EQ(steps.down, 0);
    EXPECT_FALSE(button.RepeatTimerActive());
}

TEST_F(TCSpinButtonTest, MovingOffPausesAndMovingBackResumes) {
    QTest::mousePress(&button, Qt::LeftButton, {}, down_point);
    button.RepeatTimerTimeout();
    EXPECT_EQ(steps.down, 1);

    QTest::mouseMove(&button, outside);
    EXPECT_FALSE(button.ShownPressed());
    button.RepeatTimerTimeout();
    button.RepeatTimerTimeout();
    EXPECT_EQ(steps.down, 1);
    EXPECT_TRUE(button.RepeatTimerActive());

    // Onto the other half counts as off: only the pressed half steps.
    QTest::mouseMove(&button, up_point);
    button.RepeatTimerTimeout();
    EXPECT_EQ(steps.down, 1);
    EXPECT_EQ(steps.up, 0);

    QTest::mouseMove(&button, down_point);
    EXPECT_TRUE(button.ShownPressed());
    button.RepeatTimerTimeout();
    EXPECT_EQ(steps.down, 2);

    QTest::mouseMove(&button, outside);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, outside);
    EXPECT_EQ(steps.down, 2);
    EXPECT_EQ(steps.up, 0);
}

TEST_F(TCSpinButtonTest, HiddenOrDisabledWhileHeldStopsStepping) {
    for (const bool hide : {true, false}) {
        TCSpinButton target;
        target.resize(20, 25);
        StepCounter counter(target);
        target.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&target));
        QTest::mousePress(&target, Qt::LeftButton, {}, up_point);
        target.RepeatTimerTimeout();
        EXPECT_EQ(counter.up, 1);
        if (hide)
            target.hide();
        else
            target.setEnabled(false);
        EXPECT_FALSE(target.RepeatTimerActive()) << (hide ? "hidden" : "disabled");
        EXPECT_EQ(target.PressedHalf(), Half::None);
        target.RepeatTimerTimeout();
        QTest::mouseRelease(&target, Qt::LeftButton, {}, up_point);
        EXPECT_EQ(counter.up, 1) << (hide ? "hidden" : "disabled");
    }
}

TEST_F(TCSpinButtonTest, ModalBoxOpenedWhileHeldEndsTheRepeat) {
    QWidget window;
    auto* spin = new TCSpinButton(&window);
    spin->resize(20, 25);
    StepCounter counter(*spin);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QTest::mousePress(spin, Qt::LeftButton, {}, up_point);
    spin->RepeatTimerTimeout();
    EXPECT_EQ(counter.up, 1);

    // As a step handler would show a message box: the release then never reaches the button.
    QDialog box(&window);
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    spin->RepeatTimerTimeout();
    spin->RepeatTimerTimeout();
    EXPECT_EQ(counter.up, 1);
    EXPECT_FALSE(spin->RepeatTimerActive());
    EXPECT_EQ(spin->PressedHalf(), Half::None);
    box.hide();
}

TEST_F(TCSpinButtonTest, NeverTakesTheKeyboardFocus) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit(&window);
    auto* spin = new TCSpinButton(&window);
    layout->addWidget(edit);
    layout->addWidget(spin);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    ASSERT_TRUE(edit->hasFocus());

    EXPECT_EQ(spin->focusPolicy(), Qt::NoFocus);
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, 2));
    EXPECT_TRUE(edit->hasFocus());
    QTest::keyClick(&window, Qt::Key_Tab);
    EXPECT_FALSE(spin->hasFocus());
}

// Once with the real timer, with a bounded wait, to know that the repeat is wired to it.
TEST_F(TCSpinButtonTest, RealTimerRepeatsWhileHeld) {
    QTest::mousePress(&button, Qt::LeftButton, {}, up_point);
    QElapsedTimer elapsed;
    elapsed.start();
    while (steps.up < 2 && elapsed.elapsed() < 3000) QTest::qWait(20);
    EXPECT_GE(steps.up, 2);
    EXPECT_GE(elapsed.elapsed(),
              TCSpinButton::kFirstRepeatDelayMs + TCSpinButton::kRepeatIntervalMs - 50);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, up_point);
    const int after_release = steps.up;
    QTest::qWait(250);
    EXPECT_EQ(steps.up, after_release);
}

}  // namespace
}  // namespace korvan
