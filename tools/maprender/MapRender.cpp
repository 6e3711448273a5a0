#include "tools/maprender/MapRender.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "platform/qt/QtBitmapImage.h"
#include "platform/qt/QtDrawingSurface.h"
#include "platform/qt/QtDrawingThread.h"
#include "tools/common/PictureSize.h"
#include "tools/common/ToolCommandLine.h"
#include "tools/maprender/QuickPng.h"

namespace maprender {

namespace {

constexpr int32_t kMaxSide = 8192;

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

// A CLI11 check that the value names a projection class, listing them when it does not.
CLI::Validator ProjectionCheck() {
  return CLI::Validator(
      [](std::string& name) -> std::string {
        const std::vector<std::string> names = globe::ProjectionClassNames();
        const auto same = [&](const std::string& known) {
          return std::equal(known.begin(), known.end(), name.begin(), name.end(),
                            [](char a, char b) { return std::tolower(a) == std::tolower(b); });
        };
        if (std::any_of(names.begin(), names.end(), same)) return {};
        return "unknown projection class \"" + PrintableText(name) + "\"; the classes are " + Joined(names);
      },
      "");
}

// The file of that name in the folder, when it is there and not the name itself; "" otherwise.
std::string FileInFolder(const std::string& folder, const std::string& fileName) {
  if (folder.empty()) return {};
  std::string name = fileName;
  std::replace(name.begin(), name.end(), '\\', '/');
  const std::filesystem::path inFolder = std::filesystem::path(folder) / std::filesystem::path(name).filename();
  std::error_code error;
  if (inFolder.string() == fileName || !std::filesystem::is_regular_file(inFolder, error)) return {};
  return inFolder.string();
}

}  // namespace

std::optional<int> ParseArguments(const std::vector<std::string>& args, TMapRenderOptions& options,
                                  std::ostream& out, std::ostream& err) {
  CLI::App app("Draws a map environment file (.env) into a picture, without a display.", "maprender");
  toolcli::ConfigureToolApp(app);
  app.footer(
      "The environment's layer files are looked for in its DataDirectory, else beside the environment "
      "file, else in the program's Data folder; each one that is not found is named on standard error and "
      "the picture is not written unless --allow-missing is given.\n"
      "Exit status: 0 done, 1 a file could not be read or written or a layer file is missing, "
      "2 unusable arguments.");
  app.add_option("ENV_FILE", options.EnvironmentFile, "The environment file to draw")->required();
  app.add_option("OUTPUT", options.OutputFile,
                 "The picture to write; its extension chooses the format (png, jpg, bmp, ...)")
      ->required();
  std::string size;
  app.add_option("--size", size, "Picture size in pixels, 1 to 8192 each (default 800x600)")
      ->check(toolcli::PictureSizeCheck(kMaxSide))
      ->type_name("WxH");
  app.add_option("--projection", options.ProjectionClass,
                 "Projection class, e.g. TSphericalPrj (default: as the environment says)")
      ->check(ProjectionCheck())
      ->type_name("CLASS");
  app.add_option("--lat", options.CenterLatitude, "Latitude of the picture's centre in degrees, north positive")
      ->check(CLI::Range(-90.0L, 90.0L).description(""))
      ->type_name("DEGREES");
  app.add_option("--long", options.CenterLongitude,
                 "Longitude of the picture's centre in degrees, east positive")
      ->check(CLI::Range(-180.0L, 180.0L).description(""))
      ->type_name("DEGREES");
  app.add_option("--altitude", options.Altitude, "Viewing altitude in globe units; 0 fits the whole map")
      ->check(CLI::NonNegativeNumber.description(""))
      ->type_name("GLOBEUNITS");
  app.add_option("--save-env", options.SaveEnvironmentFile, "Also save the view's environment to this file")
      ->type_name("FILE");
  app.add_flag("--allow-missing", options.AllowMissing,
               "Draw without the layer files that are not found and end with status 0");
  app.add_flag("--antialias", options.Antialias, "Smooth lines, polygons, circles and text");
  app.add_flag("--full-detail", options.FullDetail,
               "Draw every object in full, without the simplified levels of detail");
  if (auto status = toolcli::ParseToolArguments(app, args, out, err)) return status;
  if (const auto parsed = toolcli::ParsePictureSize(size, kMaxSide)) {
    options.Width = parsed->Width;
    options.Height = parsed->Height;
  }
  return std::nullopt;
}

std::string PrintableText(const std::string& text) {
  std::string printable = text;
  for (char& c : printable) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F) c = '?';
  }
  return printable;
}

std::string EnvironmentFileProblem(const std::string& fileName) {
  std::error_code error;
  if (!std::filesystem::exists(fileName, error)) return "no such file";
  if (!std::filesystem::is_regular_file(fileName, error)) return "not a file";
  std::ifstream file(fileName, std::ios::binary);
  char start[512];
  file.read(start, sizeof start);
  if (file.bad() || (!file && !file.eof())) return "cannot be read";
  const std::string head(start, static_cast<size_t>(file.gcount()));
  // An XML document starts with '<' after white space and an optional UTF-8 byte order mark,
  // and holds no NUL bytes.
  size_t first = head.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
  first = head.find_first_not_of(" \t\r\n", first);
  if (first == std::string::npos || head[first] != '<' || head.find('\0') != std::string::npos)
    return "not an XML environment file";
  return {};
}

TRenderResult RenderMap(const TMapRenderOptions& options) {
  TRenderResult result;
  globe::TVoduz4 view;
  view.SetClientSize(options.Width, options.Height);
  view.SetSaveMetaDataLocation(globe::smdDiscard);  // drawing leaves no index files behind
  // Opening a layer file builds every object once (for its bounds); kept cached, the one paint
  // does not read them a second time.
  view.SetCacheCapacity(0);
  view.OnFileNotFound = [&result, &options](globe::TCustomVoduz4&, std::string& fileName, bool& retry) {
    if (std::string inData = FileInFolder(options.ProgramDataDirectory, fileName); !inData.empty()) {
      fileName = std::move(inData);
      retry = true;
      return;
    }
    auto& missing = result.MissingFiles;
    if (std::find(missing.begin(), missing.end(), fileName) == missing.end()) missing.push_back(fileName);
  };
  view.SetLevelsOfDetailEnabled(!options.FullDetail);
  try {
    // Layer files named by the environment are found beside it, wherever the tool is started
    // from (a DataDirectory given in the file still takes precedence).
    std::error_code ignored;
    view.SetDataDirectory(std::filesystem::absolute(options.EnvironmentFile, ignored).parent_path().string());
    view.OnEnvironmentWarning = [&result](globe::TCustomVoduz4&, const std::string& text) {
      result.EnvironmentWarnings.push_back(text);
    };
    const std::string problem = EnvironmentFileProblem(options.EnvironmentFile);
    if (!problem.empty()) {
      result.Error = options.EnvironmentFile + ": " + problem;
    } else {
      view.SetEnvironmentFile(options.EnvironmentFile);
      if (view.EnvironmentFile().empty()) result.Error = options.EnvironmentFile + ": cannot be read";
    }
    globe::TGlobeProjection& projection = view.Projection();
    if (!options.ProjectionClass.empty()) projection.SetProjectionClass(options.ProjectionClass);
    if (options.Altitude) projection.SetAltitude(*options.Altitude);
    if (options.CenterLatitude) projection.SetCenterLatitude(*options.CenterLatitude);
    if (options.CenterLongitude) projection.SetCenterLongitude(*options.CenterLongitude);
    if (!options.SaveEnvironmentFile.empty()) view.SaveEnvironmentFile(options.SaveEnvironmentFile);
  } catch (const std::exception& e) {
    result.Error = options.EnvironmentFile + ": " + PrintableText(e.what());
  }
  result.Bitmap = platform::Bitmap24(options.Width, options.Height);
  {
    platform::QtDrawingSurface surface(result.Bitmap);
    surface.SetAntialiased(options.Antialias);
    view.RedrawGlobe();
    platform::RunOnDrawingThread([&] { view.Paint(surface); });  // Qt's fills unsplit: less work
  }
  return result;
}

int RenderAndWrite(const TMapRenderOptions& options, std::ostream& err) {
  // The format is checked before drawing: an unknown one would waste the drawing.
  if (platform::PictureFormatOf(options.OutputFile).empty()) {
    err << "maprender: " << PrintableText(options.OutputFile)
        << ": unknown picture format; the extension must be one of "
        << Joined(platform::WritablePictureFormats()) << "\n";
    return toolcli::kBadArguments;
  }
  const TRenderResult result = RenderMap(options);
  if (!result.Error.empty()) {
    err << "maprender: " << PrintableText(result.Error) << "\n";
    return 1;
  }
  for (const std::string& warning : result.EnvironmentWarnings)
    err << "maprender: warning: " << PrintableText(warning) << "\n";
  for (const std::string& missing : result.MissingFiles)
    err << "maprender: warning: " << PrintableText(missing) << " named by " << PrintableText(options.EnvironmentFile)
        << " not found\n";
  // A picture without some of its layers would pass for the whole map.
  if (!result.MissingFiles.empty() && !options.AllowMissing) {
    err << "maprender: no picture written: layer files are missing (--allow-missing draws without them)\n";
    return 1;
  }
  const bool written = platform::PictureFormatOf(options.OutputFile) == "png"
                           ? WriteQuickPng(result.Bitmap, options.OutputFile)
                           : platform::WritePicture(result.Bitmap, options.OutputFile);
  if (!written) {
    err << "maprender: cannot write " << PrintableText(options.OutputFile) << "\n";
    return 1;
  }
  return 0;
}

}  // namespace maprender
