#include "tools/maprender/MapRender.h"

#include <charconv>
#include <cstdio>
#include <cmath>
#include <exception>
#include <filesystem>

#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "platform/qt/QtDrawingSurface.h"

namespace maprender {

namespace {

constexpr int32_t kMaxSide = 8192;

bool ParseInt(const std::string& text, int32_t& value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

bool ParseFloat(const std::string& text, long double& value) {
  try {
    size_t used = 0;
    value = std::stold(text, &used);
    return used == text.size() && std::isfinite(value);
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

std::string Usage() {
  return "usage: maprender ENV_FILE OUT.png [--size WxH] [--projection CLASS] [--lat DEGREES]\n"
         "                 [--long DEGREES] [--altitude GLOBEUNITS] [--save-env FILE]\n";
}

std::optional<std::string> ParseArguments(const std::vector<std::string>& args, TMapRenderOptions& options) {
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.rfind("--", 0) != 0) {
      positional.push_back(arg);
      continue;
    }
    if (i + 1 >= args.size()) return "option " + arg + " needs a value";
    const std::string& value = args[++i];
    if (arg == "--size") {
      const size_t x = value.find('x');
      int32_t w = 0, h = 0;
      if (x == std::string::npos || !ParseInt(value.substr(0, x), w) || !ParseInt(value.substr(x + 1), h) ||
          w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide)
        return "bad size \"" + value + "\" (WIDTHxHEIGHT, 1 to 8192 each)";
      options.Width = w;
      options.Height = h;
    } else if (arg == "--projection") {
      options.ProjectionClass = value;
    } else if (arg == "--lat" || arg == "--long") {
      long double degrees = 0;
      const long double limit = arg == "--lat" ? 90 : 180;
      if (!ParseFloat(value, degrees) || degrees < -limit || degrees > limit)
        return "bad degrees \"" + value + "\" for " + arg;
      (arg == "--lat" ? options.CenterLatitude : options.CenterLongitude) = degrees;
    } else if (arg == "--altitude") {
      int32_t altitude = 0;
      if (!ParseInt(value, altitude) || altitude < 0) return "bad altitude \"" + value + "\"";
      options.Altitude = altitude;
    } else if (arg == "--save-env") {
      options.SaveEnvironmentFile = value;
    } else {
      return "unknown option " + arg;
    }
  }
  if (positional.size() != 2) return "expected an environment file and an output file";
  options.EnvironmentFile = positional[0];
  options.OutputFile = positional[1];
  return std::nullopt;
}

platform::Bitmap24 RenderMap(const TMapRenderOptions& options, std::string& error) {
  globe::TVoduz4 view;
  view.SetClientSize(options.Width, options.Height);
  view.SetSaveMetaDataLocation(globe::smdDiscard);  // drawing leaves no index files behind
  try {
    // Layer files named by the environment are found beside it, wherever the tool is started
    // from (a DataDirectory given in the file still takes precedence).
    std::error_code ignored;
    view.SetDataDirectory(std::filesystem::absolute(options.EnvironmentFile, ignored).parent_path().string());
    view.OnEnvironmentWarning = [](globe::TCustomVoduz4&, const std::string& text) {
      std::fprintf(stderr, "maprender: warning: %s\n", text.c_str());
    };
    view.SetEnvironmentFile(options.EnvironmentFile);
    if (view.EnvironmentFile().empty()) error = "cannot read environment file " + options.EnvironmentFile;
    globe::TGlobeProjection& projection = view.Projection();
    if (!options.ProjectionClass.empty()) projection.SetProjectionClass(options.ProjectionClass);
    if (options.Altitude) projection.SetAltitude(*options.Altitude);
    if (options.CenterLatitude) projection.SetCenterLatitude(*options.CenterLatitude);
    if (options.CenterLongitude) projection.SetCenterLongitude(*options.CenterLongitude);
    if (!options.SaveEnvironmentFile.empty()) view.SaveEnvironmentFile(options.SaveEnvironmentFile);
  } catch (const std::exception& e) {
    error = e.what();
  }
  platform::Bitmap24 bitmap(options.Width, options.Height);
  {
    platform::QtDrawingSurface surface(bitmap);
    view.RedrawGlobe();
    view.Paint(surface);
  }
  return bitmap;
}

}  // namespace maprender
