// The pictures of the four tool buttons, drawn here so the program carries no image files.
#pragma once

#include <QIcon>

namespace korvan {

enum class ToolIcon { New, Open, Save, Print };

// A 16 x 16 picture; the disabled look is derived by the style.
QIcon MakeToolIcon(ToolIcon which);

}  // namespace korvan
