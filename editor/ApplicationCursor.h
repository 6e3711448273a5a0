#pragma once
// The mouse cursor of the whole application: a cross while the map waits for a picked point.

namespace editor {

// Shows the cross over every window of the application; calling it again changes nothing.
void ShowCrossCursor();
// Returns the normal cursor; without a cross shown it changes nothing.
void RestoreNormalCursor();
bool CrossCursorShown();

}  // namespace editor
