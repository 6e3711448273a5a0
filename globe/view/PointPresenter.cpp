#include "globe/view/PointPresenter.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <numbers>

#include "globe/data/GlobeHost.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"
#include "globe/data/PictureFile.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GeoMath.h"
#include "globe/view/CustomGlobeView.h"
#include "globe/view/GlobeBrush.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobePen.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/ProjectionModel.h"

namespace globe {

namespace {

bool ValidUnit(int unit) { return unit >= 0 && unit < GlobeUnitTypeCount; }

// `name` relative to `directory` when it lies below it, else unchanged.
std::string RelativeToDirectory(const std::string& name, const std::string& directory) {
  if (name.empty() || directory.empty()) return name;
  namespace fs = std::filesystem;
  const fs::path full = fs::path(name).lexically_normal();
  const fs::path base = fs::path(directory).lexically_normal();
  if (full.is_absolute() != base.is_absolute()) return name;
  const fs::path relative = full.lexically_relative(base);
  if (relative.empty()) return name;
  return relative.generic_string();
}

}  // namespace

TPointPresenter::TPointPresenter(TGlobeHost* globe, int32_t presenterID)
    : TTitledPresenter(globe, presenterID, "Point Presenter"),
      PointPen_(std::make_unique<TGlobePen>()),
      PointBrush_(std::make_unique<TGlobeBrush>()),
      PointFont_(std::make_unique<TGlobeFont>()) {
  PointPen_->SetPenUnit(TGlobeUnitTypes::Pixel);
}

TPointPresenter::~TPointPresenter() = default;

std::unique_ptr<TGlobePresenter> TPointPresenter::NewInstance(TGlobeHost* globe,
                                                              int32_t presenterID) const {
  return std::make_unique<TPointPresenter>(globe, presenterID);
}

void TPointPresenter::SetPointType(TPointPresenterType type) {
  if (static_cast<int>(type) >= PointPresenterTypeCount) return;
  PointType_ = type;
}

void TPointPresenter::SyncFontSymbol() {
  if (PointType_ != ppFontSymbol) return;
  // The font's setters re-create (release) its platform font.
  PointFont_->SetFontUnit(PointUnit_);
  PointFont_->SetFontSize(PointSize_);
}

void TPointPresenter::SetPointUnit(TGlobeUnitTypes unit) {
  if (!ValidUnit(static_cast<int>(unit))) return;
  PointUnit_ = unit;
  SyncFontSymbol();
}

void TPointPresenter::SetPointSize(int32_t size) {
  if (size < 0) return;
  PointSize_ = size;
  SyncFontSymbol();
}

void TPointPresenter::SetMaxPointSize(int32_t size) {
  if (size < 0) return;
  MaxPointSize_ = size;
}

void TPointPresenter::SetImage(std::unique_ptr<platform::Bitmap24> image) {
  Image_ = std::move(image);
  ImageName_.clear();
}

void TPointPresenter::SetImageName(std::string_view name) {
  ImageName_ = name.empty() ? std::string() : Globe()->ResolveFileName(std::string(name));
  if (ImageName_.empty())
    Image_.reset();
  else
    Image_ = LoadPictureFile(ImageName_);
}

void TPointPresenter::Assign(const TGlobePresenter& source) {
  TTitledPresenter::Assign(source);
  const auto* point = dynamic_cast<const TPointPresenter*>(&source);
  if (point == nullptr || point == this) return;
  PointPen_->Assign(*point->PointPen_);
  PointBrush_->Assign(*point->PointBrush_);
  PointFont_->Assign(*point->PointFont_);
  SymbolIndex_ = point->SymbolIndex_;
  PointType_ = point->PointType_;
  PointUnit_ = point->PointUnit_;
  PointSize_ = point->PointSize_;
  MaxPointSize_ = point->MaxPointSize_;
  Image_ = point->Image_ ? std::make_unique<platform::Bitmap24>(*point->Image_) : nullptr;
  ImageName_ = point->ImageName_;
}

void TPointPresenter::WriteToStream(TGlobeStreamWriter& writer) const {
  TTitledPresenter::WriteToStream(writer);
  writer.WriteByte(static_cast<uint8_t>(PointType_));
  writer.WriteByte(static_cast<uint8_t>(PointUnit_));
  // A cap is announced by a negative size. A size of 0 cannot carry the sign, so its cap (which
  // changes nothing on a zero-size symbol) is not written.
  if (MaxPointSize_ >= 1 && PointSize_ > 0) {
    writer.WriteInteger(-PointSize_);
    writer.WriteInteger(MaxPointSize_);
  } else {
    writer.WriteInteger(PointSize_);
  }
  writer.WriteWord(static_cast<uint16_t>(SymbolIndex_));
  writer.WriteShortString(ImageName_);
  PointPen_->WriteToStream(writer);
  PointBrush_->WriteToStream(writer);
  PointFont_->WriteToStream(writer);
}

void TPointPresenter::ReadFromStream(TGlobeStreamReader& reader) {
  TTitledPresenter::ReadFromStream(reader);
  SetPointType(static_cast<TPointPresenterType>(reader.ReadByte()));
  SetPointUnit(static_cast<TGlobeUnitTypes>(reader.ReadByte()));
  const int64_t size = reader.ReadInteger();
  if (size < 0) {
    PointSize_ = static_cast<int32_t>(std::min<int64_t>(-size, std::numeric_limits<int32_t>::max()));
    MaxPointSize_ = std::max(0, reader.ReadInteger());
  } else {
    PointSize_ = static_cast<int32_t>(size);
    MaxPointSize_ = 0;
  }
  SyncFontSymbol();
  SymbolIndex_ = static_cast<int16_t>(reader.ReadWord());
  const std::string imageName = reader.ReadShortString();
  if (!imageName.empty()) SetImageName(imageName);
  PointPen_->ReadFromStream(reader);
  PointBrush_->ReadFromStream(reader);
  PointFont_->ReadFromStream(reader);
}

std::unique_ptr<TGXML_Element> TPointPresenter::SaveEnvironment() const {
  std::unique_ptr<TGXML_Element> element = TTitledPresenter::SaveEnvironment();
  element->AddAttribute("Type", static_cast<int32_t>(PointType_));
  AddUnitAttribute(*element, "Unit", PointUnit_);
  element->AddAttribute("Size", PointSize_);
  element->AddAttribute("MaxSize", MaxPointSize_);
  element->AddAttribute("SymbolIndex", static_cast<int32_t>(SymbolIndex_));
  element->AddAttribute("ImageName", RelativeToDirectory(ImageName_, Globe()->DataDirectory()));
  element->AddElement("Pen", PointPen_->SaveEnvironment());
  element->AddElement("Brush", PointBrush_->SaveEnvironment());
  element->AddElement("Font", PointFont_->SaveEnvironment());
  return element;
}

void TPointPresenter::LoadEnvironment(const TGXML_Element* element) {
  TTitledPresenter::LoadEnvironment(element);
  if (element == nullptr) return;
  const int32_t type = element->Attribute("Type", static_cast<int32_t>(PointType_));
  if (type >= 0 && type < PointPresenterTypeCount) PointType_ = static_cast<TPointPresenterType>(type);
  PointUnit_ = UnitAttribute(*element, "Unit", PointUnit_);
  SetPointSize(element->Attribute("Size", PointSize_));
  SetMaxPointSize(element->Attribute("MaxSize", MaxPointSize_));
  const int32_t symbol = element->Attribute("SymbolIndex", static_cast<int32_t>(SymbolIndex_));
  if (symbol >= std::numeric_limits<int16_t>::min() && symbol <= std::numeric_limits<int16_t>::max())
    SymbolIndex_ = static_cast<int16_t>(symbol);
  const std::string imageName = element->Attribute("ImageName", std::string_view());
  if (!imageName.empty()) SetImageName(imageName);
  PointPen_->LoadEnvironment(element->Element("Pen"));
  PointBrush_->LoadEnvironment(element->Element("Brush"));
  PointFont_->LoadEnvironment(element->Element("Font"));
}

void TPointPresenter::RenderObject(TGlobeHost& globe, TGlobeObject& object, uint16_t state) {
  auto* view = dynamic_cast<TCustomGlobeView*>(&globe);
  if (view == nullptr) return;
  TGlobeCanvas& canvas = view->Canvas();
  const bool selected = (state & rsSelected) != 0;
  PointPen_->Realize(canvas, selected);
  PointBrush_->Realize(canvas, selected);
  auto* geo = dynamic_cast<TGeoDataObject*>(&object);
  bool drawn = false;
  if (geo != nullptr) {
    TChainStore& chains = geo->Chains();
    for (int32_t c = 0; c < chains.Count(); ++c) {
      const TPointStore* chain = chains.ChainIfPresent(c);
      if (chain == nullptr) continue;
      for (int32_t i = 0; i < chain->Count(); ++i) {
        RenderSymbol(*view, chain->Point(i), selected);
        drawn = true;
      }
    }
  }
  if (!drawn) RenderSymbol(*view, object.GetCentroid(), selected);
}

int32_t TPointPresenter::SymbolPixels(const TGlobeCanvas& canvas) const {
  int32_t size = canvas.LengthToPixels(PointSize_, PointUnit_);
  if (MaxPointSize_ > 0) {
    const int32_t screen = canvas.ScreenResolution();
    const long double cap = screen > 0 ? static_cast<long double>(MaxPointSize_) *
                                             canvas.OutputResolution() / screen
                                       : MaxPointSize_;
    size = std::min(size, RoundToInt(cap));
  }
  return size;
}

void TPointPresenter::RenderSymbol(TCustomGlobeView& view, const TGeoPoint& point, bool selected) {
  platform::TPoint xy;
  if (!view.Projection().PointLLToDeviceXY(point, xy)) return;
  TGlobeCanvas& canvas = view.Canvas();
  platform::DrawingSurface& surface = canvas.Surface();
  const int32_t size = SymbolPixels(canvas);
  const int32_t r = size / 2;
  const int32_t x = xy.X, y = xy.Y;
  using platform::TPoint;
  auto polygon = [&surface](std::initializer_list<TPoint> points) {
    surface.Polygon(std::span<const TPoint>(points.begin(), points.size()));
  };
  switch (PointType_) {
    case ppNone:
      break;
    case ppFontSymbol: {
      if (!PointFont_->Realize(canvas, selected)) return;
      const std::string symbol(1, static_cast<char>(SymbolIndex_ & 0xFF));
      const platform::TSize extent = surface.TextExtent(symbol);
      // The text's top-left corner such that its box is centred on the point, the centring
      // offset turned with the text.
      long double sinA, cosA;
      SinCos(PointFont_->FontAngle() / 10.0L * std::numbers::pi_v<long double> / 180, sinA, cosA);
      const long double dx = -extent.Width / 2.0L, dy = -extent.Height / 2.0L;
      const int32_t tx = x + RoundToInt(dx * cosA + dy * sinA);
      const int32_t ty = y + RoundToInt(-dx * sinA + dy * cosA);
      surface.SetTextAlign(platform::TextAlign{});
      surface.SetBackgroundMode(platform::BackgroundMode::Transparent);
      surface.TextOut(tx, ty, symbol);
      view.MarkDrawn(platform::TRect{x - extent.Width / 2, y - extent.Height / 2, x + (extent.Width + 1) / 2,
                                     y + (extent.Height + 1) / 2});
      return;
    }
    case ppImage: {
      if (!Image_ || Image_->Empty() || size <= 0) return;
      const int32_t height = MulDiv(size, Image_->Height(), Image_->Width());
      const int32_t left = x - size / 2, top = y - height / 2;
      surface.StretchDraw(platform::TRect{left, top, left + size, top + height}, *Image_);
      view.MarkDrawn(platform::TRect{left, top, left + size, top + height});
      return;
    }
    case ppDot:
      surface.SetPixel(x, y, surface.State().CurrentPen.Color);
      break;
    case ppCircle:
      surface.Ellipse(platform::TRect{x - r, y - r, x + r, y + r});
      break;
    case ppSquare:
      surface.Rectangle(platform::TRect{x - r, y - r, x + r, y + r});
      break;
    case ppDiamond:
      polygon({{x, y - r}, {x + r, y}, {x, y + r}, {x - r, y}});
      break;
    case ppTriangleUp:
      polygon({{x + r, y + r}, {x, y - r}, {x - r, y + r}});
      break;
    case ppTriangleDown:
      polygon({{x - r, y - r}, {x, y + r}, {x + r, y - r}});
      break;
    case ppTriangleLeft:
      polygon({{x + r, y + r}, {x - r, y}, {x + r, y - r}});
      break;
    case ppTriangleRight:
      polygon({{x - r, y - r}, {x + r, y}, {x - r, y + r}});
      break;
  }
  if (PointType_ != ppNone) view.MarkDrawn(platform::TRect{x - r, y - r, x + r + 1, y + r + 1});
}

bool TPointPresenter::HitTestObject(TGlobeHost& globe, const TGeoPoint& point,
                                    TGlobeObject& object, int32_t tolerance) {
  const TGeoPoint position = object.GetCentroid();
  auto* view = dynamic_cast<TCustomGlobeView*>(&globe);
  int64_t extent = view != nullptr ? view->Canvas().ValueToGU(PointUnit_, PointSize_)
                                   : UnitsToGU(PointSize_, PointUnit_);
  if (MaxPointSize_ > 0 && view != nullptr) {
    const long double scale = view->Projection().ScaleFactor();
    if (scale > 0)
      extent = std::min<int64_t>(extent, RoundToInt(std::min<long double>(MaxPointSize_ / scale, 2'147'483'647.0L)));
  }
  const int64_t half = extent / 2;
  const int64_t dLong = NormaliseLongitude(Wrap32(int64_t{point.LongX} - position.LongX));
  const int64_t dLat = int64_t{point.LatY} - position.LatY;
  return dLong >= -half && dLong <= extent - half && dLat >= -half && dLat <= extent - half;
}

int32_t FindEquivalentPointPresenter(const TGlobePresenterStore& store, const TGlobePen* pen,
                                     const TGlobeBrush* brush, const TGlobeFont* pointFont,
                                     const TGlobeFont* titleFont, TPointPresenterType type,
                                     TGlobeUnitTypes unit, int32_t size,
                                     std::string_view imageName) {
  for (int32_t i = 0; i < store.Count(); ++i) {
    const auto* p = dynamic_cast<const TPointPresenter*>(store.Presenters(i));
    if (p == nullptr) continue;
    if (pen != nullptr && !p->PointPen().Equals(*pen)) continue;
    if (brush != nullptr && !p->PointBrush().Equals(*brush)) continue;
    if (pointFont != nullptr && !p->PointFont().Equals(*pointFont)) continue;
    if (titleFont != nullptr && !p->TitleFont().Equals(*titleFont)) continue;
    if (p->PointType() == type && p->PointUnit() == unit && p->PointSize() == size &&
        p->ImageName() == imageName)
      return p->PresenterID();
  }
  return 0;
}

}  // namespace globe
