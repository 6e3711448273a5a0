#pragma once
// The work of the maprender tool: a headless globe view of a given size loads an environment
// file, takes the requested projection class, centre and altitude, paints once into a 24-bit
// bitmap and optionally saves its environment.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Bitmap24.h"

namespace maprender {

struct TMapRenderOptions {
  std::string EnvironmentFile;
  std::string OutputFile;  // PNG
  int32_t Width = 800;
  int32_t Height = 600;
  std::string ProjectionClass;  // empty: as the environment says
  std::optional<long double> CenterLatitude;
  std::optional<long double> CenterLongitude;
  std::optional<int32_t> Altitude;  // GlobeUnit; 0 fits the whole map
  std::string SaveEnvironmentFile;
  bool FullDetail = false;  // every object drawn in full, without levels of detail
};

// The usage text printed for bad arguments.
std::string Usage();

// Reads "ENV OUT.png [--size WxH] [--projection CLASS] [--lat DEG] [--long DEG]
// [--altitude GU] [--save-env FILE] [--full-detail]"; returns the error text, or nothing on success.
std::optional<std::string> ParseArguments(const std::vector<std::string>& args, TMapRenderOptions& options);

// Renders the map; `error` receives a message when the environment cannot be loaded (the bitmap
// then shows the empty view).
platform::Bitmap24 RenderMap(const TMapRenderOptions& options, std::string& error);

}  // namespace maprender
