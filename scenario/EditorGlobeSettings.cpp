#include "scenario/EditorGlobeSettings.h"

#include "globe/view/Voduz4.h"
#include "platform/Color.h"

namespace scenario {

void ApplyGlobeStartSettings(globe::TVoduz4& view)
{
  view.SetClientSize(kEditorMapWidth, kEditorMapHeight);
  globe::TGlobeProjection& projection = view.Projection();
  projection.SetProjectionClass("TSphericalPrj");
  projection.SetAltitude(115911);
  projection.SetCenterLatitude(23.9708314814815L);
  projection.SetCenterLongitude(13.8001296296296L);
  projection.SetXRotation(23.9708314814815L);
  projection.SetYRotation(13.8001296296297L);
  projection.SetScaleFactor(7.23920039521547e-06L);
  projection.SetXOrigin(289);
  projection.SetYOrigin(290);
  projection.SetMinLatitude(-90);
  projection.SetMaxLatitude(90);
  projection.SetMinLongitude(-180);
  projection.SetMaxLongitude(180);
  projection.SetXAxisChanges(globe::xaYOrigin);
  projection.SetYAxisChanges(globe::yaCentralMeridian);

  view.SetCacheCapacity(10240);
  view.SetGlobeOptions({globe::goCache3DPoints, globe::goDoubleBuffered});
  view.SetScrollBars(globe::ssNone);
  view.SetGraticulePen(platform::Pen{platform::clSilver});
  view.SetGraticuleDrawMode(globe::gdInFront);
  view.SetSurfaceColor(kEditorSeaColour);
  view.SetSelectedBrush(platform::Brush{platform::BrushKind::Solid, platform::clYellow});
  view.SetSelectedPen(platform::Pen{platform::clRed});
  view.SetTransparentBrush(platform::Brush{platform::BrushKind::Solid, platform::clSilver});
  view.SetTransparentPen(platform::Pen{platform::clGray});
  view.MouseZoomButton = globe::mzbLeft;
  view.MouseRotateButton = globe::mzbRight;
  view.MouseSelectButton = globe::mzbNone;
  view.SetDataDirectory("c:\\");
  view.SetSaveMetaDataLocation(globe::smdDiscard);
}

}  // namespace scenario
