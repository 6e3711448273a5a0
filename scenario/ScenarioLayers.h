#pragma once
// The named layers that hold the scenario's map objects and the presenters that draw them.
// Each presenter kind is made once per layer and shared, found again by name or pen colour.

#include <cstdint>
#include <string>
#include <string_view>

#include "globe/data/GlobeColor.h"

namespace globe {
class TCustomVoduz4;
class TGlobeLayer;
}  // namespace globe

namespace scenario {

inline constexpr std::string_view kBasesLayer = "Bases";
inline constexpr std::string_view kTrackingLayer = "TrackingLayer";
inline constexpr std::string_view kAlliedSubsLayer = "Subs1.LYR";
inline constexpr std::string_view kAxisSubsLayer = "Subs0.LYR";

// Which titles find room first on a crowded map (after the selected force's arrival times):
// forces (1), then bases (2), then submarine zones (3), then any other layer's (4).
int ScenarioTitlePriority(const std::string& layerName);

// The layer of that name (letter case ignored), or a new layer of that name on top.
globe::TGlobeLayer& LayerByNameOrNew(globe::TCustomVoduz4& globe, std::string_view name);

// The "TrackingLayer" point presenter with that pen colour (a force mark), made when missing.
std::int32_t PointPresenterFor(globe::TCustomVoduz4& globe, globe::TColor color);
// The "TrackingLayer" poly presenter with that pen colour (track and route lines).
std::int32_t PolyPresenterFor(globe::TCustomVoduz4& globe, globe::TColor color);
// The layer's polygon presenter with that pen colour, outline only (a submarine zone).
std::int32_t PolygonPresenterFor(globe::TGlobeLayer& layer, globe::TColor color);

}  // namespace scenario
