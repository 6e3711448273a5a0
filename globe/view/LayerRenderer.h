#pragma once
// The drawing of one layer's objects in a paint of the globe view: per object the render state
// (visibility, clip edges, the two-pixel rule, zoom ranges), the presenter (the layer's, else the
// object source's) or the application's OnObjectRender, the title, and every 256 objects a chance
// for the window to interrupt the render or show its progress.

#include <cstdint>

#include "globe/data/GlobePresenter.h"
#include "platform/DrawingSurface.h"

namespace globe {

class TGlobeLayer;
class TGlobeObject;
class TVoduz4;

// Render state bits the layer adds to an object's state word.
inline constexpr uint16_t rsToBeDrawn = 0x8000;
inline constexpr uint16_t rsBelowPixelGrid = 0x4000;
// Colour of an object drawn as a single pixel.
inline constexpr uint32_t kSubPixelObjectColor = 0x808080;
// Objects drawn between two interruption and progress checks.
inline constexpr int32_t kRenderCheckInterval = 256;

// Draws the layer's objects for the current pass (the far side while the projection's FarSide
// is set).
void RenderLayer(TVoduz4& view, TGlobeLayer& layer);

// Whether the layer is drawn at the view's altitude (Visible and its zoom limits).
bool LayerVisibleAtAltitude(const TGlobeLayer& layer, int32_t altitude);

// Writes an object's title next to its centre as the presenter's title settings say; while the
// view declutters titles it is queued with the priority instead.
void RenderObjectTitle(TVoduz4& view, TGlobePresenter& presenter, TGlobeObject& object,
                       uint16_t state, int priority = 0);

// Text alignment and pixel offset of a title placed at a point.
struct TTitlePlacement {
  platform::TextAlign Align;
  int32_t DX = 0;
  int32_t DY = 0;
};
TTitlePlacement TitlePlacement(TTitleAlignment alignment, int32_t offset);

}  // namespace globe
