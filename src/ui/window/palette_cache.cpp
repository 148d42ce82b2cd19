#include "ui/window/palette_cache.h"

#include <vector>

namespace korvan {

namespace {

// The window shows a handful of colours per control kind; the list stays short. Should
// something keep making new ones, the list starts over instead of growing.
constexpr std::size_t kMaxSharedPalettes = 64;

}  // namespace

QPalette SharedPalette(const QPalette& palette) {
    static std::vector<QPalette> shared;
    for (const QPalette& candidate : shared) {
        // Equal content: every brush of every group (the current group is not compared).
        if (candidate == palette) {
            QPalette copy = candidate;  // shares the data and the cache key
            copy.setCurrentColorGroup(palette.currentColorGroup());
            return copy;
        }
    }
    if (shared.size() >= kMaxSharedPalettes) shared.clear();
    shared.push_back(palette);
    return palette;
}

}  // namespace korvan
