#pragma once
// The areas in which a force is exposed to the other side, as the map draws them: a base's
// reconnaissance sector (its outline polygon), its strike range (a circle of StrikeRange around
// the base) and its minefield (a circle of its Mines radius), and a submarine zone (its corner
// points as a polygon).

#include <cstdint>
#include <string>
#include <vector>

#include "globe/data/GeoTypes.h"

namespace globe {
class TCustomVoduz4;
}

namespace scenario {

class TBase;

enum class TAreaKind : std::uint8_t { Recon, Strike, Minefield, Subzone };

// "recon", "strike", "minefield", "subzone".
const char* AreaKindName(TAreaKind kind);

struct TExposureArea {
  TAreaKind Kind = TAreaKind::Strike;
  std::int32_t Side = 0;  // the side whose base or zone it is
  std::string Name;       // the base's or zone's title
  // A circle around Centre of Radius GlobeUnit, or with Polygon points the polygon; every point of
  // the area lies within Radius of Centre either way.
  globe::TGeoPoint Centre;
  std::int32_t Radius = 0;
  std::vector<globe::TGeoPoint> Polygon;

  bool Contains(const globe::TGeoPoint& point) const;
  // Whether some point of the great circle from `from` to `to` may lie inside: false only when the
  // whole leg keeps farther from Centre than Radius.
  bool MayMeet(const globe::TGeoPoint& from, const globe::TGeoPoint& to) const;
};

// Every area of the loaded scenario: per base in list order its sector (when it has a
// reconnaissance range), strike range (when it has one) and minefield (when it has mines), then
// the submarine zones of side 1 and of side 0 in reading order.
std::vector<TExposureArea> ExposureAreas(const std::vector<TBase*>& bases, globe::TCustomVoduz4& globe);

}  // namespace scenario
