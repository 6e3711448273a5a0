#pragma once
// The map's settings when the main window opens, before a scenario is loaded.

namespace globe {
class TVoduz4;
}

namespace editor {

// Spherical view over the Mediterranean, no scroll bars, silver graticule in front, pale blue
// sea; left drag zooms, right drag rotates, no mouse selection; meta data is not saved.
void ApplyGlobeStartSettings(globe::TVoduz4& view);

}  // namespace editor
