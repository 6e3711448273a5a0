#pragma once
// Small drawn icons of the main window's toolbar buttons, at 1x and 2x (sharp at any scale).
#include <QIcon>

namespace editor {

QIcon LoadGlyph();     // an opening folder
QIcon ZoomInGlyph();   // a magnifier with a plus
QIcon ZoomOutGlyph();  // a magnifier with a minus

}  // namespace editor
