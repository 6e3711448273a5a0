#pragma once
// The work of the maprender tool: a headless globe view of a given size loads an environment
// file, takes the requested projection class, centre and altitude, paints once into a 24-bit
// bitmap and optionally saves its environment.

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "platform/Bitmap24.h"

namespace maprender {

struct TMapRenderOptions {
  std::string EnvironmentFile;
  std::string OutputFile;  // PNG, JPEG, BMP, ... by its extension
  int32_t Width = 800;
  int32_t Height = 600;
  std::string ProjectionClass;  // empty: as the environment says
  std::optional<long double> CenterLatitude;
  std::optional<long double> CenterLongitude;
  std::optional<int32_t> Altitude;  // GlobeUnit; 0 fits the whole map
  std::string SaveEnvironmentFile;
  bool AllowMissing = false;  // data files the environment names may be missing
  // The program's map data folder ("Data" beside the program): layer files that are not found
  // beside the environment are looked for here too, as the editor's load does. Empty: none.
  std::string ProgramDataDirectory;
  bool Antialias = false;  // smooth lines, polygons, circles and text
  bool FullDetail = false;  // every object drawn in full, without levels of detail
};

// Reads "ENV OUT [--size WxH] [--projection CLASS] [--lat DEG] [--long DEG] [--altitude GU]
// [--save-env FILE] [--allow-missing] [--antialias] [--full-detail]" (without the program name). Nothing when the options are
// complete; otherwise the exit status after --help / --version went to `out` or the problem to
// `err`.
std::optional<int> ParseArguments(const std::vector<std::string>& args, TMapRenderOptions& options,
                                  std::ostream& out, std::ostream& err);

// Why the file cannot be an environment file ("no such file", "not an XML file", ...), or "".
// Looks at the file's start only: the XML reader judges the rest.
std::string EnvironmentFileProblem(const std::string& fileName);

// The text with control characters and bytes outside ASCII shown as '?', fit for one terminal line.
std::string PrintableText(const std::string& text);

struct TRenderResult {
  platform::Bitmap24 Bitmap;
  std::string Error;                      // the environment could not be loaded (empty view drawn)
  std::vector<std::string> MissingFiles;  // data files the environment names that were not found
  std::vector<std::string> EnvironmentWarnings;  // repairs the environment file needed
};

// Renders the map.
TRenderResult RenderMap(const TMapRenderOptions& options);

// The whole program after the application object exists: renders and writes the picture,
// reporting on `err`. Returns the exit status: 0 done, 1 a file could not be read or written (or a
// data file is missing without AllowMissing: then no picture is written), 2 an output format that
// cannot be written.
int RenderAndWrite(const TMapRenderOptions& options, std::ostream& err);

}  // namespace maprender
