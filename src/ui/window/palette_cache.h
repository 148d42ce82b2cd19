// One shared palette per distinct content. The style keeps the pictures it draws (spin box
// frames, buttons) in a pixmap cache keyed by the palette's cache key, and every palette built
// or resolved anew gets a new key: a field that goes lime and back on every reading would add
// a picture to that cache on each change and never find one again. Painting with the shared
// palette of the same content keeps the keys, so the cache finds its pictures again.
#pragma once

#include <QPalette>

namespace korvan {

// The shared palette with the same colours as `palette` (its colour group taken over).
QPalette SharedPalette(const QPalette& palette);

}  // namespace korvan
