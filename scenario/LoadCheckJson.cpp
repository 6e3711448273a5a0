// The JSON form of a load check.

#include <span>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/GlobePresenter.h"
#include "globe/data/GlobePresenterStore.h"
#include "platform/UserDialogs.h"
#include "scenario/Base.h"
#include "scenario/Force.h"
#include "scenario/JsonText.h"
#include "scenario/LintFindingsJson.h"
#include "scenario/LoadCheck.h"
#include "scenario/Overlay.h"
#include "scenario/ScenarioLayers.h"
#include "scenario/ScenarioState.h"
#include "scenario/SubZone.h"

namespace scenario {

namespace {

TJson Point(const globe::TGeoPoint& point) { return TJson::array({point.LongX, point.LatY}); }

TJson Points(const globe::TPointStore* points) {
    TJson list = TJson::array();
    if (points != nullptr) {
        for (std::int32_t i = 0; i < points->Count(); ++i) list.push_back(Point(points->Point(i)));
    }
    return list;
}

TJson Layers(globe::TCustomVoduz4& globe) {
    TJson list = TJson::array();
    const globe::TGlobeLayerStore& layers = globe.LayerStore();
    for (std::int32_t i = 0; i < layers.Count(); ++i) {
        globe::TGlobeLayer& layer = *layers.Layers(i);
        const globe::TGlobeObjectSource* source = layer.ObjectSourceIfAny();
        TJson entry;
        entry["name"] = JsonText(layer.Name());
        entry["class"] = source != nullptr ? JsonText(source->ClassName()) : TJson(nullptr);
        entry["objects"] = source != nullptr ? source->Count() : 0;
        entry["visible"] = layer.Visible();
        list.push_back(std::move(entry));
    }
    return list;
}

std::string PresenterName(globe::TCustomVoduz4& globe, std::int32_t id) {
    const globe::TGlobeLayer* layer = globe.LayerStore().LayerByName(kBasesLayer);
    if (layer == nullptr || layer->Presenters() == nullptr) return {};
    const globe::TGlobePresenter* presenter = layer->Presenters()->ByID(id, false);
    return presenter != nullptr ? presenter->Name() : std::string();
}

TJson Bases(TScenarioState& state, globe::TCustomVoduz4& globe) {
    TJson list = TJson::array();
    for (TBase* base : state.BaseList) {
        TJson entry;
        entry["title"] = JsonText(base->Title());
        entry["side"] = base->Side;
        entry["port"] = base->Port;
        entry["location"] = Point(base->Location);
        entry["position"] = Point(base->GetCentroid());
        entry["delay"] = base->Delay;
        entry["mines"] = base->Mines;
        entry["reconRange"] = base->ReconRange;
        entry["reconDir"] = base->ReconDir;
        entry["reconWidth"] = base->ReconWidth;
        entry["strikeRange"] = base->StrikeRange;
        entry["reconType"] = JsonText(base->ReconType);
        entry["strikeType"] = JsonText(base->StrikeType);
        entry["strikePlanes"] = base->StrikePlanes;
        entry["hitChance"] = base->HitChance;
        entry["presenter"] = JsonText(PresenterName(globe, base->PresenterID()));
        TJson& ships = entry["ships"] = TJson::array();
        for (const TShip* ship : base->Ships) ships.push_back(JsonText(ship->Name()));
        TJson& outline = entry["reconOutline"] = TJson::array();
        for (const globe::TGeoPoint& point : base->ReconOutline) outline.push_back(Point(point));
        list.push_back(std::move(entry));
    }
    return list;
}

TJson Zones(globe::TCustomVoduz4& globe) {
    TJson list = TJson::array();
    // In reading order: the side 1 file first.
    for (const std::int32_t side : {1, 0}) {
        globe::TGlobeLayer* layer = globe.LayerStore().LayerByName(side == 1 ? kAlliedSubsLayer : kAxisSubsLayer);
        if (layer == nullptr || layer->ObjectSourceIfAny() == nullptr) continue;
        globe::TGlobeObjectSource& source = *layer->ObjectSourceIfAny();
        for (std::int32_t i = 0; i < source.Count(); ++i) {
            auto* zone = dynamic_cast<TSubZone*>(source.PeekEntry(i));
            if (zone == nullptr) continue;
            TJson entry;
            entry["side"] = side;
            entry["title"] = JsonText(zone->Title());
            entry["strength"] = zone->Strength;
            entry["points"] = Points(zone->Chains().ChainIfPresent(0));
            list.push_back(std::move(entry));
        }
    }
    return list;
}

TJson Mission(const TMission* mission, platform::UserDialogs& dialogs) {
    if (mission == nullptr) return nullptr;
    TJson entry;
    entry["type"] = static_cast<int>(mission->MissionType);
    entry["typeName"] = JsonText(MissionTypeName(static_cast<int>(mission->MissionType), dialogs));
    entry["coveredForce"] = JsonText(mission->CoveredForce);
    entry["releaseDistance"] = mission->ReleaseDistance;
    entry["targetBase"] = JsonText(mission->TargetBase);
    entry["originBase"] = JsonText(mission->OriginBase);
    entry["origin"] = Points(&mission->OriginPoints);
    entry["target"] = Points(&mission->TargetPoints);
    return entry;
}

TJson Divisions(const TForce& force) {
    TJson list = TJson::array();
    for (const auto& division : force.Divisions) {
        TJson entry;
        entry["formation"] = JsonText(division->Formation);
        entry["encumbered"] = JsonText(division->Encumbered);
        TJson& ships = entry["ships"] = TJson::array();
        for (const auto& ship : division->Ships) {
            TJson shipEntry;
            shipEntry["name"] = JsonText(ship->Name());
            shipEntry["type"] = JsonText(ship->Type());
            shipEntry["endurance"] = JsonNumber(ship->Endurance);
            shipEntry["maxEndurance"] = JsonNumber(ship->MaxEndurance);
            shipEntry["reconRange"] = ship->ReconRange;
            ships.push_back(std::move(shipEntry));
        }
        list.push_back(std::move(entry));
    }
    return list;
}

TJson Forces(TScenarioState& state, platform::UserDialogs& dialogs) {
    TJson list = TJson::array();
    for (TForce* force : state.ForceList) {
        TJson entry;
        entry["title"] = JsonText(force->Title());
        entry["side"] = force->Side;
        entry["speed"] = force->Speed;
        entry["currentSpeed"] = force->CurrentSpeed;
        entry["heading"] = force->Heading;
        entry["cwpi"] = force->CWPI;
        entry["position"] = Point(force->GetCentroid());
        entry["track"] = Points(force->TrackOverlay ? force->TrackOverlay->Chains().ChainIfPresent(0) : nullptr);
        TJson& row = entry["row"] = TJson::array();
        for (const TForceListRow& listRow : state.ForcesList.Rows) {
            if (listRow.Force != force) continue;
            row = TJson::array({JsonText(listRow.Name), JsonText(listRow.Speed), JsonText(listRow.Mission)});
            break;
        }
        entry["mission"] = Mission(force->Mission.get(), dialogs);
        entry["divisions"] = Divisions(*force);
        list.push_back(std::move(entry));
    }
    return list;
}

}  // namespace

TJson ScenarioJsonDocument(TScenarioKind kind, const std::vector<std::string>& messages, TScenarioState& state,
                           globe::TCustomVoduz4& globe, platform::UserDialogs& dialogs) {
    TJson document;
    document["kind"] = kind == TScenarioKind::skScenario   ? "scenario"
                       : kind == TScenarioKind::skCampaign ? "campaign"
                                                            : "none";
    document["caption"] = JsonText(state.Caption);
    document["timeLabel"] = JsonText(state.TimeLabel);
    document["startTime"] = JsonNumber(state.StartTime);
    TJson& list = document["messages"] = TJson::array();
    for (const std::string& message : messages) list.push_back(JsonText(message));
    document["layers"] = Layers(globe);
    document["bases"] = Bases(state, globe);
    document["zones"] = Zones(globe);
    document["forces"] = Forces(state, dialogs);
    return document;
}

TJson TLoadCheck::JsonDocument() {
    TJson document = ScenarioJsonDocument(Kind_, Messages(), *State_, *Globe_, Dialogs());
    if (Linted_) document["findings"] = FindingsJson(Findings_);
    return document;
}

std::string TLoadCheck::Json() { return JsonDump(JsonDocument()) + "\n"; }

}  // namespace scenario
