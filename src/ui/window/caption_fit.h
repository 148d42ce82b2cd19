// Whether a caption fits its control with the platform's font. The window's design sizes come
// from a narrower font than most platforms have; these measures let the window widen what
// would clip, and let the tests prove that nothing does.
#pragma once

#include <QString>
#include <QWidget>

namespace korvan {

// The width a label, button, check box or group box needs to show `text` whole; 0 for a label
// that wraps its text (its height decides) and for other controls.
int CaptionWidth(QWidget* control, const QString& text);

// Whether the control shows its current caption whole.
bool CaptionFits(QWidget* control);

// Widens every control under `root` whose caption in one of the three languages would not
// fit, keeping its position.
void FitCaptionsToLanguages(QWidget* root);

}  // namespace korvan
