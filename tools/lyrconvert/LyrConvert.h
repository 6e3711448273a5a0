#pragma once
// lyrconvert: writes a shapefile or a MIF file as a LYR layer file (objects, titles and
// presenters), and summarises any LYR, SHP or MIF file. The map files are read through a headless
// view core that keeps no index files beside them.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "tools/lyrconvert/ObjectSummary.h"

namespace globe {
class TCustomVoduz4;
class TGlobeFileReader;
class TGlobeObjectSource;
}  // namespace globe

namespace lyrconvert {

// What a map file holds. Bounds span the points' coordinates (no wrap at the date line; none for
// a file without points).
struct TMapSummary {
  int32_t Objects = 0;
  int64_t Chains = 0;
  int64_t Points = 0;
  int64_t WrittenPoints = 0;  // the points a LYR file of the objects holds (repeated points left out)
  TCoordinateBounds Bounds;
  std::vector<std::string> Presenters;  // "ID class name" each
};

// A headless view core for reading map files: every globe class registered, index files
// discarded.
std::unique_ptr<globe::TCustomVoduz4> NewHeadlessGlobe();

// Opens a ".lyr", ".shp" or ".mif" file as an active source of `globe`; titleColumn (when given)
// picks the attribute field of SHP and MIF objects. Raises std::runtime_error naming the file
// when it is missing, of another kind or cannot be read.
globe::TGlobeFileReader& OpenMapFile(globe::TCustomVoduz4& globe, const std::string& fileName,
                                     std::optional<int32_t> titleColumn = std::nullopt);

TMapSummary Summarise(globe::TGlobeObjectSource& source);
// The source's presenters as Summarise lists them: "ID class name" each.
std::vector<std::string> PresenterLines(const globe::TGlobeObjectSource& source);

// Gives every object without a presenter the presenter ID and, when the source has no presenter
// of that ID, adds a default one of the objects' kind, so that an environment file can style the
// layer through a presenter of the same ID. Returns the number of objects changed.
int32_t GiveDefaultPresenter(globe::TGlobeObjectSource& source, int32_t presenterID);

// The command line (without the program name); returns the exit status: 0 done (or --help,
// --version), 1 a file could not be read or written, or records were damaged or cut off without
// --allow-damaged, 2 unusable arguments (a title column the file's table does not have included).
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace lyrconvert
