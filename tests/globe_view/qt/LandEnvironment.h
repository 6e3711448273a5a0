#pragma once
// An environment file holding the world map's land layer alone (its countries' borders and
// titles left out): land filled in B8E0E8 with 506070 outlines on a globe surface of F0DCB4.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace globe {

// Writes the file as `name` in the test's temporary folder and returns its path.
inline std::string LandEnvironment(const std::string& name) {
  // The process's own name: test runs of other builds may write theirs at the same time.
  const std::filesystem::path file = std::filesystem::path(::testing::TempDir()) / (std::to_string(::getpid()) + "_" + name);
  std::ofstream(file) << "<TGlobe SurfaceColor=\"$00F0DCB4\">\n <LayerStore>\n  <GlobalPresenters />\n"
                         "  <Layer Class=\"TGlobeLayer\" Name=\"Land\" Visible=\"T\">\n   <Presenters>\n"
                         "    <Presenter Class=\"TPolygonPresenter\" Name=\"Land\" PresenterID=\"1\">\n"
                         "     <Pen Color=\"$00506070\" Style=\"0\" Width=\"1\" Unit=\"PI\" />\n"
                         "     <Brush Color=\"$00B8E0E8\" BkColor=\"$00B8E0E8\" Style=\"0\" />\n"
                         "    </Presenter>\n   </Presenters>\n"
                         "   <Objects Class=\"TGlobeLYRReader\" Filename=\"" CORVALIS_SOURCE_DIR "/data/Data/Land.lyr\" />\n"
                         "  </Layer>\n </LayerStore>\n</TGlobe>\n";
  return file.string();
}

}  // namespace globe
