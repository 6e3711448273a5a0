#pragma once
// Measuring on the map: a left double-click sets the origin (with Ctrl it logs the position
// instead); then the status bar gives the distance and true bearing from the origin to the
// cursor, and the map shows a red cross on the origin and a dotted great-circle line to the
// cursor with the readout beside it. The next left click ends measuring.
#include <QString>
#include <optional>

#include "editor/MapTool.h"
#include "globe/data/GeoTypes.h"
#include "globe/view/TitleSpace.h"
#include "platform/RegionalSettings.h"

class QLabel;
class QPlainTextEdit;

namespace editor {

class TMeasureTool : public TMapTool {
 public:
  // originPanel shows the origin, readoutPanel the position or distance and bearing, log gets
  // the positions of Ctrl + double-clicks.
  TMeasureTool(QLabel& originPanel, QLabel& readoutPanel, QPlainTextEdit& log,
               const platform::RegionalSettings& regional);

  // The double-click's release: the origin of measuring, or a logged position.
  bool MouseRelease(globe::TVoduz4& view, const TMapMouse& mouse) override;
  // Every move over the map: the position, or while measuring the distance and bearing.
  void MouseMove(globe::TVoduz4& view, const TMapMouse& mouse) override;
  void Paint(globe::TVoduz4& view) override;
  void Cancel() override;

  // A left click ends measuring: the cross, the line and the readouts go.
  void EndMeasuring(globe::TVoduz4& view);
  bool Measuring() const { return measuring_; }
  const globe::TGeoPoint& Origin() const { return origin_; }
  // "Dist: D Nm  Bearing: B deg" from the origin to the point.
  QString Readout(const globe::TVoduz4& view, const globe::TGeoPoint& point) const;
  // Where the last paint wrote the readout on the map (its box), or why it left it out.
  const globe::TLabelRecord& ReadoutLabel() const { return readoutLabel_; }

 private:
  QLabel& originPanel_;
  QLabel& readoutPanel_;
  QPlainTextEdit& log_;
  const platform::RegionalSettings& regional_;
  bool measuring_ = false;
  globe::TGeoPoint origin_{};
  // The readout in its box beside the cursor, through the map's label placement.
  void PaintReadout(globe::TVoduz4& view, const globe::TGeoPoint& cursor);

  // The cursor while measuring: the dotted line runs to it.
  std::optional<platform::TPoint> cursor_;
  globe::TLabelRecord readoutLabel_;
};

}  // namespace editor
