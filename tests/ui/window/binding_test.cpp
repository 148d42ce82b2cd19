// New, the bike type list, the map layout without the throttle axis, the visibility and
// colour rules, and programming after change.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>

#include "params/binding.h"
#include "params/defaults.h"
#include "tests/ui/window/window_fixture.h"
#include "ui/window/guarded_setters.h"

namespace korvan::testing {
namespace {

// An image as a unit might have left it: identity bytes, reserved bytes, edited values.
DeviceImage ReadImage(std::uint8_t bikeType) {
    DeviceImage image;
    image[field::BikeType] = bikeType;
    SetDefaults(image);
    image[field::VersionName] = 'K';
    image[field::FormatVersion] = kFormatVersion;
    image[field::ParamReserved + 3] = 0xA5;
    image[field::ActRpm] = 7;
    image[AdvanceIndex(9, 0)] = 17;
    image[field::Limiter1] = 60;
    return image;
}

TEST_F(WindowTest, NewLoadsTheDefaultsButKeepsTheUnitsBytesAndTheBikeType) {
    WriteStateFile(ReadImage(3));
    WriteFile("Korvan2.ini", "[FORM_HLAV]\r\nFile=/maps/r6.ign\r\n");
    Open();
    EXPECT_EQ(Find<QLabel>("LabelFile2")->text(), "/maps/r6.ign");
    QTest::mouseClick(Find<QToolButton>("SpeedButton6"), Qt::LeftButton);

    EXPECT_EQ(Byte(field::Limiter1), 50);
    EXPECT_EQ(Byte(AdvanceIndex(9, 0)), kDefaultAdvanceMap[90]);
    EXPECT_EQ(Edit("Edit140")->text(), QString::number(kDefaultAdvanceMap[90]));
    EXPECT_EQ(Byte(field::BikeType), 3);
    EXPECT_EQ(Byte(field::ParamReserved + 3), 0xA5);
    EXPECT_EQ(Byte(field::ActRpm), 7);
    EXPECT_EQ(Byte(field::VersionName), 'K');
    EXPECT_TRUE(Find<QLabel>("LabelFile2")->text().isEmpty());
}

TEST_F(WindowTest, PickingABikeTypeLoadsTheDefaultsAndShowingOneLoadsNothing) {
    WriteStateFile(ReadImage(4));
    Open();
    auto* combo = Find<QComboBox>("ComboBox1");
    // Showing the stored type at start-up is not a choice: the edited values stay.
    EXPECT_EQ(combo->currentIndex(), 4);
    EXPECT_EQ(Byte(field::Limiter1), 60);

    // With programming after change ticked (and its first operation run out), a new bike
    // type still programs nothing by itself.
    QTest::mouseClick(Find<QCheckBox>("CheckBoxProgHned"), Qt::LeftButton);
    for (int i = 0; i < 30; ++i) form->OnTick();
    ASSERT_EQ(form->Link().Mode(), OperationMode::None);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Up);
    EXPECT_EQ(Byte(field::BikeType), 3);
    EXPECT_EQ(Byte(field::Limiter1), 50);
    EXPECT_EQ(Byte(AdvanceIndex(9, 0)), kDefaultAdvanceMap[90]);
    EXPECT_EQ(Edit("Edit140")->text(), QString::number(kDefaultAdvanceMap[90]));
    EXPECT_EQ(form->Link().Mode(), OperationMode::None);
}

TEST_F(WindowTest, ABikeTypeTheListDoesNotKnowSurvivesCommitsAndRestarts) {
    WriteStateFile(ReadImage(7));
    Open();
    EXPECT_EQ(Find<QComboBox>("ComboBox1")->currentIndex(), -1);
    TypeInto("EditBaseAdv", "12");
    QTest::keyClick(Edit("EditBaseAdv"), Qt::Key_Return);
    EXPECT_EQ(Byte(field::BaseAdv), 12);
    EXPECT_EQ(Byte(field::BikeType), 7);
    CloseAndDestroy();
    Open();
    EXPECT_EQ(Byte(field::BikeType), 7);
    EXPECT_EQ(Find<QComboBox>("ComboBox1")->currentIndex(), -1);
}

TEST_F(WindowTest, WithoutTheThrottleAxisTheSingleCurveTakesTheFirstRowsPlace) {
    Open();
    auto* tps = Find<QCheckBox>("CheckBoxTpsMapa");
    Find<QTabWidget>("PageControl1")->setCurrentIndex(1);
    const int firstRowTop = Find<QLabel>("LabelTps1")->y() - 4;
    const int lastRowTop = Find<QLabel>("LabelTps10")->y() - 4;
    ASSERT_FALSE(tps->isChecked());
    EXPECT_EQ(Edit("Edit145")->y(), firstRowTop);
    EXPECT_TRUE(Edit("Edit55")->isHidden());
    EXPECT_TRUE(Find("CSpinButton3")->isHidden());
    EXPECT_TRUE(Find("LabelTpsMon")->isHidden());

    const DeviceImage before = form->Image();
    QTest::mouseClick(tps, Qt::LeftButton);
    EXPECT_EQ(Byte(field::TpsMapa), 1);
    EXPECT_EQ(Edit("Edit145")->y(), lastRowTop);
    for (const char* name : {"Edit55", "LabelTps5", "CSpinButton3", "LabelTpsMon", "CGaugeTps"}) {
        EXPECT_FALSE(Find(name)->isHidden()) << name;
    }
    for (std::size_t i = field::Advance; i < kImageSize; ++i) EXPECT_EQ(Byte(i), before[i]);
}

TEST_F(WindowTest, TheEnableBoxesHideTheirGroupsAndTheReadProtectionTurnsRed) {
    Open();
    struct Case {
        const char* box;
        std::vector<const char*> hidden;
    };
    const Case cases[] = {
        {"CheckBoxGas", {"GroupBoxGas", "GroupBoxRetard", "CheckBoxAktN2o", "LabelN2oEnable"}},
        {"CheckBoxPrivEnable", {"GroupBoxPrivera", "LabelPriveraPoz", "LabelPriveraMer"}},
    };
    for (const Case& c : cases) {
        auto* box = Find<QCheckBox>(c.box);
        ShowPageOf(box);
        ASSERT_TRUE(box->isChecked());
        QTest::mouseClick(box, Qt::LeftButton);
        for (const char* name : c.hidden)
            EXPECT_TRUE(Find(name)->isHidden()) << c.box << " " << name;
        QTest::mouseClick(box, Qt::LeftButton);
        for (const char* name : c.hidden)
            EXPECT_FALSE(Find(name)->isHidden()) << c.box << " " << name;
    }
    EXPECT_EQ(Byte(field::Gas2), 60);  // hidden values stay in the image

    auto* noReading = Find<QCheckBox>("CheckBoxZakazCteni");
    ShowPageOf(noReading);
    QTest::mouseClick(noReading, Qt::LeftButton);
    EXPECT_EQ(noReading->palette().color(QPalette::Window), ToQColor(Colour::Red));
    EXPECT_TRUE(noReading->autoFillBackground());
    QTest::mouseClick(noReading, Qt::LeftButton);
    EXPECT_FALSE(noReading->autoFillBackground());
}

TEST_F(WindowTest, TheThreeWarningBoxesShowRedOnScreenWhileChecked) {
    Open();
    // The pixels as painted, at the box's right end (beyond its caption): a check box fills
    // its background from another palette role than a label does.
    const QColor red = ToQColor(Colour::Red);
    for (const char* name : {"CheckBoxZakazCteni", "CheckBoxProgHned", "CheckBoxBuzDlouhe"}) {
        SCOPED_TRACE(name);
        auto* box = Find<QCheckBox>(name);
        ShowPageOf(box);
        const QPoint spot(box->width() - 3, box->height() / 2);
        if (box->isChecked()) QTest::mouseClick(box, Qt::LeftButton);
        const QColor normal = box->grab().toImage().pixelColor(spot);
        EXPECT_NE(normal, red);
        for (const bool checked : {true, false}) {
            if (box->isChecked() != checked) QTest::mouseClick(box, Qt::LeftButton);
            ASSERT_EQ(box->isChecked(), checked);
            const QColor shown = box->grab().toImage().pixelColor(spot);
            if (checked) {
                EXPECT_EQ(shown, red) << shown.name().toStdString();
            } else {
                EXPECT_EQ(shown, normal) << shown.name().toStdString();
            }
        }
    }
}

TEST_F(WindowTest, ProgrammingAfterChangeStartsOnlyWhenACommitChangesAByte) {
    Open();
    auto* option = Find<QCheckBox>("CheckBoxProgHned");
    auto* message = Find<QLabel>("LabelHlaseni");
    QTest::mouseClick(option, Qt::LeftButton);  // ticking it programs at once
    EXPECT_FALSE(message->isHidden());
    EXPECT_EQ(message->text(), "Program device:");
    EXPECT_EQ(form->Link().Mode(), OperationMode::Program);

    // Let that operation fail, then commit without a change: nothing starts.
    for (int i = 0; i < 30; ++i) form->OnTick();
    EXPECT_EQ(form->Link().Mode(), OperationMode::None);
    TypeInto("EditBaseAdv", "10");
    QTest::keyClick(Edit("EditBaseAdv"), Qt::Key_Return);
    EXPECT_EQ(form->Link().Mode(), OperationMode::None);
    TypeInto("EditBaseAdv", "11");
    QTest::keyClick(Edit("EditBaseAdv"), Qt::Key_Return);
    EXPECT_EQ(form->Link().Mode(), OperationMode::Program);
}

}  // namespace
}  // namespace korvan::testing
