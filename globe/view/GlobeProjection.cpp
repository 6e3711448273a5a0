#include "globe/view/GlobeProjection.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "globe/data/ClassRegistry.h"
#include "globe/data/GeoMath.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeUnits.h"
#include "globe/view/CustomGlobeView.h"
#include "globe/view/DevicePoints.h"
#include "globe/view/DeviceRound.h"
#include "globe/view/ProjectionClasses.h"
#include "globe/view/SphericalPrj.h"

namespace globe {

namespace {

constexpr long double kDegreeGU = GlobeUnitsPerDegree;
// Zoom requests closer than this to the current zoom are ignored.
constexpr long double kZoomEpsilon = 1e-10L;
// The widest window, in GlobeUnit: the 32-bit range.
constexpr long double kMaxWindowGU = 2'147'483'647.0L;

long double Tan50() { return std::tan(50 * std::numbers::pi_v<long double> / 180); }

int32_t AltitudeFor(long double scale) { return RoundToDevice(1.0L / (Tan50() * scale)); }

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

void EnsureProjectionClassesRegistered() {
  static const bool registered = (RegisterProjectionClasses(), true);
  (void)registered;
}

}  // namespace

TGlobeProjection::TGlobeProjection(TCustomGlobeView* view) : View_(view) {
  if (!view) throw EGlobeException("TGlobeProjection.Create passed nil parent");
  Model_ = std::make_unique<TSphericalPrj>(this);
  long double scale = FitScale();
  if (scale >= MaxScaleFactor) scale = MaxScaleFactor;
  if (!(scale > MinInitialScaleFactor)) scale = MinInitialScaleFactor;
  ScaleFactor_ = scale;
  Altitude_ = AltitudeFor(scale);
  XOrigin_ = view->CanvasWidth() / 2;
  YOrigin_ = view->CanvasHeight() / 2;
  for (int32_t i = 0; i < ProjectionPropertyCount; ++i) Model_->PropertyChanged(i);
}

TGlobeProjection::~TGlobeProjection() = default;

long double TGlobeProjection::FitScale() const {
  platform::TRect e;
  Model_->GetXYExtents(e);
  const long double w = View_->CanvasWidth(), h = View_->CanvasHeight();
  return std::min(w / std::fabs(static_cast<long double>(e.Width())),
                  h / std::fabs(static_cast<long double>(e.Height())));
}

// --- indexed setters ---

void TGlobeProjection::SetIntProp(int32_t index, int32_t value) {
  int32_t* field = index == prXOrigin ? &XOrigin_ : index == prYOrigin ? &YOrigin_ : nullptr;
  if (!field || *field == value) return;
  *field = value;
  Model_->PropertyChanged(index);
  View_->RedrawGlobe();
}

void TGlobeProjection::SetFloatProp(int32_t index, long double value) {
  long double* field = nullptr;
  switch (index) {
    case prXRotation: field = &XRotation_; break;
    case prYRotation: field = &YRotation_; break;
    case prZRotation: field = &ZRotation_; break;
    case prCentralMeridian: field = &CentralMeridian_; break;
    case prCentralParallel: field = &CentralParallel_; break;
    case prFirstParallel: field = &FirstParallel_; break;
    case prSecondParallel: field = &SecondParallel_; break;
    case prMaxLatitude: field = &MaxLatitude_; break;
    case prMinLatitude: field = &MinLatitude_; break;
    case prMaxLongitude: field = &MaxLongitude_; break;
    case prMinLongitude: field = &MinLongitude_; break;
    case prMaxZoom: field = &MaxZoom_; break;
    case prMinZoom: field = &MinZoom_; break;
    default: return;
  }
  if (!std::isfinite(value) || *field == value) return;
  switch (index) {
    case prYRotation: value = NormaliseDegrees(value); break;
    case prMaxLatitude: value = std::min(value, 90.0L); break;
    case prMinLatitude: value = std::max(value, -90.0L); break;
    case prMaxLongitude: value = std::min(value, 180.0L); break;
    case prMinLongitude: value = std::max(value, -180.0L); break;
    case prMaxZoom:
    case prMinZoom: value = std::min(value, MaxScaleFactor); break;
    default: break;
  }
  *field = value;
  Model_->PropertyChanged(index);
  View_->UpdateScrollBars();
  View_->RedrawGlobe();
}

void TGlobeProjection::SetXAxisChanges(TXAxisChanges value) {
  if (value > xaNoAction || value == XAxisChanges_) return;
  XAxisChanges_ = value;
  Model_->PropertyChanged(prXAxisChanges);
}

void TGlobeProjection::SetYAxisChanges(TYAxisChanges value) {
  if (value > yaNoAction || value == YAxisChanges_) return;
  YAxisChanges_ = value;
  Model_->PropertyChanged(prYAxisChanges);
}

// --- zoom ---

void TGlobeProjection::SetScaleFactor(long double value) {
  if (std::isnan(value) || value < 0 || std::fabs(value - ScaleFactor_) < kZoomEpsilon) return;
  if (MinZoom_ < MaxZoom_) value = std::clamp(value, MinZoom_, MaxZoom_);
  if (value < 0) return;  // zoom bounds below 0 allow no zoom
  const int32_t w = View_->CanvasWidth(), h = View_->CanvasHeight();
  if (value == 0) {  // fit the whole map
    SetIntProp(prXOrigin, RoundToDevice(w / 2.0L));
    SetIntProp(prYOrigin, RoundToDevice(h / 2.0L));
    value = FitScale();
    if (!(value > MinInitialScaleFactor)) value = MinInitialScaleFactor;  // empty surface
  }
  if (value > MaxScaleFactor) value = MaxScaleFactor;
  const long double widest = std::max(w, h);
  if (widest / value > kMaxWindowGU) value = widest / kMaxWindowGU;
  if (value != ScaleFactor_) {
    const long double old = ScaleFactor_;
    if (old > 0) {  // keep the point under the window centre
      SetIntProp(prXOrigin, RoundToDevice((XOrigin_ - w / 2.0L) / old * value + w / 2.0L));
      SetIntProp(prYOrigin, RoundToDevice((YOrigin_ - h / 2.0L) / old * value + h / 2.0L));
    }
    Altitude_ = AltitudeFor(value);
    View_->ViewExtentGU = platform::TRect{0, 0, RoundToDevice(w / value), RoundToDevice(h / value)};
    ScaleFactor_ = value;
    Model_->PropertyChanged(prScaleFactor);
    View_->RedrawGlobe();
    if (!View_->IsLoading()) View_->DoZoomed();
  }
  View_->UpdateScrollBars();
}

void TGlobeProjection::SetResizedScaleFactor(long double value, int32_t width, int32_t height) {
  if (std::isnan(value) || !(value > 0) || width <= 0 || height <= 0) return;
  value = std::min(value, MaxScaleFactor);
  const long double widest = std::max(width, height);
  if (widest / value > kMaxWindowGU) value = widest / kMaxWindowGU;
  Altitude_ = AltitudeFor(value);
  View_->ViewExtentGU =
      platform::TRect{0, 0, RoundToDevice(width / value), RoundToDevice(height / value)};
  ScaleFactor_ = value;
  Model_->PropertyChanged(prScaleFactor);
}

void TGlobeProjection::SetAltitude(int32_t value) {
  if (value == 0)
    SetScaleFactor(0);
  else
    SetScaleFactor(1.0L / (value * Tan50()));
}

// --- model ---

void TGlobeProjection::SetProjectionModel(std::unique_ptr<TCustomProjectionModel> model) {
  if (model && &model->Projection() != this)
    throw EGlobeException("TGlobeProjection.SetProjectionModel passed a model of another projection");
  if (!model) model = std::make_unique<TSphericalPrj>(this);
  bool keepCentre = false;
  platform::TPoint centre;
  const int32_t midX = View_->ClientWidth() / 2, midY = View_->ClientHeight() / 2;
  if (model->ClassName() != Model_->ClassName() && Model_->XYToLL(midX, midY, 0)) {
    keepCentre = true;
    centre = DevicePoints()[0];
  }
  Model_ = std::move(model);
  for (int32_t i = 0; i < ProjectionPropertyCount; ++i) Model_->PropertyChanged(i);
  if (keepCentre) {
    View_->UpdateScrollBars();
    SetOrigin(platform::TPoint{midX, midY});
    // Latitude first: a globe that still looks at a pole (a flat map's XRotation may have
    // reached 90) has no defined longitude under its middle.
    SetCenterLatitude(centre.Y / kDegreeGU);
    View_->LocateToLL(centre.X, centre.Y);
  }
  View_->RedrawGlobe();
}

std::vector<std::string> ProjectionClassNames() {
  EnsureProjectionClassesRegistered();
  std::vector<std::string> names;
  for (const std::string& name : RegisteredGlobeClassNames())
    if (FindGlobeClass(name).CreatesAs<TProjectionModel, TGlobeProjection*>()) names.push_back(name);
  return names;
}

std::string TGlobeProjection::ProjectionClass() const { return Model_->ClassName(); }

void TGlobeProjection::SetProjectionClass(std::string_view className) {
  if (SameTextIgnoringCase(className, Model_->ClassName())) return;
  EnsureProjectionClassesRegistered();
  SetProjectionModel(
      CreateGlobeClass<TProjectionModel, TGlobeProjection*>(className, "TProjectionModel", this));
}

void TGlobeProjection::SetUseMinMaxLimits(bool value) {
  UseMinMaxLimits_ = value;
  if (value) {
    SetYAxisChanges(yaXOrigin);
    SetXAxisChanges(xaYOrigin);
    SetFloatProp(prCentralMeridian, 0);
    SetFloatProp(prCentralParallel, 0);
    SetProjectionClass("TCartesianPrj");
  }
  View_->UpdateScrollBars();
  View_->RedrawGlobe();
}

// --- copies ---

std::unique_ptr<TGlobeProjection> TGlobeProjection::Clone(TCustomGlobeView* view) const {
  auto copy = std::make_unique<TGlobeProjection>(view);
  copy->Assign(*this);
  return copy;
}

void TGlobeProjection::Assign(const TGlobeProjection& source) {
  if (&source == this) return;
  Model_ = source.Model_->Clone(this);  // first: the new model writes its fields here
  XOrigin_ = source.XOrigin_;
  YOrigin_ = source.YOrigin_;
  Altitude_ = source.Altitude_;
  XRotation_ = source.XRotation_;
  YRotation_ = source.YRotation_;
  ZRotation_ = source.ZRotation_;
  MaxLatitude_ = source.MaxLatitude_;
  MinLatitude_ = source.MinLatitude_;
  MaxLongitude_ = source.MaxLongitude_;
  MinLongitude_ = source.MinLongitude_;
  MaxZoom_ = source.MaxZoom_;
  MinZoom_ = source.MinZoom_;
  ScaleFactor_ = source.ScaleFactor_;
  CentralMeridian_ = source.CentralMeridian_;
  CentralParallel_ = source.CentralParallel_;
  FirstParallel_ = source.FirstParallel_;
  SecondParallel_ = source.SecondParallel_;
  Spheroid_ = source.Spheroid_;
  XAxisChanges_ = source.XAxisChanges_;
  YAxisChanges_ = source.YAxisChanges_;
  MeridianSegments_ = source.MeridianSegments_;
  ParallelSegments_ = source.ParallelSegments_;
  ModelFlags_ = source.ModelFlags_;
  FarSide_ = source.FarSide_;
}

// --- centre ---

long double TGlobeProjection::CenterLatitude() const {
  TGeoPoint p;
  if (!DeviceXYToLL(View_->CanvasWidth() / 2, View_->CanvasHeight() / 2, p)) return NoCenter;
  return p.LatY / kDegreeGU;
}

long double TGlobeProjection::CenterLongitude() const {
  TGeoPoint p;
  if (!DeviceXYToLL(View_->CanvasWidth() / 2, View_->CanvasHeight() / 2, p)) return NoCenter;
  return p.LongX / kDegreeGU;
}

void TGlobeProjection::SetCenterLatitude(long double degrees) {
  SetIntProp(prYOrigin, View_->CanvasHeight() / 2);
  TGeoPoint p;
  if (!DeviceXYToLL(XOrigin_, YOrigin_, p)) return;
  SetFloatProp(prXRotation, XRotation_ - (p.LatY / kDegreeGU - degrees));
}

void TGlobeProjection::SetCenterLongitude(long double degrees) {
  SetIntProp(prXOrigin, View_->CanvasWidth() / 2);
  TGeoPoint p;
  if (!DeviceXYToLL(XOrigin_, YOrigin_, p)) return;
  SetFloatProp(prYRotation, YRotation_ - (p.LongX / kDegreeGU - degrees));
}

// --- conversions ---

bool TGlobeProjection::DeviceXYToLL(int32_t x, int32_t y, TGeoPoint& point) const {
  if (Model_->XYToLL(x, y, 0)) {
    const platform::TPoint p = DevicePoints()[0];
    point = TGeoPoint(p.X, p.Y, 0);
    return true;
  }
  point = TGeoPoint(OffMapGU, OffMapGU, 0);
  return false;
}

bool TGlobeProjection::LLToDeviceXY(int32_t longX, int32_t latY, platform::TPoint& xy) const {
  const bool visible = Model_->LLToXY(longX, latY, 0);
  xy = DevicePoints()[0];
  return visible;
}

bool TGlobeProjection::PointLLToDeviceXY(const TGeoPoint& point, platform::TPoint& xy) const {
  const bool visible = Model_->PointLLToXY(point, 0);
  xy = DevicePoints()[0];
  return visible;
}

void TGlobeProjection::GetXYExtents(platform::TRect& rect) const { Model_->GetXYExtents(rect); }

void TGlobeProjection::SetOrigin(platform::TPoint origin) {
  if (origin.X != XOrigin_ || origin.Y != YOrigin_) {
    SetIntProp(prXOrigin, origin.X);
    SetIntProp(prYOrigin, origin.Y);
    if (!View_->IsLoading()) View_->DoPanned();
  }
  View_->UpdateScrollBars();
  View_->RedrawGlobe();
}

// --- saved views ---

void TGlobeProjection::SaveView(TGlobeViewRec& view) const {
  view.ScaleFactor = ScaleFactor_;
  view.Origin = platform::TPoint{XOrigin_, YOrigin_};
  view.XRotation = RoundToDevice(XRotation_ * kDegreeGU);
  view.YRotation = RoundToDevice(YRotation_ * kDegreeGU);
  view.ZRotation = RoundToDevice(ZRotation_ * kDegreeGU);
}

void TGlobeProjection::RestoreView(const TGlobeViewRec& view) {
  SetScaleFactor(view.ScaleFactor);
  SetFloatProp(prXRotation, view.XRotation / kDegreeGU);
  SetFloatProp(prYRotation, view.YRotation / kDegreeGU);
  SetFloatProp(prZRotation, view.ZRotation / kDegreeGU);
  SetOrigin(view.Origin);
}

// --- environment ---

std::unique_ptr<TGXML_Element> TGlobeProjection::SaveEnvironment() const {
  auto e = TGlobeENVPersistent::SaveEnvironment();
  e->AddAttribute("ScaleFactor", ScaleFactor_);
  e->AddAttribute("CentralMeridian", CentralMeridian_);
  e->AddAttribute("CentralParallel", CentralParallel_);
  e->AddAttribute("FirstParallel", FirstParallel_);
  e->AddAttribute("SecondParallel", SecondParallel_);
  e->AddAttribute("MaxLatitude", MaxLatitude_);
  e->AddAttribute("MaxLongitude", MaxLongitude_);
  e->AddAttribute("MaxZoom", MaxZoom_);
  e->AddAttribute("MinLatitude", MinLatitude_);
  e->AddAttribute("MinLongitude", MinLongitude_);
  e->AddAttribute("MinZoom", MinZoom_);
  e->AddAttribute("Spheroid", static_cast<int32_t>(Spheroid_));
  e->AddAttribute("XRotation", XRotation_);
  e->AddAttribute("YRotation", YRotation_);
  e->AddAttribute("ZRotation", ZRotation_);
  e->AddAttribute("XOrigin", XOrigin_);
  e->AddAttribute("YOrigin", YOrigin_);
  e->AddAttribute("XAxisChanges", static_cast<int32_t>(XAxisChanges_));
  e->AddAttribute("YAxisChanges", static_cast<int32_t>(YAxisChanges_));
  e->AddElement("ProjectionModel", Model_->SaveEnvironment());
  return e;
}

void TGlobeProjection::LoadEnvironment(const TGXML_Element* e) {
  TGlobeENVPersistent::LoadEnvironment(e);
  if (!e) return;
  if (const TGXML_Element* child = e->Element("ProjectionModel")) {
    const std::string className = child->Attribute("Class", Model_->ClassName());
    EnsureProjectionClassesRegistered();
    std::unique_ptr<TProjectionModel> model =
        CreateGlobeClass<TProjectionModel, TGlobeProjection*>(className, "TProjectionModel", this);
    model->LoadEnvironment(child);
    SetProjectionModel(std::move(model));
  }
  const int32_t spheroid = e->Attribute("Spheroid", static_cast<int32_t>(Spheroid_));
  if (spheroid >= 0 && spheroid < SpheroidCount) Spheroid_ = static_cast<TSpheroid>(spheroid);
  const int32_t yAxis = e->Attribute("YAxisChanges", static_cast<int32_t>(YAxisChanges_));
  if (yAxis >= 0 && yAxis <= yaNoAction) SetYAxisChanges(static_cast<TYAxisChanges>(yAxis));
  const int32_t xAxis = e->Attribute("XAxisChanges", static_cast<int32_t>(XAxisChanges_));
  if (xAxis >= 0 && xAxis <= xaNoAction) SetXAxisChanges(static_cast<TXAxisChanges>(xAxis));
  SetScaleFactor(e->Attribute("ScaleFactor", ScaleFactor_));
  auto loadFloat = [&](const char* name, int32_t index, long double current) {
    SetFloatProp(index, e->Attribute(name, current));
  };
  loadFloat("MaxLatitude", prMaxLatitude, MaxLatitude_);
  loadFloat("MaxLongitude", prMaxLongitude, MaxLongitude_);
  loadFloat("MaxZoom", prMaxZoom, MaxZoom_);
  loadFloat("MinLatitude", prMinLatitude, MinLatitude_);
  loadFloat("MinLongitude", prMinLongitude, MinLongitude_);
  loadFloat("MinZoom", prMinZoom, MinZoom_);
  loadFloat("XRotation", prXRotation, XRotation_);
  loadFloat("YRotation", prYRotation, YRotation_);
  loadFloat("ZRotation", prZRotation, ZRotation_);
  SetIntProp(prXOrigin, e->Attribute("XOrigin", XOrigin_));
  SetIntProp(prYOrigin, e->Attribute("YOrigin", YOrigin_));
  loadFloat("CentralMeridian", prCentralMeridian, CentralMeridian_);
  loadFloat("CentralParallel", prCentralParallel, CentralParallel_);
  loadFloat("FirstParallel", prFirstParallel, FirstParallel_);
  loadFloat("SecondParallel", prSecondParallel, SecondParallel_);
}

}  // namespace globe
