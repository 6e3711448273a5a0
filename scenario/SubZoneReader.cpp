// The submarine zone files: "Name=" names the next zone, "Strength=" starts it, "LL=" adds its
// corner points.

#include "globe/data/GlobeLayer.h"
#include "platform/FileSystem.h"
#include "platform/IntegerText.h"
#include "scenario/LabelValue.h"
#include "scenario/PositionText.h"
#include "scenario/ScenarioLayers.h"
#include "scenario/ScenarioLoader.h"
#include "scenario/SubZone.h"

namespace scenario {

void TScenarioLoader::ReadSubZones(const std::string& file, std::string_view layerName, globe::TColor color) {
    ReadingFile(file);
    if (!Files_.FileExists(file)) {
        Message("Error loading submarine info!\rFile: " + file + " does not exist!");
        return;
    }
    const platform::TextLines lines = Files_.ReadLines(file);
    globe::TGlobeLayer& layer = LayerByNameOrNew(Globe_, layerName);
    layer.SetIndex(0);  // drawn below all other layers
    TSubZone* zone = nullptr;
    std::string pendingName;
    std::size_t i = 0;
    try {
        for (; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            if (HasKey(line, "Name=")) {
                pendingName = Value(line);
                zone = nullptr;
            } else if (HasKey(line, "Strength=")) {
                zone = layer.ObjectSource()->NewObject<TSubZone>();
                zone->SetTitle(pendingName);
                zone->Strength = platform::StrToInt(Value(line));
                zone->SetPresenterID(PolygonPresenterFor(layer, color));
            } else if (HasKey(line, "LL=") && zone != nullptr) {
                const auto [latitude, longitude] = SplitPositionText(Value(line, "LL"));
                globe::TGeoPoint point;
                if (ParseLatLong(latitude, longitude, point)) {
                    zone->Chains().Chain(0).Add(point);
                    zone->Changed();
                } else {
                    Message("Format error in LL string!\rString: " + line + "\r" + "Line number: " +
                            std::to_string(i), static_cast<std::int64_t>(i));
                }
            }
        }
    } catch (const std::exception&) {
        Message("Error reading submarine data!\rFile: " + file + "\r" + "Line no: " + std::to_string(i) + "\r" +
                "Line: " + LineForMessage(lines, static_cast<std::int64_t>(i)), static_cast<std::int64_t>(i));
    }
}

}  // namespace scenario
