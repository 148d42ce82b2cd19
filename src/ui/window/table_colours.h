// The colours of the map cells and of the three 10-point rows (the map's RPM points, the
// servo's RPM points and voltages): the live cursor, the time the engine spent in each cell
// (from a ride log) and the selection of the map tools. The layers are laid over each other
// in this one place, so that the tick's cursor colours never wipe out a selection and a
// selection never hides the cell the engine runs in.
//
// The selection is a tint with a text colour of its own, in a light and a dark variant chosen
// by the palette, and a frame around the selected block: blue, so that it is told apart at a
// glance from the lime of the live cursor and the yellow to red of the time in cell.
#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>
#include <array>
#include <optional>

#include "device/map_cursor.h"
#include "params/map_operations.h"

namespace korvan {

class NumericEdit;

// A frame around a block of cells, drawn in the gaps between them: it covers no cell, so no
// cell is painted again for it, and every mouse event goes through it to the cells.
class SelectionFrame : public QWidget {
    Q_OBJECT

  public:
    explicit SelectionFrame(QWidget* parent);
    // Around `cells` (in the parent's coordinates), `width` pixels wide, outside them.
    void Surround(const QRect& cells, int width, const QColor& colour);
    QColor Colour() const { return colour_; }
    // The rectangle of cells it surrounds.
    QRect Cells() const { return cells_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QRect cells_;
    QColor colour_;
};

// How a selection is drawn in a palette.
struct SelectionLook {
    QColor fill;   // the selected cells' background
    QColor text;   // their text
    QColor frame;  // the frame around the block
};

class TableColours {
  public:
    static constexpr int kMapCells = kMapRows * kMapColumns;
    // The frame's width in pixels; it lies in the gap between the cells.
    static constexpr int kFrameWidth = 2;

    struct Edits {
        std::array<NumericEdit*, kMapCells> map{};             // row-major, "Edit50".."Edit149"
        std::array<NumericEdit*, kAxisPoints> mapRpm{};        // "EditRpmAdv1".."EditRpmAdv10"
        std::array<NumericEdit*, kAxisPoints> servoRpm{};      // "EditRpmPriv1".."EditRpmPriv10"
        std::array<NumericEdit*, kAxisPoints> servoVoltage{};  // "EditNapPriv1".."EditNapPriv10"
        const std::array<NumericEdit*, kAxisPoints>& Row(PointTable table) const;
    };

    explicit TableColours(const Edits& edits);
    ~TableColours();
    TableColours(const TableColours&) = delete;
    TableColours& operator=(const TableColours&) = delete;

    const Edits& Cells() const { return edits_; }

    // The live cursor's colours of the map and the three rows (lime where the engine runs).
    void ShowCursor(const CursorColours& colours);
    // Colours laid under the map cells; an invalid colour leaves a cell its normal colour.
    void SetHeat(const std::array<QColor, kMapCells>& heat);
    // The selected block of the map; none: no block is drawn.
    void ShowMapSelection(const std::optional<MapRect>& cells);
    // The selected run of one row; none: no run is drawn in that row.
    void ShowPointSelection(PointTable table, const std::optional<PointRun>& run);

    // The selection's colours for `palette`: a light tint with dark text on a light palette,
    // a deep tint with light text on a dark one.
    static SelectionLook LookFor(const QPalette& palette);
    // The frames, for the tests: the map's, and each row's.
    const SelectionFrame* MapFrame() const { return mapFrame_; }
    const SelectionFrame* RowFrame(PointTable table) const;

  private:
    void PaintMap();
    void PaintRow(PointTable table);
    void Paint(NumericEdit* edit, Colour cursor, const QColor& heat, bool selected,
               const SelectionLook& look) const;
    static std::size_t RowIndex(PointTable table);

    Edits edits_;
    CursorColours cursor_{};
    std::array<QColor, kMapCells> heat_{};
    std::optional<MapRect> mapSelection_;
    std::array<std::optional<PointRun>, 3> rowSelection_{};
    SelectionFrame* mapFrame_ = nullptr;
    std::array<SelectionFrame*, 3> rowFrames_{};
};

}  // namespace korvan
