#include "scenario/ScenarioExtent.h"

#include <algorithm>
#include <cstdint>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/view/GlobeProjection.h"
#include "scenario/Base.h"
#include "scenario/Force.h"
#include "scenario/ScenarioLayers.h"
#include "scenario/ScenarioState.h"

namespace scenario {

namespace {

void AddZoneOutlines(globe::TCustomVoduz4& globe, std::string_view layerName, std::vector<globe::TGeoPoint>& points)
{
  globe::TGlobeLayer* layer = globe.LayerStore().LayerByName(layerName);
  if (layer == nullptr || layer->ObjectSource() == nullptr) return;
  globe::TGlobeObjectSource& source = *layer->ObjectSource();
  for (std::int32_t i = 0; i < source.Count(); ++i) {
    auto* zone = dynamic_cast<globe::TGeoDataObject*>(source.Objects(i));
    if (zone == nullptr) continue;
    globe::TChainStore& chains = zone->Chains();
    for (std::int32_t c = 0; c < chains.Count(); ++c) {
      const globe::TPointStore& chain = chains.Chain(c);
      for (std::int32_t k = 0; k < chain.Count(); ++k) points.push_back(chain.Point(k));
    }
  }
}

}  // namespace

std::vector<globe::TGeoPoint> ScenarioExtentPoints(const TScenarioState& state, globe::TCustomVoduz4& globe)
{
  std::vector<globe::TGeoPoint> points;
  for (const TBase* base : state.BaseList) points.push_back(base->Location);
  for (TForce* force : state.ForceList) points.push_back(force->GetCentroid());
  AddZoneOutlines(globe, kAxisSubsLayer, points);
  AddZoneOutlines(globe, kAlliedSubsLayer, points);
  return points;
}

std::vector<globe::TGeoPoint> ForceRoutePoints(TForce* force, const TForceCases& cases)
{
  std::vector<globe::TGeoPoint> points;
  if (force != nullptr) points.push_back(force->GetCentroid());
  for (std::size_t c = 0; c < static_cast<std::size_t>(kCaseCount); ++c) {
    if (cases.CaseWaypoints[c].Count() == 0 && cases.CaseTargets[c].Count() == 0) continue;
    points.push_back(cases.CaseStart[c]);
    for (const globe::TPointStore* store : {&cases.CaseWaypoints[c], &cases.CaseTargets[c]})
      for (std::int32_t k = 0; k < store->Count(); ++k) points.push_back(store->Point(k));
  }
  return points;
}

bool WindowShowsScenario(const globe::TGlobeProjection& projection, std::int32_t width, std::int32_t height,
                         const std::vector<globe::TGeoPoint>& points)
{
  if (points.empty()) return true;
  std::int64_t left = INT64_MAX, right = INT64_MIN, top = INT64_MAX, bottom = INT64_MIN;
  for (const globe::TGeoPoint& point : points) {
    platform::TPoint xy;
    if (!projection.PointLLToDeviceXY(point, xy) || xy.X < 0 || xy.Y < 0 || xy.X >= width || xy.Y >= height)
      return false;
    left = std::min<std::int64_t>(left, xy.X), right = std::max<std::int64_t>(right, xy.X);
    top = std::min<std::int64_t>(top, xy.Y), bottom = std::max<std::int64_t>(bottom, xy.Y);
  }
  return 2 * (right - left) >= width || 2 * (bottom - top) >= height;
}

}  // namespace scenario
