#include "bench/render/BenchView.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "globe/data/GlobeLayerStore.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "platform/qt/QtDrawingSurface.h"
#include "platform/qt/QtDrawingThread.h"

namespace bench {

namespace {

constexpr long double kCentreLatitude = 23.9708314814815L;
constexpr long double kCentreLongitude = 13.8001296296296L;

std::string ReaderClass(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".shp") return "TGlobeSHPReader";
  if (extension == ".mif") return "TGlobeMIFReader";
  return "TGlobeLYRReader";
}

// The world map's land layer over the given file.
std::string LandEnvironment(const std::filesystem::path& layerFile) {
  return "<TGlobe SurfaceColor=\"$00F0DCB4\">\n"
         " <LayerStore>\n"
         "  <GlobalPresenters />\n"
         "  <Layer Class=\"TGlobeLayer\" Name=\"Land\" Animated=\"F\" Enabled=\"T\" ShowTitles=\"F\" Visible=\"T\""
         " ZoomUnits=\"NM\" ZoomMin=\"0\" ZoomMax=\"0\">\n"
         "   <Presenters>\n"
         "    <Presenter Class=\"TPolygonPresenter\" Name=\"Land\" PresenterID=\"1\">\n"
         "     <Pen Color=\"$00506070\" Style=\"0\" Width=\"1\" Unit=\"PI\" />\n"
         "     <Brush Color=\"$00B8E0E8\" BkColor=\"$00B8E0E8\" Style=\"0\" />\n"
         "    </Presenter>\n"
         "   </Presenters>\n"
         "   <Objects Class=\"" + ReaderClass(layerFile) + "\" Filename=\"" + layerFile.filename().string() + "\" />\n"
         "  </Layer>\n"
         " </LayerStore>\n"
         "</TGlobe>\n";
}

}  // namespace

TBenchView::TBenchView(const std::string& layerFile, int32_t width, int32_t height, int32_t cacheKilobytes)
    : View_(std::make_unique<globe::TVoduz4>()), Bitmap_(width, height) {
  namespace fs = std::filesystem;
  const fs::path layer = fs::absolute(layerFile);
  if (!fs::exists(layer)) throw std::runtime_error("no layer file " + layer.string());
  const fs::path environment = fs::temp_directory_path() / ("bench-" + layer.stem().string() + ".env");
  std::ofstream(environment) << LandEnvironment(layer);

  View_->SetClientSize(width, height);
  View_->SetSaveMetaDataLocation(globe::smdDiscard);
  View_->SetCacheCapacity(cacheKilobytes);
  View_->SetDataDirectory(layer.parent_path().string());
  View_->SetEnvironmentFile(environment.string());
  fs::remove(environment);
  if (View_->LayerStore().Count() != 1) throw std::runtime_error("cannot load " + layer.string());
  Surface_ = std::make_unique<platform::QtDrawingSurface>(Bitmap_);
}

TBenchView::~TBenchView() = default;

void TBenchView::ShowWholeGlobe() {
  globe::TGlobeProjection& projection = View_->Projection();
  projection.SetProjectionClass("TSphericalPrj");
  projection.SetAltitude(0);
  projection.SetCenterLatitude(kCentreLatitude);
  projection.SetCenterLongitude(kCentreLongitude);
  StartXRotation_ = projection.XRotation();
}

void TBenchView::ShowMediterranean() { ShowCloseUp(kMediterraneanAltitude, kMediterraneanLatitude, kMediterraneanLongitude); }

void TBenchView::ShowCoast() { ShowCloseUp(kCoastAltitude, kCoastLatitude, kCoastLongitude); }

void TBenchView::ShowCloseUp(int32_t altitude, long double latitude, long double longitude) {
  globe::TGlobeProjection& projection = View_->Projection();
  projection.SetProjectionClass("TSphericalPrj");
  projection.SetAltitude(altitude);
  projection.SetCenterLatitude(latitude);
  projection.SetCenterLongitude(longitude);
  StartXRotation_ = projection.XRotation();
}

void TBenchView::RotateStep() {
  globe::TGlobeProjection& projection = View_->Projection();
  const long double next = projection.XRotation() + Direction_;
  if (std::fabs(next - StartXRotation_) > 20) Direction_ = -Direction_;
  projection.SetXRotation(projection.XRotation() + Direction_);
}

void TBenchView::Render() {
  View_->RedrawGlobe();
  platform::RunOnDrawingThread([this] { View_->Paint(*Surface_); });  // as the editor's window draws
}

}  // namespace bench
