#pragma once
// Box zoom: a press of the view's zoom button starts a band that follows the mouse, drawn as a
// focus rectangle; the release zooms the map to it (a band under ten pixels zooms nothing). A
// second press while the band is out ends it without zooming.
#include "editor/MapTool.h"
#include "platform/DeviceGeometry.h"

namespace editor {

class TBoxZoomTool : public TMapTool {
 public:
  bool MousePress(globe::TVoduz4& view, const TMapMouse& mouse) override;
  void MouseMove(globe::TVoduz4& view, const TMapMouse& mouse) override;
  // The band's release zooms; the release is then the map's as well.
  bool MouseRelease(globe::TVoduz4& view, const TMapMouse& mouse) override;
  void Paint(globe::TVoduz4& view) override;
  // Ends the band without zooming; the next paint shows the map without it.
  void End(globe::TVoduz4& view);
  const platform::TRect& Band() const { return band_; }

 private:
  platform::TRect band_{};
};

}  // namespace editor
