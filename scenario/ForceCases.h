#pragma once
// The parsed routes of the selected task force's cases 1..6: where each case starts, its route
// and target points, its delay and its current waypoint. Rebuilt from the side's file lines at
// every force selection and case by case after each edit; the map draws routes from it.
#include <array>

#include "globe/data/GeoTypes.h"
#include "globe/data/PointStore.h"

namespace scenario {

constexpr int kCaseCount = 6;

struct TForceCases {
  // Indexed by case number - 1.
  std::array<globe::TGeoPoint, kCaseCount> CaseStart{};
  std::array<globe::TPointStore, kCaseCount> CaseWaypoints;  // WP= and Origin= points
  std::array<globe::TPointStore, kCaseCount> CaseTargets;    // TP= and Target= points
  std::array<int, kCaseCount> CaseDelay{};                   // hours
  std::array<int, kCaseCount> CaseCWPI{};                    // first waypoint still to reach

  // Case n (1..6) forgets its points and current waypoint. Its start and delay stay until a
  // parsed line sets them.
  void ResetCase(int n);
};

}  // namespace scenario
