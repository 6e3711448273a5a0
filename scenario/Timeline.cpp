#include "scenario/Timeline.h"

#include <algorithm>
#include <cmath>

#include "globe/data/Geodesy.h"
#include "globe/data/GlobeUnits.h"
#include "scenario/Force.h"
#include "scenario/ScenarioState.h"

namespace scenario {

namespace {

constexpr double kMinutesPerDay = 1440;
// The leg is looked at every nautical mile of its length (every minute at most) for areas met
// on the way; a crossing is then found to the minute between two looks.
constexpr std::int32_t kLookDistance = globe::GlobeUnitsPerMinute;

TEventPlace PlaceOfArea(TAreaKind kind)
{
  switch (kind) {
    case TAreaKind::Recon: return TEventPlace::Recon;
    case TAreaKind::Strike: return TEventPlace::Strike;
    case TAreaKind::Minefield: return TEventPlace::Minefield;
    default: return TEventPlace::Subzone;
  }
}

constexpr int kEveryCase = 0;

// The voyages of the force's cases with a route: every one, or only case `only`.
void AddVoyages(const TScenarioState& state, const TForce& force, int only, std::vector<TCaseVoyage>& voyages)
{
  for (TTimelineRoute& route : ForceTimelineRoutes(state, force)) {
    if (only != kEveryCase && route.Case != only) continue;
    TVoyage voyage(route, force.CurrentSpeed);
    voyages.push_back({force.Title(), force.Side, std::move(route), std::move(voyage)});
  }
}

class TCaseEvents {
 public:
  TCaseEvents(const TCaseVoyage& voyage, double start) : Voyage_(voyage), Start_(start) {}

  void Add(std::int64_t minute, TEventKind kind, TEventPlace place, const std::string& name,
           const globe::TGeoPoint& at)
  {
    Events.push_back({Voyage_.Force, Voyage_.Side, Voyage_.Route.Case, minute, kind, place, name, at,
                      DayPhase(at, MinuteTime(Start_, minute))});
  }

  // Enter or leave events of the area along the leg, from the state `inside` at its start; the
  // state at its end is left in `inside`.
  void CrossArea(const TVoyageLeg& leg, const TExposureArea& area, bool& inside)
  {
    const auto insideAt = [&](std::int64_t m) { return area.Contains(TVoyage::PointOnLeg(leg, m)); };
    const std::int64_t length = globe::GreatCircleDistance(leg.From, leg.To);
    const std::int64_t looks = std::clamp<std::int64_t>(length / kLookDistance + 1, 1, std::max<std::int64_t>(leg.Minutes, 1));
    std::int64_t before = 0;
    for (std::int64_t k = 1; k <= looks; ++k) {
      const std::int64_t m = leg.Minutes * k / looks;
      if (insideAt(m) == inside) {
        before = m;
        continue;
      }
      // The first minute after `before` on the other side.
      std::int64_t lo = before, hi = m;
      while (hi - lo > 1) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        (insideAt(mid) == inside ? lo : hi) = mid;
      }
      inside = !inside;
      Add(leg.StartMinute + hi, inside ? TEventKind::Enter : TEventKind::Leave, PlaceOfArea(area.Kind), area.Name,
          TVoyage::PointOnLeg(leg, hi));
      before = m;
    }
  }

  std::vector<TTimelineEvent> Events;

 private:
  const TCaseVoyage& Voyage_;
  double Start_;
};

}  // namespace

const char* EventKindName(TEventKind kind)
{
  switch (kind) {
    case TEventKind::Depart: return "depart";
    case TEventKind::Arrive: return "arrive";
    case TEventKind::Enter: return "enter";
    default: return "leave";
  }
}

const char* EventPlaceName(TEventPlace place)
{
  switch (place) {
    case TEventPlace::Waypoint: return "waypoint";
    case TEventPlace::Target: return "target";
    case TEventPlace::Recon: return AreaKindName(TAreaKind::Recon);
    case TEventPlace::Strike: return AreaKindName(TAreaKind::Strike);
    case TEventPlace::Minefield: return AreaKindName(TAreaKind::Minefield);
    case TEventPlace::Subzone: return AreaKindName(TAreaKind::Subzone);
    default: return "";
  }
}

double MinuteTime(double start, std::int64_t minute) { return start + static_cast<double>(minute) / kMinutesPerDay; }

std::vector<TCaseVoyage> ScenarioVoyages(const TScenarioState& state)
{
  std::vector<TCaseVoyage> voyages;
  for (const TForce* force : state.ForceList) AddVoyages(state, *force, kEveryCase, voyages);
  return voyages;
}

std::vector<TCaseVoyage> PlayedVoyages(const TScenarioState& state, const TForce* selected, int shownCase)
{
  std::vector<TCaseVoyage> voyages;
  for (const TForce* force : state.ForceList) {
    const int played = force == selected ? shownCase : (force->Mission ? force->Mission->ChosenCase : 0);
    if (played > 0) AddVoyages(state, *force, played, voyages);
  }
  return voyages;
}

std::int64_t LastArrivalMinute(const std::vector<TCaseVoyage>& voyages)
{
  std::int64_t last = 0;
  for (const TCaseVoyage& voyage : voyages) {
    if (!voyage.Voyage.Moves() || voyage.Voyage.Legs().empty()) continue;
    const TVoyageLeg& leg = voyage.Voyage.Legs().back();
    last = std::max(last, leg.StartMinute + leg.Minutes);
  }
  return last;
}

std::vector<TTimelineEvent> CaseTimeline(const TCaseVoyage& voyage, const std::vector<TExposureArea>& areas, double start)
{
  TCaseEvents events(voyage, start);
  const std::vector<TVoyageLeg>& legs = voyage.Voyage.Legs();
  const std::vector<TRoutePlace>& places = voyage.Route.Places;
  if (legs.empty()) return {};
  const std::int64_t depart = voyage.Voyage.DepartMinute();
  if (voyage.Voyage.Moves()) events.Add(depart, TEventKind::Depart, TEventPlace::Start, places.front().Line, places.front().Point);

  std::vector<const TExposureArea*> enemy;
  for (const TExposureArea& area : areas)
    if (area.Side != voyage.Side) enemy.push_back(&area);
  // An area the force starts inside is entered at the departure.
  std::vector<bool> inside(enemy.size(), false);
  for (std::size_t a = 0; a < enemy.size(); ++a) {
    if (!enemy[a]->Contains(places.front().Point)) continue;
    inside[a] = true;
    events.Add(depart, TEventKind::Enter, PlaceOfArea(enemy[a]->Kind), enemy[a]->Name, places.front().Point);
  }
  if (!voyage.Voyage.Moves()) return std::move(events.Events);

  for (std::size_t i = 0; i < legs.size(); ++i) {
    const TVoyageLeg& leg = legs[i];
    for (std::size_t a = 0; a < enemy.size(); ++a) {
      if (!enemy[a]->MayMeet(leg.From, leg.To)) continue;
      bool state = inside[a];
      events.CrossArea(leg, *enemy[a], state);
      inside[a] = state;
    }
    const TRoutePlace& end = places[i + 1];
    events.Add(leg.StartMinute + leg.Minutes, TEventKind::Arrive,
               end.Kind == TRouteMark::Target ? TEventPlace::Target : TEventPlace::Waypoint, end.Line, end.Point);
  }
  std::stable_sort(events.Events.begin(), events.Events.end(),
                   [](const TTimelineEvent& a, const TTimelineEvent& b) { return a.Minute < b.Minute; });
  return std::move(events.Events);
}

std::vector<TTimelineEvent> VoyagesTimeline(const std::vector<TCaseVoyage>& voyages,
                                            const std::vector<TExposureArea>& areas, double start)
{
  std::vector<TTimelineEvent> all;
  for (const TCaseVoyage& voyage : voyages) {
    std::vector<TTimelineEvent> events = CaseTimeline(voyage, areas, start);
    all.insert(all.end(), std::make_move_iterator(events.begin()), std::make_move_iterator(events.end()));
  }
  std::stable_sort(all.begin(), all.end(), [](const TTimelineEvent& a, const TTimelineEvent& b) { return a.Minute < b.Minute; });
  return all;
}

std::vector<TTimelineEvent> ScenarioTimeline(const TScenarioState& state, globe::TCustomVoduz4& globe)
{
  return VoyagesTimeline(ScenarioVoyages(state), ExposureAreas(state.BaseList, globe), state.StartTime);
}

}  // namespace scenario
