// The tick seen from the window: "No Connection", the monitor column, the map cursor, the
// repaints an unchanged reading must not cause, and modal messages from the link.
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QTabWidget>
#include <algorithm>

#include "device/frame.h"
#include "tests/ui/window/paint_counter.h"
#include "tests/ui/window/window_fixture.h"
#include "ui/widgets/cgauge.h"
#include "ui/window/caption_fit.h"
#include "ui/window/guarded_setters.h"

namespace korvan::testing {
namespace {

DeviceFrame MonitorFrame(std::uint16_t rpm, std::uint8_t tpsPercent, bool rpmRed = false) {
    std::array<std::uint8_t, kPageSize> payload{};
    payload[0] = static_cast<std::uint8_t>(rpm & 0xFF);  // frame bytes 1-2
    payload[1] = static_cast<std::uint8_t>(rpm >> 8);
    payload[28] = tpsPercent;      // frame byte 29
    payload[31] = rpmRed ? 1 : 0;  // frame byte 32
    payload[35] = 1;               // frame byte 36: servo fine
    return BuildFrame(kMonitorAnswer, payload.data());
}

TEST_F(WindowTest, NoConnectionShowsFromThe19thTickWithoutAValidFrame) {
    Open();
    auto* label = Find<QLabel>("LabelSpojeni");
    EXPECT_FALSE(label->isHidden());  // as designed, until the first tick
    for (int tick = 1; tick <= 18; ++tick) {
        form->OnTick();
        EXPECT_TRUE(label->isHidden()) << tick;
    }
    form->OnTick();
    EXPECT_FALSE(label->isHidden());
    port.Queue(MonitorFrame(3000, 0));
    form->OnTick();
    EXPECT_TRUE(label->isHidden());
}

TEST_F(WindowTest, AMonitorFrameFillsTheColumnAndMovesTheCursor) {
    Open();
    port.Queue(MonitorFrame(3000, 0, true));
    form->OnTick();
    auto* rpm = Find<QLabel>("LabelRpm");
    EXPECT_EQ(rpm->text(), "RPM = 3000 ");
    EXPECT_EQ(rpm->palette().color(QPalette::Window), ToQColor(Colour::Red));
    // 3000 rpm of limiter 2 at 11000 rpm.
    EXPECT_EQ(Find<TCGauge>("CGaugeRpm")->Progress(), 27);

    // Without the throttle axis the cursor sits in the single curve row, column 3000 rpm.
    const QColor lime = ToQColor(Colour::Lime);
    const QColor normal = ToQColor(Colour::Window);
    EXPECT_EQ(Edit("Edit142")->palette().color(QPalette::Base), lime);
    EXPECT_EQ(Edit("EditRpmAdv3")->palette().color(QPalette::Base), lime);
    EXPECT_EQ(Edit("Edit141")->palette().color(QPalette::Base), normal);
    EXPECT_EQ(Edit("EditRpmPriv3")->palette().color(QPalette::Base), lime);
    EXPECT_EQ(Edit("EditNapPriv3")->palette().color(QPalette::Base), lime);

    // The highlight follows the engine, and none lingers where it was.
    port.Queue(MonitorFrame(9000, 0));
    form->OnTick();
    EXPECT_EQ(Edit("Edit148")->palette().color(QPalette::Base), lime);
    EXPECT_EQ(Edit("Edit142")->palette().color(QPalette::Base), normal);
    EXPECT_EQ(Edit("EditRpmAdv3")->palette().color(QPalette::Base), normal);
}

TEST_F(WindowTest, TheWidestReadoutsFitTheMonitorColumn) {
    Open();
    QTest::mouseClick(Find<QCheckBox>("CheckBoxTpsMapa"), Qt::LeftButton);
    QTest::mouseClick(Find<QCheckBox>("CheckBoxExtMonitor"), Qt::LeftButton);
    std::array<std::uint8_t, kPageSize> payload;
    payload.fill(0xFF);
    for (std::size_t word = 2; word < 10; word += 2) {  // sensor words at full scale: 4999 mV
        payload[word] = 0xF7;
        payload[word + 1] = 0x1F;
    }
    payload[28] = 100;  // throttle percent: the longer of its two texts
    port.Queue(BuildFrame(kMonitorAnswer, payload.data()));
    form->OnTick();
    ASSERT_EQ(Find<QLabel>("LabelTpsMon")->text(), "TP= 100 [%]= 4999 [mV]");
    for (const char* name :
         {"LabelRpm", "LabelTpsMon", "LabelLambda", "LabelAdvance", "LabelPriveraPoz",
          "LabelPriveraMer", "LabelBlok1", "LabelBlok2", "LabelTacho_Lambda", "LabelClutchMon",
          "LabelLimiter1", "LabelN2oEnable", "LabelPocetProgramovani", "LabelTest1"}) {
        EXPECT_TRUE(CaptionFits(Find(name)))
            << name << ": " << Find<QLabel>(name)->text().toStdString();
    }
}

TEST_F(WindowTest, AnUnchangedReadingRepaintsNoCursorControlAndNoGauge) {
    Open();
    QTest::mouseClick(Find<QCheckBox>("CheckBoxTpsMapa"), Qt::LeftButton);
    Find<QTabWidget>("PageControl1")->setCurrentIndex(1);
    port.Queue(MonitorFrame(4200, 37));
    form->OnTick();
    QTest::qWait(50);  // what the first reading changed is painted by now

    PaintCounter counter;
    for (const char* name : {"CGaugeRpm", "CGaugeTps", "CGaugeLambda", "CGauge"})
        counter.Watch(Find(name));
    for (int i = 0; i < 100; ++i)
        counter.Watch(Edit(QByteArray("Edit" + QByteArray::number(50 + i)).constData()));
    for (int k = 1; k <= 10; ++k) {
        counter.Watch(Edit(QByteArray("EditRpmAdv" + QByteArray::number(k)).constData()));
        counter.Watch(Find(QByteArray("LabelTps" + QByteArray::number(k)).constData()));
    }
    for (int tick = 0; tick < 12; ++tick) {
        if (tick % 6 == 0) port.Queue(MonitorFrame(4200, 37));
        form->OnTick();
        QTest::qWait(10);
    }
    EXPECT_EQ(counter.count, 0);

    // The counter does see repaints: a new reading moves the cursor and the bars.
    port.Queue(MonitorFrame(7000, 90));
    for (int tick = 0; tick < 6; ++tick) form->OnTick();
    QTest::qWait(50);
    EXPECT_GT(counter.count, 0);
}

TEST_F(WindowTest, AModalMessageOfTheLinkGoesThroughTheWindowsOneSeam) {
    Open();
    QTest::keyClick(form.get(), Qt::Key_F9);
    // The unit answers the identity request with another format version.
    std::array<std::uint8_t, kPageSize> identity{};
    identity[field::FormatVersion] = kFormatVersion + 1;
    port.Queue(BuildFrame(kCmdProgramPage | kAnswerBit, identity.data()));
    form->OnTick();
    EXPECT_EQ(messages, QStringList{"Unmatched version of PC and Ignition programs!"});
    EXPECT_EQ(form->Link().Mode(), OperationMode::None);
}

TEST_F(WindowTest, TheTickGoesOnUnderARealMessageBoxOpenedFromATick) {
    // No seam for the boxes: the window shows its own QMessageBox, and its own timer ticks.
    FormOptions options;
    options.arguments = {"ENGLISH"};
    form = std::make_unique<TFormHlav>(port, options);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->Timer1()->stop();
    QTest::keyClick(form.get(), Qt::Key_F9);
    std::array<std::uint8_t, kPageSize> identity{};
    identity[field::FormatVersion] = kFormatVersion + 1;  // answered from inside the next tick
    port.Queue(BuildFrame(kCmdProgramPage | kAnswerBit, identity.data()));

    // Counted from the ticks themselves while the box is open; the box is closed from a tick.
    constexpr int kTicksUnderBox = 25;
    int ticksUnderBox = 0;
    std::size_t requestsWhenOpened = 0;
    std::size_t requestsUnderBox = 0;
    bool noConnectionUnderBox = false;
    QString boxText;
    auto monitorRequests = [&] {
        const auto sent = port.SentCommands();
        return static_cast<std::size_t>(std::count(sent.begin(), sent.end(), kCmdMonitor));
    };
    QObject::connect(form->Timer1(), &QTimer::timeout, form.get(), [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || ticksUnderBox >= kTicksUnderBox) return;
        if (ticksUnderBox++ == 0) {
            boxText = box->text();
            requestsWhenOpened = monitorRequests();
        }
        if (ticksUnderBox == kTicksUnderBox) {
            requestsUnderBox = monitorRequests() - requestsWhenOpened;
            noConnectionUnderBox = !Find<QLabel>("LabelSpojeni")->isHidden();
            box->accept();
        }
    });
    form->Timer1()->start();
    // Bounded only so that a stopped tick fails instead of hanging.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return ticksUnderBox >= kTicksUnderBox && QApplication::activeModalWidget() == nullptr;
        },
        20000));
    form->Timer1()->stop();
    EXPECT_EQ(boxText, "Unmatched version of PC and Ignition programs!");
    EXPECT_GE(requestsUnderBox,
              static_cast<std::size_t>((kTicksUnderBox - 1) / 6));  // every 6th tick
    EXPECT_TRUE(noConnectionUnderBox);  // the silent line was counted under the box too
}

}  // namespace
}  // namespace korvan::testing
