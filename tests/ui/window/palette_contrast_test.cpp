// Everything the window colours itself reads under a light and a dark palette: the widgets are
// grabbed and the contrast of their text pixels against their background pixels is measured.
#include <QCheckBox>
#include <QHash>
#include <QLabel>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <ostream>

#include "device/frame.h"
#include "log/ride_log_writer.h"
#include "params/binding.h"
#include "params/defaults.h"
#include "tests/ui/window/window_fixture.h"
#include "ui/history/compare_view.h"
#include "ui/ridelog/heat_map.h"
#include "ui/widgets/readable_text.h"
#include "ui/window/guarded_setters.h"
#include "ui/window/ride_log_controller.h"

#include "test_frames.h"

namespace korvan::testing {
namespace {

// Fusion with a dark scheme, as desktops set it up.
QPalette DarkPalette() {
    QPalette p;
    const QColor window(0x35, 0x35, 0x35);
    const QColor base(0x23, 0x23, 0x23);
    const QColor text(0xF0, 0xF0, 0xF0);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    return p;
}

struct PaletteCase {
    const char* name;
    bool dark;
};
void PrintTo(const PaletteCase& c, std::ostream* os) {
    *os << c.name;
}

// The background is the colour most pixels have; the text is the pixel that stands out most
// from it (the core of a glyph). One colour alone has a contrast of 1.
double TextContrast(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) ++counts[line[x] | 0xFF000000u];
    }
    QRgb background = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    }
    double best = 1.0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, ContrastRatio(QColor(it.key()), QColor(background)));
    return best;
}

// The text part of a control: a field's edit, a check box's caption, a label whole.
QImage TextArea(QWidget* w) {
    if (auto* edit = qobject_cast<NumericEdit*>(w))
        return edit->grab(edit->lineEdit()->geometry()).toImage();
    if (auto* box = qobject_cast<QCheckBox*>(w)) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        const QRect text = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        return box->grab(text).toImage();
    }
    return w->grab().toImage();
}

DeviceFrame EveryLampOn() {
    std::array<std::uint8_t, kPageSize> payload{};
    payload[0] = 0xB8;  // 3000 rpm
    payload[1] = 0x0B;
    payload[28] = 0;  // throttle 0 %: the first row
    payload[30] = 1;  // start limiter: white
    payload[31] = 1;  // rpm: red
    payload[32] = 1;  // blocking 1: red
    payload[35] = 1;  // servo fine
    payload[36] = 1;  // clutch master: lime
    payload[37] = 0;  // tacho/lambda = Lambda: fuchsia
    payload[38] = 1;  // N2O: lime
    return BuildFrame(kMonitorAnswer, payload.data());
}

class PaletteContrastTest : public WindowTest, public ::testing::WithParamInterface<PaletteCase> {
  public:
    void SetUp() override {
        WindowTest::SetUp();
        normalPalette_ = QApplication::palette();
        if (GetParam().dark) QApplication::setPalette(DarkPalette());
    }
    void TearDown() override {
        WindowTest::TearDown();
        QApplication::setPalette(normalPalette_);
    }
    void ExpectReadable(QWidget* w, const QString& what) {
        ASSERT_NE(w, nullptr) << what.toStdString();
        ShowPageOf(w);
        const double contrast = TextContrast(TextArea(w));
        EXPECT_GE(contrast, kReadableContrast) << what.toStdString();
        ++measured;
    }
    // A short ride replayed, with the time-in-cell colours shown: the two cells it visited
    // get the palest and the deepest shade.
    void ShowHeat() {
        StringSink sink;
        RideLogWriter writer(sink, "test");
        writer.Start("today");
        const std::pair<std::uint32_t, std::uint16_t> rows[] = {
            {0, 3000}, {100, 3000}, {1000, 9000}, {6000, 9000}};
        for (const auto& [ms, rpm] : rows) {
            RideLogRow row;
            row.TimeMs = ms;
            row.Channels.Rpm = rpm;
            writer.AddRow(row);
        }
        writer.Finish();
        const QString path = dir.filePath("ride.msl");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(sink.text.data(), static_cast<qint64>(sink.text.size()));
        f.close();
        fileDialog = [path](QFileDialog&) { return path; };
        form->RideLog().ReplayItem()->trigger();
        ASSERT_TRUE(form->RideLog().IsReplaying());
        form->RideLog().HeatBox()->click();
    }

    QTemporaryDir dir;
    int measured = 0;

  private:
    QPalette normalPalette_;
};

TEST_P(PaletteContrastTest, EveryColouredControlKeepsItsTextReadable) {
    Open();
    QTest::mouseClick(Find<QCheckBox>("CheckBoxGas"), Qt::LeftButton);       // N2O shown
    QTest::mouseClick(Find<QCheckBox>("CheckBoxTpsMapa"), Qt::LeftButton);   // TPS row labels
    QTest::mouseClick(Find<QCheckBox>("CheckBoxProgHned"), Qt::LeftButton);  // red box
    port.Queue(EveryLampOn());
    form->OnTick();
    for (const char* name :
         {"LabelLimiter1", "LabelClutchMon", "LabelRpm", "LabelBlok1", "LabelTacho_Lambda",
          "LabelN2oEnable", "CheckBoxProgHned", "EditRpmAdv3", "Edit52", "EditRpmPriv3"}) {
        ExpectReadable(Find(name), name);
    }
    const QColor lime = ToQColor(Colour::Lime);
    for (int row = 1; row <= kMapRows; ++row) {
        auto* label = Find<QLabel>(QString("LabelTps%1").arg(row).toUtf8().constData());
        if (label->palette().color(QPalette::Window) == lime) ExpectReadable(label, "lime row");
    }
    EXPECT_EQ(measured, 11) << "the cursor's row label is lime";

    // A line gone quiet: "No Connection" and a failed verify, both red.
    for (int tick = 0; tick < 19; ++tick) form->OnTick();
    ExpectReadable(Find("LabelSpojeni"), "no connection");
    form->OnVerifyChosen();
    for (int tick = 0; tick < 25 && form->Link().Mode() != OperationMode::None; ++tick)
        form->OnTick();
    ASSERT_EQ(Find<QLabel>("LabelHlaseni")->text(), "Verify error!");
    ExpectReadable(Find("LabelHlaseni"), "verify error");
    // Nothing came back: the words stand in the gauge's place, nothing of the white gauge
    // shows through them.
    auto* lost = Find<QLabel>("LabelLineLost");
    ASSERT_FALSE(lost->isHidden());
    ExpectReadable(lost, "line lost");
    EXPECT_EQ(lost->parentWidget()
                  ->grab(lost->geometry())
                  .toImage()
                  .convertToFormat(QImage::Format_RGB32),
              lost->grab().toImage().convertToFormat(QImage::Format_RGB32));

    ShowHeat();
    for (const char* name : {"Edit142", "Edit148"}) ExpectReadable(Find(name), name);
}

TEST_P(PaletteContrastTest, AChangedCellOfTheCompareReads) {
    CompareView view;
    DeviceImage base;
    SetDefaults(base);
    DeviceImage other = base;
    other[AdvanceIndex(9, 2)] = static_cast<std::uint8_t>(other[AdvanceIndex(9, 2)] + 4);
    view.ShowComparison(base, other, "a against b");
    view.resize(900, 700);
    view.show();
    auto* map = view.findChild<QTableWidget*>("TableCompareMap");
    ASSERT_NE(map, nullptr);
    QTableWidgetItem* changed = nullptr;
    for (int r = 0; r < map->rowCount() && changed == nullptr; ++r)
        for (int c = 0; c < map->columnCount(); ++c)
            if (map->item(r, c) != nullptr && map->item(r, c)->text().contains('+'))
                changed = map->item(r, c);
    ASSERT_NE(changed, nullptr);
    const QRect cell = map->visualItemRect(changed).adjusted(1, 1, -1, -1);
    EXPECT_GE(TextContrast(map->viewport()->grab(cell).toImage()), kReadableContrast);
}

TEST(ReadableText, EveryTimeInCellShadeTakesTextThatReads) {
    const QColor lightText(0xF0, 0xF0, 0xF0);
    for (int tenths = 1; tenths <= 100; ++tenths) {
        CellTime cell;
        cell.Seconds = tenths / 10.0;
        cell.Samples = 1;
        const QColor shade = CellHeatColour(cell, 10.0);
        EXPECT_GE(ContrastRatio(shade, ReadableTextOn(shade, lightText)), kReadableContrast)
            << tenths;
    }
    // The palette's own text is kept where it reads, and replaced where it does not.
    EXPECT_EQ(ReadableTextOn(Qt::white, Qt::black), QColor(Qt::black));
    EXPECT_EQ(ReadableTextOn(QColor(0, 0, 0xFF), Qt::white), QColor(Qt::white));
    EXPECT_EQ(ReadableTextOn(QColor(0, 0xFF, 0), lightText), QColor(Qt::black));
    EXPECT_NEAR(ContrastRatio(Qt::black, Qt::white), 21.0, 1e-9);
}

const PaletteCase kPalettes[] = {{"light", false}, {"dark", true}};
INSTANTIATE_TEST_SUITE_P(Palettes, PaletteContrastTest, ::testing::ValuesIn(kPalettes),
                         [](const ::testing::TestParamInfo<PaletteCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace korvan::testing
