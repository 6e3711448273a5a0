#pragma once
// The editor's map as its main window opens, before a scenario is loaded. The check tool draws
// its pictures with the same settings, so it shows what the editor shows after a load.

#include <cstdint>

namespace globe {
class TVoduz4;
}

namespace scenario {

// The map's client area in the main window's design.
inline constexpr std::int32_t kEditorMapWidth = 579;
inline constexpr std::int32_t kEditorMapHeight = 581;

// The sea: the map's surface colour (RGB C8EEF9), also the labels' halo.
inline constexpr std::uint32_t kEditorSeaColour = 0xF9EEC8;

// Sizes the view to the map's design area (the size its settings were made for), then applies
// them: spherical view over the central Mediterranean and the Sahara, no scroll bars, silver
// graticule in front, pale blue sea; left drag zooms, right drag rotates, no mouse selection;
// meta data is not saved. A hosted view then follows its window by the resizing rules.
void ApplyGlobeStartSettings(globe::TVoduz4& view);

}  // namespace scenario
