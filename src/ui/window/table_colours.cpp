#include "ui/window/table_colours.h"

#include <QApplication>
#include <QPainter>
#include <QRegion>

#include "ui/window/guarded_setters.h"
#include "ui/window/numeric_edit.h"

namespace korvan {

namespace {

// A palette whose edit background is darker than this is a dark one.
constexpr int kDarkBelowLightness = 128;

// Blue, which neither the live cursor (lime) nor the time in cell (yellow to red) uses. Black
// on the light tint and white on the deep one both keep a contrast above 7:1.
const QColor kLightFill(0xA6, 0xC8, 0xFF);
const QColor kLightFrame(0x00, 0x3C, 0xB4);
const QColor kDarkFill(0x1E, 0x4A, 0x96);
const QColor kDarkFrame(0x8C, 0xB8, 0xFF);

// The frame keeps one pixel between itself and the cells.
constexpr int kFrameSpacing = 1;

}  // namespace

SelectionFrame::SelectionFrame(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void SelectionFrame::Surround(const QRect& cells, int width, const QColor& colour) {
    const int out = width + kFrameSpacing;
    const QRect outer = cells.adjusted(-out, -out, out, out);
    if (cells == cells_ && colour == colour_ && geometry() == outer && !isHidden()) return;
    cells_ = cells;
    colour_ = colour;
    setGeometry(outer);
    // Only the ring is the widget's: the cells inside are not covered.
    const QRect local(QPoint(0, 0), outer.size());
    setMask(QRegion(local).subtracted(QRegion(local.adjusted(width, width, -width, -width))));
    raise();
    show();
    update();
}

void SelectionFrame::paintEvent(QPaintEvent* /*event*/) {
    QPainter(this).fillRect(rect(), colour_);
}

const std::array<NumericEdit*, kAxisPoints>& TableColours::Edits::Row(PointTable table) const {
    switch (table) {
        case PointTable::MapRpm:
            return mapRpm;
        case PointTable::ServoRpm:
            return servoRpm;
        case PointTable::ServoVoltage:
            break;
    }
    return servoVoltage;
}

TableColours::TableColours(const Edits& edits) : edits_(edits) {
    cursor_ = CursorColoursFor(ClearedMapCursor());
    mapFrame_ = new SelectionFrame(edits_.map[0]->parentWidget());
    mapFrame_->setObjectName("MapSelectionFrame");
    const struct {
        PointTable table;
        const char* name;
    } rows[] = {{PointTable::ServoVoltage, "ServoVoltageSelectionFrame"},
                {PointTable::MapRpm, "MapRpmSelectionFrame"},
                {PointTable::ServoRpm, "ServoRpmSelectionFrame"}};
    for (const auto& row : rows) {
        SelectionFrame* frame = new SelectionFrame(edits_.Row(row.table)[0]->parentWidget());
        frame->setObjectName(row.name);
        rowFrames_[RowIndex(row.table)] = frame;
    }
}

// The frames are children of the pages and go with them.
TableColours::~TableColours() = default;

std::size_t TableColours::RowIndex(PointTable table) {
    return static_cast<std::size_t>(table);
}

const SelectionFrame* TableColours::RowFrame(PointTable table) const {
    return rowFrames_[RowIndex(table)];
}

SelectionLook TableColours::LookFor(const QPalette& palette) {
    if (palette.color(QPalette::Base).lightness() < kDarkBelowLightness)
        return {kDarkFill, Qt::white, kDarkFrame};
    return {kLightFill, Qt::black, kLightFrame};
}

void TableColours::Paint(NumericEdit* edit, Colour cursor, const QColor& heat, bool selected,
                         const SelectionLook& look) const {
    const bool underCursor = cursor != Colour::Window;
    QColor background = ToQColor(cursor);
    if (!underCursor && selected) {
        background = look.fill;
    } else if (!underCursor && heat.isValid()) {
        background = heat;
    }
    // The text colour comes with the background: the palette's own where it reads there (a dark
    // palette's white does not on the lime cursor), the selection's fixed one inside it.
    SetFieldBackground(edit, background);
    if (selected && !underCursor) SetRoleColour(edit, QPalette::Text, look.text);
}

void TableColours::ShowCursor(const CursorColours& colours) {
    cursor_ = colours;
    PaintMap();
    for (PointTable table : {PointTable::ServoVoltage, PointTable::MapRpm, PointTable::ServoRpm})
        PaintRow(table);
}

void TableColours::SetHeat(const std::array<QColor, kMapCells>& heat) {
    heat_ = heat;
    PaintMap();
}

void TableColours::ShowMapSelection(const std::optional<MapRect>& cells) {
    mapSelection_ = cells && cells->OnMap() ? cells : std::nullopt;
    PaintMap();
}

void TableColours::ShowPointSelection(PointTable table, const std::optional<PointRun>& run) {
    const bool valid = run && run->first >= 0 && run->first <= run->last && run->last < kAxisPoints;
    rowSelection_[RowIndex(table)] = valid ? run : std::nullopt;
    PaintRow(table);
}

void TableColours::PaintMap() {
    // Once for all cells: the tick paints them every 55 ms.
    const QPalette palette = QApplication::palette();
    const SelectionLook look = LookFor(palette);
    QRect block;
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            const std::size_t i = static_cast<std::size_t>(row * kMapColumns + column);
            const bool selected = mapSelection_ && mapSelection_->Contains(row, column);
            Paint(edits_.map[i], cursor_.map[i], heat_[i], selected, look);
            if (selected) block |= edits_.map[i]->geometry();
        }
    }
    if (block.isValid()) {
        mapFrame_->Surround(block, kFrameWidth, look.frame);
    } else if (!mapFrame_->isHidden()) {
        mapFrame_->hide();
    }
}

void TableColours::PaintRow(PointTable table) {
    const std::array<NumericEdit*, kAxisPoints>& row = edits_.Row(table);
    const std::array<Colour, kAxisPoints>& cursor = table == PointTable::MapRpm ? cursor_.rpmAdv
                                                    : table == PointTable::ServoRpm
                                                        ? cursor_.rpmPriv
                                                        : cursor_.napPriv;
    const std::optional<PointRun>& run = rowSelection_[RowIndex(table)];
    const QPalette palette = QApplication::palette();
    const SelectionLook look = LookFor(palette);
    QRect block;
    for (int k = 0; k < kAxisPoints; ++k) {
        const bool selected = run && k >= run->first && k <= run->last;
        Paint(row[k], cursor[k], QColor(), selected, look);
        if (selected) block |= row[k]->geometry();
    }
    SelectionFrame* frame = rowFrames_[RowIndex(table)];
    if (block.isValid()) {
        frame->Surround(block, kFrameWidth, look.frame);
    } else if (!frame->isHidden()) {
        frame->hide();
    }
}

}  // namespace korvan
