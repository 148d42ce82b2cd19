// The colours of the map cells laid over each other: the live cursor over the selection over
// the time in cell, a selection that stays legible and unlike lime and the heat colours in a
// light and a dark palette, and a frame that covers no cell.
#include <gtest/gtest.h>

#include <QApplication>
#include <QRegion>
#include <cmath>
#include <memory>

#include "ui/widgets/readable_text.h"
#include "ui/window/numeric_edit.h"
#include "ui/window/table_colours.h"

namespace korvan::testing {
namespace {

// Cells where the window has them: 55 x 21 pixels, 59 apart across, 29 down.
struct Grid {
    QWidget map;
    QWidget servo;
    TableColours::Edits edits;
    std::unique_ptr<TableColours> colours;

    Grid() {
        for (int r = 0; r < kMapRows; ++r) {
            for (int c = 0; c < kMapColumns; ++c) {
                auto* edit = new NumericEdit(&map);
                edit->setGeometry(51 + 59 * c, 53 + 29 * r, 55, 21);
                edits.map[static_cast<std::size_t>(r * kMapColumns + c)] = edit;
            }
        }
        for (int k = 0; k < kAxisPoints; ++k) {
            const auto at = static_cast<std::size_t>(k);
            edits.mapRpm[at] = new NumericEdit(&map);
            edits.mapRpm[at]->setGeometry(51 + 59 * k, 21, 55, 21);
            edits.servoRpm[at] = new NumericEdit(&servo);
            edits.servoRpm[at]->setGeometry(51 + 59 * k, 29, 55, 21);
            edits.servoVoltage[at] = new NumericEdit(&servo);
            edits.servoVoltage[at]->setGeometry(51 + 59 * k, 64, 55, 21);
        }
        colours = std::make_unique<TableColours>(edits);
    }
    NumericEdit* Cell(int row, int column) const {
        return edits.map[static_cast<std::size_t>(row * kMapColumns + column)];
    }
};

double Luminance(const QColor& c) {
    const auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// The contrast ratio of two colours as the accessibility guidelines define it (1 to 21).
double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int HueDistance(const QColor& a, const QColor& b) {
    const int d = std::abs(a.hsvHue() - b.hsvHue()) % 360;
    return std::min(d, 360 - d);
}

struct PaletteCase {
    const char* name;
    QColor base;
    QColor text;
};

void PrintTo(const PaletteCase& c, std::ostream* os) {
    *os << c.name;
}

class TableColoursTest : public ::testing::TestWithParam<PaletteCase> {
  public:
    void SetUp() override {
        saved_ = QApplication::palette();
        QPalette p = saved_;
        p.setColor(QPalette::Base, GetParam().base);
        p.setColor(QPalette::Text, GetParam().text);
        QApplication::setPalette(p);
    }
    void TearDown() override { QApplication::setPalette(saved_); }

  private:
    QPalette saved_;
};

const QColor kLime(0x00, 0xFF, 0x00);

TEST_P(TableColoursTest, CursorOverSelectionOverHeatWithLegibleText) {
    Grid grid;
    const QColor heat = QColor::fromHsv(40, 200, 255);
    std::array<QColor, TableColours::kMapCells> heats{};
    for (int i : {34, 35, 66}) heats[static_cast<std::size_t>(i)] = heat;
    grid.colours->SetHeat(heats);
    CursorColours cursor = CursorColoursFor(ClearedMapCursor());
    cursor.map[33] = Colour::Lime;
    grid.colours->ShowCursor(cursor);
    grid.colours->ShowMapSelection(MapRect{3, 3, 4, 5});

    const SelectionLook look = TableColours::LookFor(QApplication::palette());
    const QColor base = GetParam().base;
    const QColor text = GetParam().text;
    const struct {
        const char* cell;
        int row, column;
        QColor background, text;
    } cells[] = {
        // The palette's text where it reads, else black or white (a dark palette's white does
        // not read on lime).
        {"the live cell inside the block", 3, 3, kLime, ReadableTextOn(kLime, text)},
        {"a heat cell inside the block", 3, 4, look.fill, look.text},
        {"a plain cell inside the block", 4, 4, look.fill, look.text},
        {"a heat cell outside", 6, 6, heat, ReadableTextOn(heat, text)},
        {"a plain cell outside", 0, 0, base, text},
    };
    for (const auto& c : cells) {
        SCOPED_TRACE(c.cell);
        const QPalette p = grid.Cell(c.row, c.column)->palette();
        EXPECT_EQ(p.color(QPalette::Base), c.background);
        EXPECT_EQ(p.color(QPalette::Text), c.text);
        EXPECT_GE(ContrastRatio(p.color(QPalette::Base), p.color(QPalette::Text)),
                  kReadableContrast);
    }

    grid.colours->ShowMapSelection(std::nullopt);
    EXPECT_EQ(grid.Cell(3, 4)->palette().color(QPalette::Base), heat);
    EXPECT_EQ(grid.Cell(4, 4)->palette().color(QPalette::Base), base);
    EXPECT_EQ(grid.Cell(4, 4)->palette().color(QPalette::Text), text);
}

TEST_P(TableColoursTest, SelectionIsLegibleAndUnlikeLimeAndHeat) {
    const SelectionLook look = TableColours::LookFor(QApplication::palette());
    EXPECT_GE(Contrast(look.text, look.fill), 7.0);
    EXPECT_GE(Contrast(look.frame, GetParam().base), 3.0);
    EXPECT_GE(HueDistance(look.fill, kLime), 60);
    // The time in cell runs from yellow (60°) to red (0°).
    for (int hue : {0, 30, 60})
        EXPECT_GE(HueDistance(look.fill, QColor::fromHsv(hue, 200, 255)), 90);
}

TEST_P(TableColoursTest, TheFrameSurroundsTheBlockAndCoversNoCell) {
    Grid grid;
    grid.colours->ShowMapSelection(MapRect{2, 1, 4, 3});
    const SelectionFrame* frame = grid.colours->MapFrame();
    ASSERT_FALSE(frame->isHidden());
    EXPECT_EQ(frame->Colour(), TableColours::LookFor(QApplication::palette()).frame);
    EXPECT_EQ(frame->Cells(), grid.Cell(2, 1)->geometry().united(grid.Cell(4, 3)->geometry()));
    const QRegion ring = frame->mask().translated(frame->pos());
    EXPECT_TRUE(ring.boundingRect().contains(frame->Cells()));
    for (NumericEdit* cell : grid.edits.map)
        EXPECT_FALSE(ring.intersects(cell->geometry())) << cell->geometry().x();
    grid.colours->ShowMapSelection(std::nullopt);
    EXPECT_TRUE(frame->isHidden());

    grid.colours->ShowPointSelection(PointTable::ServoVoltage, PointRun{2, 4});
    const SelectionFrame* row = grid.colours->RowFrame(PointTable::ServoVoltage);
    EXPECT_FALSE(row->isHidden());
    EXPECT_EQ(row->parentWidget(), &grid.servo);
    EXPECT_EQ(grid.edits.servoVoltage[3]->palette().color(QPalette::Base),
              TableColours::LookFor(QApplication::palette()).fill);
    EXPECT_TRUE(grid.colours->RowFrame(PointTable::ServoRpm)->isHidden());
    grid.colours->ShowPointSelection(PointTable::ServoVoltage, std::nullopt);
    EXPECT_TRUE(row->isHidden());
}

INSTANTIATE_TEST_SUITE_P(Palettes, TableColoursTest,
                         ::testing::Values(PaletteCase{"Light", Qt::white, Qt::black},
                                           PaletteCase{"Dark", QColor(0x2B, 0x2B, 0x2B),
                                                       QColor(0xE0, 0xE0, 0xE0)}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvan::testing
