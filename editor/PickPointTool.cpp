#include "editor/PickPointTool.h"

#include "editor/ApplicationCursor.h"
#include "editor/EditorDocument.h"
#include "editor/ShownCase.h"
#include "globe/view/Voduz4.h"
#include "scenario/PositionLine.h"

namespace editor {

void TPickPointTool::Start(int row)
{
  ShowCrossCursor();
  row_ = row;
  text_ = shown_.Line(row);
  case_ = shown_.CaseNumber();
  force_ = shown_.Force();
}

bool TPickPointTool::MouseRelease(globe::TVoduz4& view, const TMapMouse& mouse)
{
  RestoreNormalCursor();
  globe::TGeoPoint point;
  if (!view.DeviceXYToLL(mouse.X, mouse.Y, point)) return true;
  // The line must still be the one Pick point was given for: not after an edit, another tab or
  // another force.
  scenario::TForce* force = shown_.Force();
  if (force == nullptr || row_ < 0 || row_ >= static_cast<int>(shown_.Lines().size()) ||
      shown_.CaseNumber() != case_ || force != force_ || shown_.Line(row_) != text_)
    return true;
  shown_.ReplaceLine(row_, scenario::PositionLine(text_, point), LineStepName("Pick point for", {force, case_, row_}));
  return true;
}

void TPickPointTool::Cancel() { RestoreNormalCursor(); }

}  // namespace editor
