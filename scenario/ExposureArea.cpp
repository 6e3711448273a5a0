#include "scenario/ExposureArea.h"

#include <algorithm>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GeoMath.h"
#include "globe/data/Geodesy.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeUnits.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/GreatCirclePath.h"
#include "scenario/Base.h"
#include "scenario/ScenarioLayers.h"
#include "scenario/SubZone.h"

namespace scenario {

namespace {

// A zone's edges run straight in latitude and longitude, not on great circles: its reach from its
// first corner is measured at this many points along each edge.
constexpr std::int32_t kEdgeLooks = 16;

// The point at fraction k / kEdgeLooks of the straight edge a -> b, the shorter way in longitude.
globe::TGeoPoint EdgePoint(const globe::TGeoPoint& a, const globe::TGeoPoint& b, std::int32_t k)
{
  std::int64_t dLong = std::int64_t{b.LongX} - a.LongX;
  if (dLong > globe::GU_180_DEGREES) dLong -= globe::GU_360_DEGREES;
  if (dLong < -globe::GU_180_DEGREES) dLong += globe::GU_360_DEGREES;
  const std::int64_t dLat = std::int64_t{b.LatY} - a.LatY;
  return globe::TGeoPoint(globe::WrapLongitude(a.LongX + dLong * k / kEdgeLooks),
                          static_cast<std::int32_t>(a.LatY + dLat * k / kEdgeLooks));
}

void AddZones(globe::TCustomVoduz4& globe, std::string_view layerName, std::int32_t side,
              std::vector<TExposureArea>& areas)
{
  globe::TGlobeLayer* layer = globe.LayerStore().LayerByName(layerName);
  if (layer == nullptr || layer->ObjectSourceIfAny() == nullptr) return;
  globe::TGlobeObjectSource& source = *layer->ObjectSourceIfAny();
  for (std::int32_t i = 0; i < source.Count(); ++i) {
    auto* zone = dynamic_cast<TSubZone*>(source.PeekEntry(i));
    if (zone == nullptr) continue;
    const globe::TPointStore* chain = zone->Chains().ChainIfPresent(0);
    if (chain == nullptr || chain->Count() < 3) continue;
    TExposureArea area{TAreaKind::Subzone, side, zone->Title(), chain->Point(0), 0, {}};
    for (std::int32_t k = 0; k < chain->Count(); ++k) area.Polygon.push_back(chain->Point(k));
    for (std::size_t e = 0; e < area.Polygon.size(); ++e) {
      const globe::TGeoPoint& to = area.Polygon[(e + 1) % area.Polygon.size()];
      for (std::int32_t k = 0; k < kEdgeLooks; ++k)
        area.Radius = std::max(area.Radius, globe::GreatCircleDistance(area.Centre, EdgePoint(area.Polygon[e], to, k)));
    }
    // Between two looks an edge may bow out a little further.
    area.Radius += area.Radius / kEdgeLooks + globe::GlobeUnitsPerMinute;
    areas.push_back(std::move(area));
  }
}

}  // namespace

const char* AreaKindName(TAreaKind kind)
{
  switch (kind) {
    case TAreaKind::Recon: return "recon";
    case TAreaKind::Strike: return "strike";
    case TAreaKind::Minefield: return "minefield";
    default: return "subzone";
  }
}

bool TExposureArea::Contains(const globe::TGeoPoint& point) const
{
  if (Polygon.empty()) return globe::GreatCircleDistance(Centre, point) <= Radius;
  return globe::PointInPolygon(Polygon, point.LongX, point.LatY);
}

bool TExposureArea::MayMeet(const globe::TGeoPoint& from, const globe::TGeoPoint& to) const
{
  // Every point of the leg lies within half its length of its middle.
  const globe::TGeoPoint middle = globe::GreatCirclePoint(from, to, 0.5L);
  const std::int64_t reach = std::int64_t{globe::GreatCircleDistance(from, to)} / 2 + Radius + globe::GlobeUnitsPerMinute;
  return globe::GreatCircleDistance(middle, Centre) <= reach;
}

std::vector<TExposureArea> ExposureAreas(const std::vector<TBase*>& bases, globe::TCustomVoduz4& globe)
{
  std::vector<TExposureArea> areas;
  for (TBase* base : bases) {
    const globe::TGeoPoint centre = base->GetCentroid();
    if (base->ReconRange > 0 && base->ReconWidth > 0) {
      areas.push_back({TAreaKind::Recon, base->Side, base->Title(), centre, base->ReconRange,
                       {base->ReconOutline.begin(), base->ReconOutline.end()}});
    }
    if (base->StrikeRange > 0) areas.push_back({TAreaKind::Strike, base->Side, base->Title(), centre, base->StrikeRange, {}});
    if (base->Mines > 0) areas.push_back({TAreaKind::Minefield, base->Side, base->Title(), centre, base->Mines, {}});
  }
  AddZones(globe, kAlliedSubsLayer, 1, areas);
  AddZones(globe, kAxisSubsLayer, 0, areas);
  return areas;
}

}  // namespace scenario
