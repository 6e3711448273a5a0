#include "globe/view/LayerRenderer.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <exception>
#include <string>

#include "globe/data/GeoMath.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeObject.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/data/GlobeUnits.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobeFont.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/PointPresenter.h"
#include "globe/view/Voduz4.h"

namespace globe {

namespace {

using platform::HorizontalAlign;
using platform::VerticalAlign;

constexpr size_t kMaxTitleLength = 255;

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

TGlobePresenter* PresenterOf(TGlobeLayer& layer, TGlobeObjectSource& source, int32_t id) {
  if (TGlobePresenterStore* own = layer.Presenters())
    if (TGlobePresenter* presenter = own->ByID(id, false)) return presenter;
  if (TGlobePresenterStore* shared = source.Presenters()) return shared->ByID(id, true);
  return nullptr;
}

// The device point of the middle of a geographic rectangle.
bool RectCentreToDevice(TGlobeProjection& projection, const TGeoRect& bounds, platform::TPoint& xy) {
  const int32_t longX = NormaliseLongitude(Wrap32(int64_t{bounds.LongX} + bounds.Width / 2));
  const int32_t latY = Wrap32(int64_t{bounds.LatY} + bounds.Height / 2);
  return projection.LLToDeviceXY(longX, latY, xy);
}

}  // namespace

bool LayerVisibleAtAltitude(const TGlobeLayer& layer, int32_t altitude) {
  if (!layer.Visible()) return false;
  if (layer.ZoomMin() > 0 && !(UnitsToGU(layer.ZoomMin(), layer.ZoomUnits()) < altitude)) return false;
  if (layer.ZoomMax() > 0 && !(altitude <= UnitsToGU(layer.ZoomMax(), layer.ZoomUnits()))) return false;
  return true;
}

void RenderLayer(TVoduz4& view, TGlobeLayer& layer) {
  if (!layer.NoInterrupt() && view.RenderInterrupted()) return;
  TGlobeProjection& projection = view.Projection();
  const int32_t altitude = projection.Altitude();
  if (!LayerVisibleAtAltitude(layer, altitude)) return;
  TGlobeObjectSource* source = layer.ObjectSourceIfAny();
  if (source == nullptr) return;

  const bool farSide = projection.FarSide();
  const uint16_t passBit = farSide ? rsPartlyHidden : rsPartlyVisible;
  TGlobeCanvas& canvas = view.Canvas();
  canvas.SetTintPercent(layer.LayerColorAdjustPercent());
  canvas.SetTintColor(layer.LayerColorAdjustTarget());
  canvas.ResetState();
  struct Untint {
    TGlobeCanvas& Canvas;
    ~Untint() { Canvas.SetTintPercent(0); }
  } untint{canvas};

  int64_t nextUpdate = NowMs() + view.PeriodicUpdateTime();
  const long double scale = projection.ScaleFactor();
  const int32_t twoPixels = scale > 0 ? RoundToInt(std::min<long double>(2 / scale, 2'147'483'647.0L)) : 0;
  TCustomProjectionModel& model = projection.ProjectionModel();
  const int titlePriority = view.TitlePriority(layer.Name());
  const int32_t level =
      view.LevelsOfDetailEnabled() && model.ScaleIsUpperBound() ? LevelForScale(scale) : -1;

  for (int32_t i = 0; i < source->Count(); ++i) {
    if (i % kRenderCheckInterval == 0) {
      if (!layer.NoInterrupt() && view.HasGlobeOption(goInterruptable)) {
        view.ProcessPendingEvents();
        if (view.RenderInterrupted()) return;
      }
      if (view.PeriodicUpdateTime() > 0 && NowMs() >= nextUpdate) {
        view.FlushBufferToWindow();
        nextUpdate = NowMs() + view.PeriodicUpdateTime();
      }
      if (i >= source->Count()) break;  // the window's events may have changed the source
    }
    try {
      TGlobeObjectData* data = &source->GetObjectData(i);
      if (data->HasState(osEmptyRecord)) {
        TGlobeObject* built = source->Objects(i);
        if (built == nullptr) continue;
        data = built;
      }
      if (data->HasState(osHidden)) continue;
      const TGeoRect bounds = data->GetBounds();
      uint16_t state = static_cast<uint16_t>(
          data->State() & ~(rsPartlyHidden | rsPartlyVisible | rsClipAll | rsToBeDrawn | rsBelowPixelGrid));
      if (!model.GeoRectVisible(bounds, state)) continue;
      // A rectangle round the whole world passes without samples: it may show in either pass
      // and reach every edge.
      if ((state & (rsPartlyHidden | rsPartlyVisible)) == 0) state |= rsPartlyHidden | rsPartlyVisible | rsClipAll;
      state |= rsToBeDrawn;
      if (bounds.Width > 0 && bounds.Height > 0 && bounds.Width <= twoPixels && bounds.Height <= twoPixels)
        state |= rsBelowPixelGrid;
      if ((state & passBit) == 0) continue;

      if (state & rsBelowPixelGrid) {
        platform::TPoint xy;
        if (RectCentreToDevice(projection, bounds, xy)) canvas.Surface().SetPixel(xy.X, xy.Y, kSubPixelObjectColor);
        continue;
      }
      TGlobeObject* object = view.LevelsOfDetail().LevelObject(*source, i, level);
      if (object == nullptr) object = source->Objects(i);
      if (object == nullptr) continue;
      if (object->ZoomMin() != object->ZoomMax() &&
          !(object->ZoomMin() < altitude && altitude <= object->ZoomMax()))
        continue;
      // The far hemisphere is drawn in the view's transparent pen and brush, which the view
      // hands out as the selection colours during that pass.
      const uint16_t drawState = farSide ? static_cast<uint16_t>(state | rsSelected) : state;
      TGlobePresenter* presenter = PresenterOf(layer, *source, object->PresenterID());
      if (presenter == nullptr) {
        if (view.OnObjectRender)
          view.OnObjectRender(view, object, drawState);
        else
          object->Render(canvas, drawState);
      } else if (!presenter->Hidden()) {
        presenter->RenderObject(view, *object, drawState);
        if (layer.ShowTitles()) RenderObjectTitle(view, *presenter, *object, state, titlePriority);
      }
    } catch (const std::exception&) {
      // An object that cannot be read is left out of the picture; the rest is drawn.
    }
  }
}

TTitlePlacement TitlePlacement(TTitleAlignment alignment, int32_t offset) {
  switch (alignment) {
    case taCenter: return {{HorizontalAlign::Center, VerticalAlign::Baseline}, 0, 0};
    case taLeft: return {{HorizontalAlign::Right, VerticalAlign::Baseline}, -offset, 0};
    case taRight: return {{HorizontalAlign::Left, VerticalAlign::Baseline}, offset, 0};
    case taTopLeft: return {{HorizontalAlign::Right, VerticalAlign::Bottom}, -offset, -offset};
    case taTop: return {{HorizontalAlign::Center, VerticalAlign::Bottom}, 0, -offset};
    case taTopRight: return {{HorizontalAlign::Left, VerticalAlign::Bottom}, offset, -offset};
    case taBottomLeft: return {{HorizontalAlign::Right, VerticalAlign::Top}, -offset, offset};
    case taBottom: return {{HorizontalAlign::Center, VerticalAlign::Top}, 0, offset};
    case taBottomRight: return {{HorizontalAlign::Left, VerticalAlign::Top}, offset, offset};
    default: return {};
  }
}

void RenderObjectTitle(TVoduz4& view, TGlobePresenter& presenter, TGlobeObject& object,
                       uint16_t state, int priority) {
  if (presenter.TitleAlignment() == taNone || object.Title().empty()) return;
  if (presenter.RenderObjectTitle(view, object, state)) return;
  TGlobeCanvas& canvas = view.Canvas();
  TGlobeFont& font = presenter.TitleFont();
  // With readable labels the names of point marks (bases) too small at this zoom are written at
  // the legible minimum instead of left out; the placement stage drops them where there is no room.
  TTitleSpace* titles = view.TitleSpace();
  const bool tooSmall = font.PixelHeight(canvas) < view.MinTextHeight();
  const bool lifted = tooSmall && titles != nullptr && titles->Placing() && titles->Options().MinPixelHeight > 0 &&
                      dynamic_cast<const TPointPresenter*>(&presenter) != nullptr;
  if (tooSmall && !lifted) return;
  int32_t offset = presenter.TitleOffset();
  if (font.FontUnit() != TGlobeUnitTypes::Pixel) {
    const long double pixels =
        static_cast<long double>(UnitsToGU(offset, font.FontUnit())) * view.Projection().ScaleFactor();
    offset = RoundToInt(std::clamp<long double>(pixels, -1e9L, 1e9L));
  }
  if (!font.Realize(canvas, false) && !lifted) return;
  platform::TPoint xy;
  if (view.Projection().PointLLToDeviceXY(object.GetCentroid(), xy)) {
    const TTitlePlacement placement = TitlePlacement(presenter.TitleAlignment(), offset);
    platform::DrawingSurface& surface = canvas.Surface();
    surface.SetTextAlign(placement.Align);
    surface.SetBackgroundMode(platform::BackgroundMode::Transparent);
    const std::string& title = object.Title();
    const int32_t x = Wrap32(int64_t{xy.X} + placement.DX), y = Wrap32(int64_t{xy.Y} + placement.DY);
    std::string text = title.size() > kMaxTitleLength ? title.substr(0, kMaxTitleLength) : title;
    if (lifted) {
      platform::Font legible = surface.State().CurrentFont;
      legible.Height = titles->Options().MinPixelHeight;
      surface.SetFont(legible);
    }
    if (titles != nullptr)
      titles->Queue(priority, x, y, std::move(text), surface.State(), xy,
                    std::max(std::abs(offset), view.DevicePixels(2)), lifted);
    else
      surface.TextOut(x, y, text);
  }
  canvas.ResetState();
}

}  // namespace globe
