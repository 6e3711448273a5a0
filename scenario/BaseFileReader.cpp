// The bases files: "Name=" starts a base, the keys after it fill its fields.

#include <stdexcept>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeLayer.h"
#include "platform/FileSystem.h"
#include "platform/IntegerText.h"
#include "scenario/Base.h"
#include "scenario/LabelValue.h"
#include "scenario/PositionText.h"
#include "scenario/ScenarioLayers.h"
#include "scenario/ScenarioLoader.h"
#include "scenario/ScenarioState.h"

namespace scenario {

namespace {

// GlobeUnit per nautical mile. Radii are read in whole miles; the product wraps to 32 bits.
std::int32_t MilesToGlobeUnits(std::int32_t miles) {
    return platform::WrapToInt32(static_cast<std::int64_t>(miles) * 90'000);
}

TBase& Current(TBase* base) {
    if (base == nullptr) throw std::logic_error("no base before this line");
    return *base;
}

}  // namespace

bool TScenarioLoader::ReadBaseFile(const std::string& file, std::int32_t side) {
    ReadingFile(file);
    if (!Files_.FileExists(file)) {
        Message("Cannot find basefile: " + file + "!");
        return false;
    }
    globe::TGlobeLayer& layer = LayerByNameOrNew(Globe_, kBasesLayer);
    const platform::TextLines lines = Files_.ReadLines(file);
    TBase* base = nullptr;
    bool result = true;
    std::size_t i = 0;
    const auto readPosition = [&](const std::string& line, std::string_view label, globe::TGeoPoint& point) {
        const auto [latitude, longitude] = SplitPositionText(Value(line, label));
        return ParseLatLong(latitude, longitude, point);
    };
    try {
        for (; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            globe::TGeoPoint point;
            if (HasKey(line, "Name=")) {
                base = layer.ObjectSource()->NewObject<TBase>();
                base->SetTitle(Value(line));
                base->Side = side;
                State_.BaseList.push_back(base);
            } else if (HasKey(line, "LL=")) {
                if (readPosition(line, "LL", point)) {
                    Current(base).SetCentroid(point);
                    base->Location = point;
                } else {
                    result = false;
                }
            } else if (HasKey(line, "EP=")) {
                if (readPosition(line, "EP", point)) {
                    Current(base).Location = point;
                } else {
                    result = false;
                }
            } else if (HasKey(line, "Delay=")) {
                Current(base).Delay = platform::StrToInt(Value(line));
            } else if (HasKey(line, "Port=")) {
                Current(base).Port = platform::StrToInt(Value(line, "Port"));
                base->AttachToBaseLayer(Globe_, Dialogs_);
            } else if (HasKey(line, "Mines=")) {
                Current(base).Mines = MilesToGlobeUnits(platform::StrToInt(Value(line)));
            } else if (base == nullptr) {
                // The remaining keys only apply to a current base.
            } else if (HasKey(line, "ReconRange=")) {
                base->ReconRange = MilesToGlobeUnits(platform::StrToInt(Value(line)));
            } else if (HasKey(line, "ReconDir=")) {
                base->ReconDir = platform::StrToIntDef(Value(line), 0);
            } else if (HasKey(line, "ReconWidth=")) {
                base->ReconWidth = platform::StrToIntDef(Value(line), 0);
            } else if (HasKey(line, "StrikeRange=")) {
                base->StrikeRange = MilesToGlobeUnits(platform::StrToInt(Value(line)));
            } else if (HasKey(line, "ReconType=")) {
                base->ReconType = Value(line);
            } else if (HasKey(line, "StrikeType=")) {
                base->StrikeType = Value(line);
            } else if (HasKey(line, "StrikePlanes=")) {
                base->StrikePlanes = platform::StrToInt(Value(line));
                base->StrikePlanesAvailable = base->StrikePlanes;
            } else if (HasKey(line, "HitChance=")) {
                base->HitChance = platform::StrToInt(Value(line));
            }
            if (base != nullptr) base->UpdateReconOutline();
        }
    } catch (const std::exception&) {
        Message("Error reading base file!\rFile: " + file + "\r" + "Line no: " + std::to_string(i) + "\r" +
                "Line: " + LineForMessage(lines, static_cast<std::int64_t>(i)), static_cast<std::int64_t>(i));
        result = false;
    }
    return result;
}

}  // namespace scenario
