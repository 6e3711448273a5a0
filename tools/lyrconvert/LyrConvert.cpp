#include "tools/lyrconvert/LyrConvert.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iomanip>
#include <sstream>
#include <ostream>
#include <stdexcept>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/GlobePresenter.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/data/LYRReader.h"
#include "globe/data/MIFReader.h"
#include "globe/data/MapFileReaders.h"
#include "globe/data/SHPReader.h"
#include "globe/view/GlobeClasses.h"
#include "tools/common/ToolCommandLine.h"
#include "tools/lyrconvert/MapFileRecords.h"
#include "tools/lyrconvert/OpeningSummary.h"

namespace lyrconvert {
namespace {

namespace fs = std::filesystem;
using namespace globe;

constexpr double kUnitsPerDegree = 5'400'000.0;

std::runtime_error FileError(const std::string& fileName, const std::string& problem) {
  return std::runtime_error(fileName + ": " + problem);
}

std::string Degrees(int32_t units) {
  std::ostringstream text;
  text << std::fixed << std::setprecision(6) << units / kUnitsPerDegree;
  return text.str();
}

void PrintSummary(std::ostream& out, const TMapSummary& summary) {
  out << "objects: " << summary.Objects << "\nchains: " << summary.Chains << "\npoints: " << summary.Points
      << "\npoints written: " << summary.WrittenPoints << "\n";
  if (const TCoordinateBounds& bounds = summary.Bounds; bounds.HasBounds)
    out << "bounds: longitude " << Degrees(bounds.MinLongX) << " to " << Degrees(bounds.MaxLongX) << ", latitude "
        << Degrees(bounds.MinLatY) << " to " << Degrees(bounds.MaxLatY) << "\n";
  else
    out << "bounds: none\n";
  out << "presenters: " << summary.Presenters.size() << "\n";
  for (const std::string& presenter : summary.Presenters) out << "  " << presenter << "\n";
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::exists(a, error) && fs::exists(b, error) && fs::equivalent(a, b, error);
}

// The readers with an attribute table take the objects' titles from one of its columns.
void SetTitleColumn(TGlobeFileReader& reader, int32_t column) {
  if (auto* shp = dynamic_cast<TGlobeSHPReader*>(&reader)) shp->SetTitleColumn(column);
  if (auto* mif = dynamic_cast<TGlobeMIFReader*>(&reader)) mif->SetTitleColumn(column);
}

}  // namespace

int32_t GiveDefaultPresenter(TGlobeObjectSource& source, int32_t presenterID) {
  bool areas = false, lines = false;
  int32_t changed = 0;
  for (int32_t i = 0; i < source.Count(); ++i) {
    TGlobeObject* object = source.Objects(i);
    if (object->PresenterID() != 0) continue;
    auto* data = dynamic_cast<TGeoDataObject*>(object);
    if (data && data->Chains().Count() > 0) (object->Closed() ? areas : lines) = true;
    object->SetPresenterID(presenterID);
    ++changed;
  }
  TGlobePresenterStore& store = *source.Presenters();
  if (changed > 0 && !store.ByID(presenterID, false)) {
    // Areas get a polygon presenter (which draws open lines too), lines a polyline presenter,
    // single points a point presenter.
    const char* className = areas ? "TPolygonPresenter" : lines ? "TPolylinePresenter"
                                                          : "TPointPresenter";
    store.Add(CreatePresenter(className, source.Globe(), presenterID));
  }
  return changed;
}

std::unique_ptr<TCustomVoduz4> NewHeadlessGlobe() {
  RegisterGlobeClasses();  // before the core: its layer store makes presenters by class name
  auto globe = std::make_unique<TCustomVoduz4>();
  globe->SetSaveMetaDataLocation(smdDiscard);
  // Opening a file builds every object once (for its bounds); a tool then reads them all again.
  // Kept cached, they are not read a second time.
  globe->SetCacheCapacity(0);
  return globe;
}

TGlobeFileReader& OpenMapFile(TCustomVoduz4& globe, const std::string& fileName,
                              std::optional<int32_t> titleColumn) {
  std::error_code error;
  if (!fs::is_regular_file(fileName, error)) throw FileError(fileName, "no such file");
  const std::string fullName = fs::absolute(fileName, error).string();
  TGlobeFileReader* reader = nullptr;
  try {
    reader = &NewMapFileReader(globe, fileName);
  } catch (const EGlobeException& e) {
    throw FileError(fileName, e.what());
  }
  if (titleColumn) SetTitleColumn(*reader, *titleColumn);
  try {
    reader->SetFileName(fullName);
    reader->SetActive(true);
  } catch (const std::exception& e) {
    throw FileError(fileName, e.what());
  }
  if (!reader->Active()) throw FileError(fileName, "cannot be read");
  return *reader;
}

TMapSummary Summarise(TGlobeObjectSource& source) {
  TMapSummary summary;
  summary.Objects = source.Count();
  for (int32_t i = 0; i < source.Count(); ++i) AddObjectSummary(summary, SummariseObject(*source.Objects(i)));
  summary.Presenters = PresenterLines(source);
  return summary;
}

std::vector<std::string> PresenterLines(const TGlobeObjectSource& source) {
  std::vector<std::string> lines;
  const TGlobePresenterStore& presenters = *source.Presenters();
  for (int32_t i = 0; i < presenters.Count(); ++i) {
    const TGlobePresenter* presenter = presenters.Presenters(i);
    std::string line = std::to_string(presenter->PresenterID()) + " " + presenter->ClassName();
    if (!presenter->Name().empty()) line += " \"" + presenter->Name() + "\"";
    lines.push_back(line);
  }
  return lines;
}

namespace {

struct TArguments {
  std::string Input, Output;
  bool Info = false;
  bool AllowDamaged = false;
  std::optional<int32_t> TitleColumn;
  std::optional<int32_t> PresenterID;
};

std::optional<int> ParseArguments(const std::vector<std::string>& args, TArguments& arguments, std::ostream& out,
                                  std::ostream& err) {
  CLI::App app("Converts an ESRI shapefile (.shp with its .dbf) or a MapInfo file (.mif with its .mid) into a LYR "
               "layer file, or summarises a LYR, SHP or MIF file.",
               "lyrconvert");
  toolcli::ConfigureToolApp(app);
  app.footer(
      "Examples:\n  lyrconvert land.shp Land.lyr --title-column 0 --presenter 1\n  lyrconvert --info Land.lyr\n"
      "Exit status: 0 done, 1 a file could not be read or written, or records were damaged or cut off (unless "
      "--allow-damaged), 2 unusable arguments.");
  app.add_option("INPUT", arguments.Input, "The file to convert (.shp or .mif), or with --info any .lyr, .shp or .mif")
      ->required();
  app.add_option("OUTPUT", arguments.Output, "The LYR file to write (not with --info)");
  app.add_flag("--info", arguments.Info,
               "Print what INPUT holds: objects, chains, points (in the file and as a conversion writes them), "
               "bounds, presenters");
  app.add_option("--title-column", arguments.TitleColumn,
                 "The attribute table's field (0-based) that titles the objects; -1: no titles")
      ->check(CLI::Range(-1, INT32_MAX).description(""))
      ->type_name("N");
  app.add_option("--presenter", arguments.PresenterID,
                 "Give objects without a presenter this presenter ID (and a default presenter of their kind)")
      ->check(CLI::Range(1, INT32_MAX).description(""))
      ->type_name("ID");
  app.add_flag("--allow-damaged", arguments.AllowDamaged,
               "End with status 0 even when records were damaged or cut off (they are still counted)");
  app.callback([&arguments] {
    if (arguments.Input.empty()) return;  // reported as missing INPUT
    if (!arguments.Info && arguments.Output.empty()) throw CLI::RequiredError("OUTPUT (or --info)");
    if (arguments.Info && !arguments.Output.empty())
      throw CLI::ValidationError("--info", "takes one file, not an OUTPUT as well");
    if (!arguments.Info && SameFile(arguments.Input, arguments.Output))
      throw CLI::ValidationError("OUTPUT", "would overwrite INPUT");
  });
  return toolcli::ParseToolArguments(app, args, out, err);
}

// Checks a title column against the file's attribute table; the problem, or "".
std::string TitleColumnProblem(const std::string& fileName, TGlobeFileReader& reader, int32_t column) {
  if (column < 0) return {};
  const std::string extension = LowerExtension(fileName);
  if (extension != ".shp" && extension != ".mif") return "--title-column: a " + extension + " file has no attribute table";
  const std::optional<int32_t> columns = AttributeColumns(fileName, reader);
  const std::string table = extension == ".shp" ? ".dbf" : ".mid";
  if (!columns) return "--title-column " + std::to_string(column) + ": " + fileName + " has no " + table + " table beside it";
  if (column >= *columns)
    return "--title-column " + std::to_string(column) + ": the " + table + " table of " + fileName + " has " +
           std::to_string(*columns) + (*columns == 1 ? " column" : " columns") +
           (*columns > 0 ? " (0 to " + std::to_string(*columns - 1) + ")" : "");
  return {};
}

// Reports records the reader passed over; true when there were any.
bool ReportDamagedRecords(const std::string& fileName, int32_t objects, bool converting, std::ostream& err) {
  const std::optional<int64_t> records = RecordsInFile(fileName);
  if (!records || *records <= objects) return false;
  err << "lyrconvert: " << fileName << ": " << objects << " of " << *records << " objects "
      << (converting ? "converted" : "read") << "; " << *records - objects << " records damaged or cut off\n";
  return true;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TArguments arguments;
  if (auto status = ParseArguments(args, arguments, out, err)) return *status;
  try {
    auto globe = NewHeadlessGlobe();
    std::optional<TOpeningSummary> opening;  // --info: summarised while the file is read
    if (arguments.Info) opening.emplace(*globe);
    TGlobeFileReader& input = OpenMapFile(*globe, arguments.Input, arguments.TitleColumn);
    if (arguments.TitleColumn) {
      const std::string problem = TitleColumnProblem(arguments.Input, input, *arguments.TitleColumn);
      if (!problem.empty()) {
        err << "lyrconvert: " << problem << "\n";
        return toolcli::kBadArguments;
      }
    }
    const bool damaged = ReportDamagedRecords(arguments.Input, input.Count(), !arguments.Info, err);
    const int status = damaged && !arguments.AllowDamaged ? 1 : 0;
    if (arguments.Info) {
      PrintSummary(out, opening->Finish(input));
      return status;
    }
    const std::string& output = arguments.Output;
    if (arguments.PresenterID) GiveDefaultPresenter(input, *arguments.PresenterID);
    SaveLYRFile(input, output);  // an old file of that name stays as it was when this fails
    // Report what the written file holds, read back from it.
    const TMapSummary written = Summarise(OpenMapFile(*globe, output));
    std::error_code error;
    const auto bytes = fs::file_size(output, error);
    out << "objects: " << written.Objects << "\nchains: " << written.Chains << "\npoints: " << written.Points
        << "\nbytes written: " << (error ? 0 : bytes) << "\n";
    return status;
  } catch (const std::exception& e) {
    err << "lyrconvert: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace lyrconvert
