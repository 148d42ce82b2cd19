// How the 3D view looks at the scene: the view angle a user turns with the mouse, the
// projection of the box onto a window of any size, the order in which the pieces are painted
// (farthest first, so nearer ones cover them) and which cell lies under a screen point.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "surface/surface_scene.h"

namespace korvan {

// What the owner keeps in the settings. Angles in degrees.
struct ViewAngle {
    double yaw = 30.0;    // turn about the vertical axis; positive turns the high RPM away
    double pitch = 30.0;  // height of the eye above the map's plane, -90 (below) .. 90 (above)
    double zoom = 1.0;    // 1: the box fills the window
    double panX = 0.0;    // shift of the picture, in parts of the window's shorter side
    double panY = 0.0;

    bool operator==(const ViewAngle& o) const {
        return yaw == o.yaw && pitch == o.pitch && zoom == o.zoom && panX == o.panX &&
               panY == o.panY;
    }
    bool operator!=(const ViewAngle& o) const { return !(*this == o); }
};

constexpr double kMinZoom = 0.25;
constexpr double kMaxZoom = 12.0;
constexpr double kMaxPan = 8.0;

// The yaw brought into -180..180, the pitch, zoom and pan into their ranges; a value that is not
// a number takes the default's.
ViewAngle ClampView(const ViewAngle& view);

// The view as one settings value ("30 30 1 0 0", a dot for decimals in every locale) and back.
// Text that is not five numbers gives nothing; numbers out of range are brought into it.
std::string ViewAngleText(const ViewAngle& view);
std::optional<ViewAngle> ParseViewAngle(const std::string& text);

// The mouse and keys: turning by degrees, moving by pixels, zooming by a factor about the point
// (x, y) of a window of `width` x `height`, which stays where it is.
ViewAngle Rotated(const ViewAngle& view, double yawDegrees, double pitchDegrees);
ViewAngle Panned(const ViewAngle& view, double dx, double dy, double width, double height);
ViewAngle ZoomedAt(const ViewAngle& view, double factor, double x, double y, double width,
                   double height);

struct ScreenPoint {
    double x = 0.0;
    double y = 0.0;      // downwards, as on the screen
    double depth = 0.0;  // grows towards the eye
};

// A parallel projection: the box turned by the view angle and scaled so that it fits into the
// window, whatever the angle, leaving `margin` pixels for the axis labels (less in a tiny window).
class Projection {
  public:
    Projection(const ViewAngle& view, double width, double height, double margin);

    ScreenPoint Project(const Vec3& p) const;
    const ViewAngle& View() const { return view_; }
    double Width() const { return width_; }
    double Height() const { return height_; }
    // Pixels per unit of the box.
    double Scale() const { return scale_; }

    // Which sides of the box are away from the eye: the painting runs from them towards the eye.
    bool BackIsHighRpm() const { return sinYaw_ > 0.0; }
    bool BackIsLowThrottle() const { return cosYaw_ > 0.0; }

  private:
    ViewAngle view_;
    double width_;
    double height_;
    double scale_ = 1.0;
    double centreX_ = 0.0;
    double centreY_ = 0.0;
    double sinYaw_ = 0.0;
    double cosYaw_ = 1.0;
    double sinPitch_ = 0.0;
    double cosPitch_ = 1.0;
};

struct ProjectedFacet {
    std::array<ScreenPoint, 4> corners;
    double depth = 0.0;  // of the middle of the piece
};

// Where a screen point meets a piece: its depth there.
std::optional<double> DepthAt(const ProjectedFacet& facet, double x, double y);

// A scene seen through a projection: every piece on the screen, the painting order and picking.
class SceneView {
  public:
    SceneView(const SurfaceScene& scene, const Projection& projection);

    const SurfaceScene& Scene() const { return scene_; }
    const Projection& Proj() const { return projection_; }
    const std::vector<ProjectedFacet>& Projected() const { return projected_; }
    // Indexes into Scene().Facets(), farthest first. Within one surface the order follows the
    // grid from the back corner forwards, which is exact for a surface over a grid (no piece
    // is painted before one it hides); the two tunes' pieces are merged by depth.
    const std::vector<std::size_t>& Order() const { return order_; }

    ScreenPoint CellScreen(MapCell cell, int layer = 0) const;
    // The cell of the map whose piece is painted in front at (x, y); where no piece is (a curve
    // seen edge-on), the cell whose point lies within `slack` pixels. Nothing off the surface.
    std::optional<MapCell> Pick(double x, double y, double slack) const;

  private:
    const SurfaceScene& scene_;
    Projection projection_;
    std::vector<ProjectedFacet> projected_;
    std::vector<std::size_t> order_;
};

}  // namespace korvan
