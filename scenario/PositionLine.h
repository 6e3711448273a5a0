#pragma once
// A case line given a new position on the map (Pick point, waypoint drag): a "WP=" line stays a
// waypoint, a "TP=" line a target point, any other line becomes an "LL=" start position; the
// position is written in its short form.
#include <string>
#include <string_view>

#include "globe/data/GeoTypes.h"
#include "scenario/PositionText.h"

namespace scenario {

inline std::string PositionLine(std::string_view oldLine, const globe::TGeoPoint& point)
{
  const std::string_view head = oldLine.substr(0, 3);
  const std::string label = head == "WP=" || head == "TP=" ? std::string(head) : "LL=";
  return label + FormatPosition(point, false);
}

}  // namespace scenario
