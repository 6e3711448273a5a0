#include "scenario/ScenarioLayers.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/view/GlobeBrush.h"
#include "globe/view/GlobePen.h"
#include "globe/view/PointPresenter.h"
#include "globe/view/PolyPresenter.h"
#include "platform/UserDialogs.h"
#include "scenario/Base.h"
#include "scenario/SideColors.h"

namespace scenario {

namespace {

// The ID of the first presenter of class P (or derived) whose pen (picked by penOf) has the
// colour; 0 when there is none.
template <class P, class PenOf>
std::int32_t FindByPenColor(const globe::TGlobePresenterStore& store, globe::TColor color, PenOf penOf) {
    for (std::int32_t i = 0; i < store.Count(); ++i) {
        if (const auto* presenter = dynamic_cast<const P*>(store.Presenters(i))) {
            if (penOf(*presenter).PenColor() == color) return presenter->PresenterID();
        }
    }
    return 0;
}

template <class P>
std::int32_t FindOrMakePolyPresenter(globe::TGlobeLayer& layer, globe::TColor color, bool outlineOnly) {
    globe::TGlobePresenterStore& store = *layer.Presenters();
    const auto polyPen = [](const globe::TPolyPresenter& p) -> const globe::TGlobePen& { return p.PolyPen(); };
    if (const std::int32_t id = FindByPenColor<P>(store, color, polyPen); id != 0) return id;
    auto presenter = std::make_unique<P>(layer.Globe(), 0);
    presenter->SetName("");
    presenter->PolyPen().SetPen(color, globe::psSolid, 1, globe::TGlobeUnitTypes::Pixel);
    if (outlineOnly) presenter->PolyBrush().SetBrushStyle(globe::bsClear);
    return store.Add(std::move(presenter));
}

}  // namespace

int ScenarioTitlePriority(const std::string& layerName) {
    // Layer names are found regardless of letter case.
    const auto is = [&layerName](std::string_view name) {
        return std::equal(name.begin(), name.end(), layerName.begin(), layerName.end(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        });
    };
    if (is(kTrackingLayer)) return 1;
    if (is(kBasesLayer)) return 2;
    if (is(kAxisSubsLayer) || is(kAlliedSubsLayer)) return 3;
    return 4;
}

globe::TGlobeLayer& LayerByNameOrNew(globe::TCustomVoduz4& globe, std::string_view name) {
    globe::TGlobeLayerStore& layers = globe.LayerStore();
    if (const std::int32_t index = layers.IndexOfName(name); index >= 0) return *layers.Layers(index);
    auto layer = std::make_unique<globe::TGlobeLayer>(&globe);
    layer->SetName(name);
    return *layers.Add(std::move(layer));
}

std::int32_t PointPresenterFor(globe::TCustomVoduz4& globe, globe::TColor color) {
    globe::TGlobeLayer& layer = LayerByNameOrNew(globe, kTrackingLayer);
    globe::TGlobePresenterStore& store = *layer.Presenters();
    const auto pointPen = [](const globe::TPointPresenter& p) -> const globe::TGlobePen& { return p.PointPen(); };
    if (const std::int32_t id = FindByPenColor<globe::TPointPresenter>(store, color, pointPen); id != 0) {
        return id;
    }
    auto presenter = std::make_unique<globe::TPointPresenter>(&globe, 0);
    presenter->SetName("");
    presenter->SetPointUnit(globe::TGlobeUnitTypes::Pixel);
    presenter->SetPointType(globe::ppCircle);
    presenter->SetPointSize(8);
    presenter->PointPen().SetPenColor(color);
    presenter->PointPen().SetPenStyle(globe::psSolid);
    presenter->PointPen().SetPenWidth(3);
    presenter->PointBrush().SetBrushColor(color);
    presenter->PointBrush().SetBrushStyle(globe::bsClear);
    presenter->SetTitleAlignment(globe::taRight);
    presenter->SetTitleOffset(5);
    return store.Add(std::move(presenter));
}

std::int32_t PolyPresenterFor(globe::TCustomVoduz4& globe, globe::TColor color) {
    return FindOrMakePolyPresenter<globe::TPolyPresenter>(LayerByNameOrNew(globe, kTrackingLayer), color, false);
}

std::int32_t PolygonPresenterFor(globe::TGlobeLayer& layer, globe::TColor color) {
    return FindOrMakePolyPresenter<globe::TPolygonPresenter>(layer, color, true);
}

void TBase::AttachToBaseLayer(globe::TCustomVoduz4& globe, platform::UserDialogs& dialogs) {
    globe::TGlobeLayer* layer = globe.LayerStore().LayerByName(kBasesLayer);
    if (layer == nullptr) {
        dialogs.ShowMessage("Error finding base layer!");
        return;
    }
    const std::string name = SideName(Side) + (Port < 1 ? "Air" : "Port");
    globe::TGlobePresenterStore& store = *layer->Presenters();
    for (std::int32_t i = 0; i < store.Count(); ++i) {
        if (store.Presenters(i)->Name() == name) {
            SetPresenterID(store.Presenters(i)->PresenterID());
            return;
        }
    }
    auto presenter = std::make_unique<globe::TPointPresenter>(&globe, 0);
    presenter->SetName(name);
    presenter->SetPointUnit(globe::TGlobeUnitTypes::Kilometer);
    presenter->SetPointType(Port > 0 ? globe::ppCircle : globe::ppTriangleUp);
    presenter->PointBrush().SetBrushColor(SideColor(Side));
    presenter->PointPen().SetPenColor(globe::clBlack);
    presenter->SetPointSize(20);
    presenter->PointPen().SetPenStyle(globe::psSolid);
    presenter->PointPen().SetPenWidth(1);
    presenter->PointBrush().SetBrushStyle(globe::bsSolid);
    presenter->TitleFont().SetFontUnit(globe::TGlobeUnitTypes::Kilometer);
    presenter->TitleFont().SetFontSize(18);
    presenter->SetTitleAlignment(globe::taRight);
    presenter->SetTitleOffset(6);
    presenter->SetMaxPointSize(15);
    SetPresenterID(store.Add(std::move(presenter)));
}

}  // namespace scenario
