// The editing tools in the window: they act where the live cursor stands.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <functional>

#include "device/frame.h"
#include "tests/ui/window/window_fixture.h"
#include "ui/widgets/cgauge.h"
#include "ui/widgets/cspin_button.h"

namespace korvan::testing {
namespace {

DeviceFrame Monitor(std::uint16_t rpm, std::uint8_t tpsPercent, std::uint16_t tpsRaw = 0) {
    std::array<std::uint8_t, kPageSize> payload{};
    payload[0] = static_cast<std::uint8_t>(rpm & 0xFF);
    payload[1] = static_cast<std::uint8_t>(rpm >> 8);
    payload[2] = static_cast<std::uint8_t>(tpsRaw & 0xFF);  // frame bytes 3-4
    payload[3] = static_cast<std::uint8_t>(tpsRaw >> 8);
    payload[28] = tpsPercent;
    return BuildFrame(kMonitorAnswer, payload.data());
}

class ToolsTest : public WindowTest {
  public:
    // The engine at a point: one monitor frame and the tick that places the cursor.
    void EngineAt(std::uint16_t rpm, std::uint8_t tps, std::uint16_t tpsRaw = 0) {
        port.Queue(Monitor(rpm, tps, tpsRaw));
        form->OnTick();
    }
    void Click(const char* button) { Find<QPushButton>(button)->click(); }
    int CellsDiffering(const DeviceImage& before) const {
        int n = 0;
        for (int cell = 0; cell < 100; ++cell)
            n += form->Image()[field::Advance + cell] != before[field::Advance + cell];
        return n;
    }
};

TEST_F(ToolsTest, F5RaisesExactlyTheCellUnderTheCursor) {
    struct Case {
        const char* what;
        bool tpsAxis;
        std::uint16_t rpm;
        std::uint8_t tps;
        int row, column;
    } cases[] = {
        {"throttle axis on", true, 5000, 30, 5, 4},
        {"single curve uses row 9", false, 2600, 30, 9, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open();
        if (Find<QCheckBox>("CheckBoxTpsMapa")->isChecked() != c.tpsAxis) {
            QTest::mouseClick(Find<QCheckBox>("CheckBoxTpsMapa"), Qt::LeftButton);
        }
        EngineAt(c.rpm, c.tps);
        ASSERT_EQ(form->Cursor().TpsIndex, c.row);
        ASSERT_EQ(form->Cursor().RpmIndex, c.column);
        const DeviceImage before = form->Image();
        QTest::keyClick(form.get(), Qt::Key_F5);
        EXPECT_EQ(Byte(AdvanceIndex(c.row, c.column)), before[AdvanceIndex(c.row, c.column)] + 1);
        EXPECT_EQ(CellsDiffering(before), 1);
        const QString cell = QString("Edit%1").arg(50 + 10 * c.row + c.column);
        EXPECT_EQ(Edit(cell.toUtf8().constData())->value(),
                  before[AdvanceIndex(c.row, c.column)] + 1);
        QTest::keyClick(form.get(), Qt::Key_F4);
        EXPECT_EQ(form->Image(), before);
        form.reset();
    }
}

TEST_F(ToolsTest, AdvanceToolsWithAllAndBelowTheAxis) {
    Open();
    EngineAt(500, 0);  // below the first breakpoint
    ASSERT_TRUE(form->Cursor().BelowRpmAxis);
    const DeviceImage before = form->Image();
    Click("BitBtnAdvPlus");
    EXPECT_EQ(form->Image(), before);

    QTest::mouseClick(Find<QCheckBox>("CheckBoxIgnAll"), Qt::LeftButton);
    EXPECT_EQ(form->Image(), before);  // the box alone changes nothing
    Click("BitBtnAdvMinus");
    EXPECT_EQ(CellsDiffering(before), 100);  // every default cell is above 0
    EXPECT_EQ(Byte(AdvanceIndex(0, 0)), 3);
}

TEST_F(ToolsTest, AColumnSpinButtonMovesItsColumnInEveryRow) {
    Open();
    QTest::mouseClick(Find<QCheckBox>("CheckBoxTpsMapa"),
                      Qt::LeftButton);  // the buttons show with the axis
    auto* spin = Find<TCSpinButton>("CSpinButton3");
    ShowPageOf(spin);
    const DeviceImage before = form->Image();
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, 2));
    for (int row = 0; row < 10; ++row) {
        for (int column = 0; column < 10; ++column) {
            EXPECT_EQ(Byte(AdvanceIndex(row, column)),
                      before[AdvanceIndex(row, column)] + (column == 2 ? 1 : 0));
        }
    }
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, spin->height() - 2));
    EXPECT_EQ(form->Image(), before);
}

TEST_F(ToolsTest, ServoToolsActOnTheServoRowOrAll) {
    Open();
    EngineAt(3900, 0);  // nearest servo breakpoint 4000: row 3
    ASSERT_EQ(form->Cursor().ServoIndex, 3);
    const DeviceImage before = form->Image();
    Click("BitBtnServoPlus");
    EXPECT_EQ(Byte(field::NapPriv + 3), before[field::NapPriv + 3] + 1);
    EXPECT_EQ(Edit("EditNapPriv4")->value(), (before[field::NapPriv + 3] + 1) * 20);
    EXPECT_EQ(Byte(field::NapPriv + 2), before[field::NapPriv + 2]);
    QTest::mouseClick(Find<QCheckBox>("CheckBoxPrivAll"), Qt::LeftButton);
    Click("BitBtnServoMinus");
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(Byte(field::NapPriv + k), before[field::NapPriv + k] + (k == 3 ? 0 : -1));
}

TEST_F(ToolsTest, ThrottleCalibrationTakesTheLiveVoltageWithinItsWindow) {
    Open();
    EngineAt(0, 0, 489);  // 298 mV: outside the 0 % window
    Click("BitBtnTps0");
    EXPECT_EQ(Byte(field::Tps0), 70);
    EngineAt(0, 0, 4092);  // 2500 mV: both windows take it
    Click("BitBtnTps0");
    Click("BitBtnTps100");
    EXPECT_EQ(Byte(field::Tps0), 250);
    EXPECT_EQ(Byte(field::Tps100), 0);
    EXPECT_EQ(Edit("EditTps0")->value(), 2500);
}

TEST_F(ToolsTest, AToolProgramsTheUnitWhenProgrammingAfterChangeIsOn) {
    Open();
    QTest::mouseClick(Find<QCheckBox>("CheckBoxProgHned"), Qt::LeftButton);
    ASSERT_EQ(form->Link().Mode(), OperationMode::Program);  // ticking it programs at once
    for (int i = 0; i < 30; ++i) form->OnTick();             // no unit: that one fails
    EngineAt(5000, 0);
    Click("BitBtnAdvPlus");
    EXPECT_EQ(form->Link().Mode(), OperationMode::Program);
}

TEST_F(ToolsTest, NoConnectionClearsTheReadoutsAndTheCursorUntilTheNextFrame) {
    Open();
    QTest::mouseClick(Find<QCheckBox>("CheckBoxTpsMapa"), Qt::LeftButton);
    EngineAt(5000, 30, 4092);  // a live engine: cursor on row 5, column 4; 2500 mV throttle
    const QColor lime(0x00, 0xFF, 0x00);
    ASSERT_EQ(Edit("Edit104")->palette().color(QPalette::Base), lime);
    const QString liveRpm = Find<QLabel>("LabelRpm")->text();
    ASSERT_NE(liveRpm, "RPM = ---");

    // The line goes silent: from the tick that shows "No Connection" nothing live is left.
    for (int tick = 0; tick < 19; ++tick) form->OnTick();
    ASSERT_FALSE(Find<QLabel>("LabelSpojeni")->isHidden());
    const struct {
        const char* label;
        const char* noData;
    } readouts[] = {
        {"LabelRpm", "RPM = ---"},           {"LabelTpsMon", "TP= --- [%]"},
        {"LabelLambda", "LAMBDA= --- [mV]"}, {"LabelAdvance", "ADVANCE= --- [°]"},
        {"LabelBlok1", "Blocking 1 = --"},   {"LabelClutchMon", "Clutch = --"},
    };
    for (const auto& r : readouts) {
        EXPECT_EQ(Find<QLabel>(r.label)->text(), QString::fromUtf8(r.noData)) << r.label;
        EXPECT_FALSE(Find<QLabel>(r.label)->autoFillBackground()) << r.label;
    }
    EXPECT_EQ(Find<TCGauge>("CGaugeRpm")->Progress(), 0);
    for (NumericEdit* e : form->findChildren<NumericEdit*>()) {
        EXPECT_NE(e->palette().color(QPalette::Base), lime) << e->objectName().toStdString();
    }
    EXPECT_TRUE(form->Cursor().Cleared);

    // The one-cell tools and the calibration buttons have nothing to act on.
    const struct {
        const char* what;
        std::function<void()> use;
    } tools[] = {
        {"F4", [&] { QTest::keyClick(form.get(), Qt::Key_F4); }},
        {"F5", [&] { QTest::keyClick(form.get(), Qt::Key_F5); }},
        {"Set TPS 0 %", [&] { Click("BitBtnTps0"); }},
        {"Set TPS 100 %", [&] { Click("BitBtnTps100"); }},
        {"servo +", [&] { Click("BitBtnServoPlus"); }},
    };
    for (const auto& t : tools) {
        const DeviceImage before = form->Image();
        t.use();
        EXPECT_TRUE(form->Image().bytes == before.bytes) << t.what;
    }

    // The next valid frame brings it all back.
    EngineAt(5000, 30, 4092);
    EXPECT_TRUE(Find<QLabel>("LabelSpojeni")->isHidden());
    EXPECT_EQ(Find<QLabel>("LabelRpm")->text(), liveRpm);
    EXPECT_EQ(Edit("Edit104")->palette().color(QPalette::Base), lime);
    const DeviceImage before = form->Image();
    QTest::keyClick(form.get(), Qt::Key_F5);
    EXPECT_EQ(Byte(AdvanceIndex(5, 4)), before[AdvanceIndex(5, 4)] + 1);
}

}  // namespace
}  // namespace korvan::testing
