#include "tools/lyrconvert/LyrConvert.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <iomanip>
#include <sstream>
#include <ostream>
#include <stdexcept>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/GlobePresenter.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/data/LYRReader.h"
#include "globe/data/MIFReader.h"
#include "globe/data/SHPReader.h"
#include "globe/view/GlobeClasses.h"

namespace lyrconvert {
namespace {

namespace fs = std::filesystem;
using namespace globe;

constexpr double kUnitsPerDegree = 5'400'000.0;

std::string LowerExtension(const std::string& fileName) {
  std::string extension = fs::path(fileName).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

std::runtime_error FileError(const std::string& fileName, const std::string& problem) {
  return std::runtime_error(fileName + ": " + problem);
}

void Include(TMapSummary& summary, int32_t longX, int32_t latY) {
  if (!summary.HasBounds) {
    summary.HasBounds = true;
    summary.MinLongX = summary.MaxLongX = longX;
    summary.MinLatY = summary.MaxLatY = latY;
    return;
  }
  summary.MinLongX = std::min(summary.MinLongX, longX);
  summary.MaxLongX = std::max(summary.MaxLongX, longX);
  summary.MinLatY = std::min(summary.MinLatY, latY);
  summary.MaxLatY = std::max(summary.MaxLatY, latY);
}

std::string Degrees(int32_t units) {
  std::ostringstream text;
  text << std::fixed << std::setprecision(6) << units / kUnitsPerDegree;
  return text.str();
}

void PrintSummary(std::ostream& out, const TMapSummary& summary) {
  out << "objects: " << summary.Objects << "\nchains: " << summary.Chains << "\npoints: " << summary.Points
      << "\n";
  if (summary.HasBounds)
    out << "bounds: longitude " << Degrees(summary.MinLongX) << " to " << Degrees(summary.MaxLongX)
        << ", latitude " << Degrees(summary.MinLatY) << " to " << Degrees(summary.MaxLatY) << "\n";
  else
    out << "bounds: none\n";
  out << "presenters: " << summary.Presenters.size() << "\n";
  for (const std::string& presenter : summary.Presenters) out << "  " << presenter << "\n";
}

// Parses a field number: -1 (no title) or a field index.
std::optional<int32_t> ParseColumn(const std::string& text) {
  int32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [rest, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || rest != end || value < -1) return std::nullopt;
  return value;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::exists(a, error) && fs::exists(b, error) && fs::equivalent(a, b, error);
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
  return globe;
}

TGlobeFileReader& OpenMapFile(TCustomVoduz4& globe, const std::string& fileName,
                              std::optional<int32_t> titleColumn) {
  std::error_code error;
  if (!fs::is_regular_file(fileName, error)) throw FileError(fileName, "no such file");
  const std::string fullName = fs::absolute(fileName, error).string();
  const std::string extension = LowerExtension(fileName);
  TGlobeFileReader* reader = nullptr;
  if (extension == ".lyr") {
    reader = globe.NewObjectSource<TGlobeLYRReader>();
  } else if (extension == ".shp") {
    auto* shp = globe.NewObjectSource<TGlobeSHPReader>();
    if (titleColumn) shp->SetTitleColumn(*titleColumn);
    reader = shp;
  } else if (extension == ".mif") {
    auto* mif = globe.NewObjectSource<TGlobeMIFReader>();
    if (titleColumn) mif->SetTitleColumn(*titleColumn);
    reader = mif;
  } else {
    throw FileError(fileName, "not a LYR, SHP or MIF file");
  }
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
  for (int32_t i = 0; i < source.Count(); ++i) {
    TGlobeObject* object = source.Objects(i);
    auto* data = dynamic_cast<TGeoDataObject*>(object);
    if (data == nullptr || data->Chains().Count() == 0) {
      const TGeoPoint centre = object->GetCentroid();
      Include(summary, centre.LongX, centre.LatY);
      continue;
    }
    const TChainStore& chains = data->Chains();
    summary.Chains += chains.Count();
    for (int32_t c = 0; c < chains.Count(); ++c) {
      const TPointStore* chain = chains.ChainIfPresent(c);
      if (chain == nullptr) continue;
      summary.Points += chain->Count();
      for (int32_t p = 0; p < chain->Count(); ++p) Include(summary, chain->LongX(p), chain->LatY(p));
    }
  }
  const TGlobePresenterStore& presenters = *source.Presenters();
  for (int32_t i = 0; i < presenters.Count(); ++i) {
    const TGlobePresenter* presenter = presenters.Presenters(i);
    std::string line = std::to_string(presenter->PresenterID()) + " " + presenter->ClassName();
    if (!presenter->Name().empty()) line += " \"" + presenter->Name() + "\"";
    summary.Presenters.push_back(line);
  }
  return summary;
}

std::string Usage() {
  return "usage: lyrconvert INPUT.shp|INPUT.mif OUTPUT.lyr [--title-column N] [--presenter ID]\n"
         "       lyrconvert --info FILE.lyr|FILE.shp|FILE.mif\n";
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  auto usage = [&](const std::string& problem) {
    err << "lyrconvert: " << problem << "\n" << Usage();
    return 2;
  };
  std::optional<int32_t> titleColumn;
  std::optional<int32_t> presenterID;
  bool info = false;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--info") {
      info = true;
    } else if (args[i] == "--title-column") {
      if (i + 1 >= args.size()) return usage("--title-column needs a field number");
      titleColumn = ParseColumn(args[++i]);
      if (!titleColumn) return usage("bad field number \"" + args[i] + "\"");
    } else if (args[i] == "--presenter") {
      if (i + 1 >= args.size()) return usage("--presenter needs a presenter ID");
      presenterID = ParseColumn(args[++i]);
      if (!presenterID || *presenterID < 1) return usage("bad presenter ID \"" + args[i] + "\"");
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      return usage("unknown option " + args[i]);
    } else {
      files.push_back(args[i]);
    }
  }
  if (info ? files.size() != 1 : files.size() != 2) return usage("wrong number of files");
  if (!info && SameFile(files[0], files[1])) return usage("the output would overwrite the input");

  try {
    auto globe = NewHeadlessGlobe();
    TGlobeFileReader& input = OpenMapFile(*globe, files[0], titleColumn);
    if (info) {
      PrintSummary(out, Summarise(input));
      return 0;
    }
    const std::string& output = files[1];
    if (presenterID) GiveDefaultPresenter(input, *presenterID);
    try {
      SaveLYRFile(input, output);
    } catch (const std::exception& e) {
      std::error_code ignored;
      fs::remove(output, ignored);  // no half-written layer file
      throw FileError(output, e.what());
    }
    // Report what the written file holds, read back from it.
    const TMapSummary written = Summarise(OpenMapFile(*globe, output));
    std::error_code error;
    const auto bytes = fs::file_size(output, error);
    out << "objects: " << written.Objects << "\nchains: " << written.Chains << "\npoints: " << written.Points
        << "\nbytes written: " << (error ? 0 : bytes) << "\n";
    return 0;
  } catch (const std::exception& e) {
    err << "lyrconvert: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace lyrconvert
