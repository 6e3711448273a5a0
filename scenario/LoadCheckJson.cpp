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
#include "scenario/JsonWriter.h"
#include "scenario/LoadCheck.h"
#include "scenario/Overlay.h"
#include "scenario/ScenarioLayers.h"
#include "scenario/ScenarioState.h"
#include "scenario/SubZone.h"

namespace scenario {

namespace {

void WritePoint(TJsonWriter& json, const globe::TGeoPoint& point) {
    json.BeginArray();
    json.Integer(point.LongX);
    json.Integer(point.LatY);
    json.EndArray();
}

void WritePoints(TJsonWriter& json, const globe::TPointStore* points) {
    json.BeginArray();
    if (points != nullptr) {
        for (std::int32_t i = 0; i < points->Count(); ++i) WritePoint(json, points->Point(i));
    }
    json.EndArray();
}

void WriteText(TJsonWriter& json, std::string_view key, std::string_view text) {
    json.Key(key);
    json.String(text);
}

void WriteInt(TJsonWriter& json, std::string_view key, std::int64_t value) {
    json.Key(key);
    json.Integer(value);
}

void WriteLayers(TJsonWriter& json, globe::TCustomVoduz4& globe) {
    json.BeginArray();
    const globe::TGlobeLayerStore& layers = globe.LayerStore();
    for (std::int32_t i = 0; i < layers.Count(); ++i) {
        globe::TGlobeLayer& layer = *layers.Layers(i);
        const globe::TGlobeObjectSource* source = layer.ObjectSourceIfAny();
        json.BeginObject();
        WriteText(json, "name", layer.Name());
        json.Key("class");
        if (source != nullptr) {
            json.String(source->ClassName());
        } else {
            json.Null();
        }
        WriteInt(json, "objects", source != nullptr ? source->Count() : 0);
        json.Key("visible");
        json.Boolean(layer.Visible());
        json.EndObject();
    }
    json.EndArray();
}

std::string PresenterName(globe::TCustomVoduz4& globe, std::int32_t id) {
    const globe::TGlobeLayer* layer = globe.LayerStore().LayerByName(kBasesLayer);
    if (layer == nullptr || layer->Presenters() == nullptr) return {};
    const globe::TGlobePresenter* presenter = layer->Presenters()->ByID(id, false);
    return presenter != nullptr ? presenter->Name() : std::string();
}

void WriteBases(TJsonWriter& json, TScenarioState& state, globe::TCustomVoduz4& globe) {
    json.BeginArray();
    for (TBase* base : state.BaseList) {
        json.BeginObject();
        WriteText(json, "title", base->Title());
        WriteInt(json, "side", base->Side);
        WriteInt(json, "port", base->Port);
        json.Key("location");
        WritePoint(json, base->Location);
        json.Key("position");
        WritePoint(json, base->GetCentroid());
        WriteInt(json, "delay", base->Delay);
        WriteInt(json, "mines", base->Mines);
        WriteInt(json, "reconRange", base->ReconRange);
        WriteInt(json, "reconDir", base->ReconDir);
        WriteInt(json, "reconWidth", base->ReconWidth);
        WriteInt(json, "strikeRange", base->StrikeRange);
        WriteText(json, "reconType", base->ReconType);
        WriteText(json, "strikeType", base->StrikeType);
        WriteInt(json, "strikePlanes", base->StrikePlanes);
        WriteInt(json, "hitChance", base->HitChance);
        WriteText(json, "presenter", PresenterName(globe, base->PresenterID()));
        json.Key("ships");
        json.BeginArray();
        for (const TShip* ship : base->Ships) json.String(ship->Name());
        json.EndArray();
        json.Key("reconOutline");
        json.BeginArray();
        for (const globe::TGeoPoint& point : base->ReconOutline) WritePoint(json, point);
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
}

void WriteZones(TJsonWriter& json, globe::TCustomVoduz4& globe) {
    json.BeginArray();
    // In reading order: the side 1 file first.
    for (const std::int32_t side : {1, 0}) {
        globe::TGlobeLayer* layer = globe.LayerStore().LayerByName(side == 1 ? kAlliedSubsLayer : kAxisSubsLayer);
        if (layer == nullptr || layer->ObjectSourceIfAny() == nullptr) continue;
        globe::TGlobeObjectSource& source = *layer->ObjectSourceIfAny();
        for (std::int32_t i = 0; i < source.Count(); ++i) {
            auto* zone = dynamic_cast<TSubZone*>(source.PeekEntry(i));
            if (zone == nullptr) continue;
            json.BeginObject();
            WriteInt(json, "side", side);
            WriteText(json, "title", zone->Title());
            WriteInt(json, "strength", zone->Strength);
            json.Key("points");
            WritePoints(json, zone->Chains().ChainIfPresent(0));
            json.EndObject();
        }
    }
    json.EndArray();
}

void WriteMission(TJsonWriter& json, const TMission* mission, platform::UserDialogs& dialogs) {
    if (mission == nullptr) {
        json.Null();
        return;
    }
    json.BeginObject();
    WriteInt(json, "type", static_cast<int>(mission->MissionType));
    WriteText(json, "typeName", MissionTypeName(static_cast<int>(mission->MissionType), dialogs));
    WriteText(json, "coveredForce", mission->CoveredForce);
    WriteInt(json, "releaseDistance", mission->ReleaseDistance);
    WriteText(json, "targetBase", mission->TargetBase);
    WriteText(json, "originBase", mission->OriginBase);
    json.Key("origin");
    WritePoints(json, &mission->OriginPoints);
    json.Key("target");
    WritePoints(json, &mission->TargetPoints);
    json.EndObject();
}

void WriteDivisions(TJsonWriter& json, const TForce& force) {
    json.BeginArray();
    for (const auto& division : force.Divisions) {
        json.BeginObject();
        WriteText(json, "formation", division->Formation);
        WriteText(json, "encumbered", division->Encumbered);
        json.Key("ships");
        json.BeginArray();
        for (const auto& ship : division->Ships) {
            json.BeginObject();
            WriteText(json, "name", ship->Name());
            WriteText(json, "type", ship->Type());
            json.Key("endurance");
            json.Number(ship->Endurance);
            json.Key("maxEndurance");
            json.Number(ship->MaxEndurance);
            WriteInt(json, "reconRange", ship->ReconRange);
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
}

void WriteForces(TJsonWriter& json, TScenarioState& state, platform::UserDialogs& dialogs) {
    json.BeginArray();
    for (TForce* force : state.ForceList) {
        json.BeginObject();
        WriteText(json, "title", force->Title());
        WriteInt(json, "side", force->Side);
        WriteInt(json, "speed", force->Speed);
        WriteInt(json, "currentSpeed", force->CurrentSpeed);
        WriteInt(json, "heading", force->Heading);
        WriteInt(json, "cwpi", force->CWPI);
        json.Key("position");
        WritePoint(json, force->GetCentroid());
        json.Key("track");
        WritePoints(json, force->TrackOverlay ? force->TrackOverlay->Chains().ChainIfPresent(0) : nullptr);
        json.Key("row");
        json.BeginArray();
        for (const TForceListRow& row : state.ForcesList.Rows) {
            if (row.Force != force) continue;
            json.String(row.Name);
            json.String(row.Speed);
            json.String(row.Mission);
            break;
        }
        json.EndArray();
        json.Key("mission");
        WriteMission(json, force->Mission.get(), dialogs);
        json.Key("divisions");
        WriteDivisions(json, *force);
        json.EndObject();
    }
    json.EndArray();
}

}  // namespace

std::string ScenarioJson(TScenarioKind kind, const std::vector<std::string>& messages, TScenarioState& state,
                         globe::TCustomVoduz4& globe, platform::UserDialogs& dialogs) {
    TJsonWriter json;
    json.BeginObject();
    json.Key("kind");
    json.String(kind == TScenarioKind::skScenario   ? "scenario"
                : kind == TScenarioKind::skCampaign ? "campaign"
                                                     : "none");
    WriteText(json, "caption", state.Caption);
    WriteText(json, "timeLabel", state.TimeLabel);
    json.Key("startTime");
    json.Number(state.StartTime);
    json.Key("messages");
    json.BeginArray();
    for (const std::string& message : messages) json.String(message);
    json.EndArray();
    json.Key("layers");
    WriteLayers(json, globe);
    json.Key("bases");
    WriteBases(json, state, globe);
    json.Key("zones");
    WriteZones(json, globe);
    json.Key("forces");
    WriteForces(json, state, dialogs);
    json.EndObject();
    return json.Text() + "\n";
}

std::string TLoadCheck::Json() { return ScenarioJson(Kind_, Messages(), *State_, *Globe_, Dialogs()); }

}  // namespace scenario
