// The map (and a second tune to compare with) as pieces of surface in a box: the geometry the
// 3D view draws, before any view angle. Each cell owns the part of the surface nearer to its
// own point than to its neighbours', so a colour or a click belongs to exactly one cell.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "surface/surface_map.h"

namespace korvan {

struct Vec3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// The box the surfaces stand in. x runs from the lowest to the highest RPM breakpoint, y from
// the 100 % throttle row in front to the 0 % row at the back (the grid's top row farthest,
// as a grid on a table is seen), z from the lowest to the highest mark of the advance axis.
constexpr double kBoxHalfWidth = 1.0;
constexpr double kBoxHalfDepth = 0.8;
constexpr double kBoxHeight = 1.1;

struct SurfaceBox {
    double rpmLow = 0.0;
    double rpmHigh = 1.0;
    double throttleLow = 0.0;
    double throttleHigh = 100.0;
    int advanceLow = 0;
    int advanceHigh = 10;
    int advanceStep = 5;  // degrees between the marks of the advance axis

    double X(double rpm) const;
    double Y(double throttle) const;  // 0 (the middle) when the box has one row only
    double Z(double advance) const;
};

// A box that holds both maps: every breakpoint in use and every value of the rows in use, the
// advance axis widened to whole marks and to at least a few marks, so a flat map is drawn
// flat in the middle instead of stretched.
SurfaceBox BoxFor(const SurfaceMap& map, const std::optional<SurfaceMap>& compare);

enum class FacetKind {
    Surface,  // a quarter of a grid square
    Wall,     // one row alone: half a segment of the curve, down to the floor
};

// One piece of a surface. Corner 0 is the cell's own point; corners 1 and 3 lie on the grid
// lines through it (so the edges 0-1 and 0-3 are the mesh that joins the values) and corner 2
// is the middle of the grid square. A wall's corners 0 and 1 are on the curve, 2 and 3 on the
// floor below them.
struct Facet {
    std::array<Vec3, 4> corners;
    MapCell cell;
    FacetKind kind = FacetKind::Surface;
    int layer = 0;  // 0 the map, 1 the tune compared with it
    // Position in the grid of half cells, for the drawing order.
    int gridRow = 0;
    int gridColumn = 0;
};

class SurfaceScene {
  public:
    SurfaceScene(const SurfaceMap& map, const std::optional<SurfaceMap>& compare);

    const SurfaceMap& Map() const { return map_; }
    const std::optional<SurfaceMap>& Compare() const { return compare_; }
    const SurfaceBox& Box() const { return box_; }
    const std::vector<Facet>& Facets() const { return facets_; }

    // The point of a cell of layer 0 (the map) or 1 (the compare tune).
    Vec3 CellPoint(MapCell cell, int layer = 0) const;
    // The x of every column of a layer: by the RPM breakpoints, or evenly spaced when they do
    // not rise (an image not yet normalised), so the surface never folds onto itself.
    const std::array<double, kMapColumns>& ColumnX(int layer = 0) const;
    double RowY(const SurfaceMap& map, int row) const;

  private:
    void AddLayer(const SurfaceMap& map, int layer);

    SurfaceMap map_;
    std::optional<SurfaceMap> compare_;
    SurfaceBox box_;
    std::array<std::array<double, kMapColumns>, 2> columnX_{};
    std::vector<Facet> facets_;
};

}  // namespace korvan
