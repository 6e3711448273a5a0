#include "scenario/LintLand.h"

#include <exception>
#include <filesystem>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/GlobeFileReader.h"
#include "globe/data/MapFileReaders.h"
#include "globe/view/GlobeClasses.h"

namespace scenario {

std::unique_ptr<globe::TLandIndex> LandFromFile(const std::string& fileName) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(fileName, error)) return nullptr;
    try {
        globe::RegisterGlobeClasses();  // the file may name presenter classes
        globe::TCustomVoduz4 globe;
        globe.SetSaveMetaDataLocation(globe::smdDiscard);  // leave the map folder as it is
        globe::TGlobeFileReader* reader = &globe::NewMapFileReader(globe, fileName);
        reader->SetFileName(fileName);
        reader->SetActive(true);
        if (!reader->Active()) return nullptr;
        auto land = std::make_unique<globe::TLandIndex>();
        land->AddSource(*reader);
        return land->Empty() ? nullptr : std::move(land);
    } catch (const std::exception&) {
        return nullptr;  // a damaged file: no land to check against
    }
}

std::unique_ptr<globe::TLandIndex> LandForScenario(globe::TCustomVoduz4& globe, const std::string& programDir) {
    if (globe::TGlobeLayer* layer = globe.LayerStore().LayerByName(kLandLayer)) {
        if (globe::TGlobeObjectSource* source = layer->ObjectSourceIfAny()) {
            auto land = std::make_unique<globe::TLandIndex>();
            try {
                land->AddSource(*source);
            } catch (const std::exception&) {
                land = std::make_unique<globe::TLandIndex>();  // unreadable objects: try the default map
            }
            if (!land->Empty()) return land;
        }
    }
    return LandFromFile((std::filesystem::path(programDir) / "Data" / kDefaultLandFile).string());
}

}  // namespace scenario
