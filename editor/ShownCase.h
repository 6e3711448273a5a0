#pragma once
// The case shown in the case list as the map tools work on it: its force, number, parsed
// route and lines, and the undoable line edits they make.
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "platform/RegionalSettings.h"
#include "platform/TextLines.h"
#include "scenario/ForceCases.h"
#include "scenario/MapTooltips.h"
#include "scenario/RouteHitTest.h"
#include "scenario/RouteLegs.h"

namespace globe {
class TVoduz4;
}
namespace scenario {
class TForce;
}

namespace editor {

class TShownCase {
 public:
  virtual ~TShownCase() = default;
  // The selected force (null before one is selected) and the shown case's number (1..6).
  virtual scenario::TForce* Force() const = 0;
  virtual int CaseNumber() const = 0;
  // The selected force's parsed cases; a drag moves a point of the shown case's route.
  virtual scenario::TForceCases& Cases() = 0;
  // The case list's lines, the "CASE" line first.
  virtual platform::TextLines Lines() const = 0;
  // Parses the shown case again from its lines.
  virtual void Reparse() = 0;
  // Replaces line `row` (0 is the "CASE" line) of the shown case, or inserts text as that line,
  // as one undoable step named stepName; false when the line is not there.
  virtual bool ReplaceLine(int row, const std::string& text, const QString& stepName) = 0;
  virtual bool InsertLine(int row, const std::string& text, const QString& stepName) = 0;

  // What the shown case's arrival times count from: its delay and the force's speed (none
  // without a force); the scenario's start is the window's.
  virtual scenario::TCaseTiming Timing();

  // The shown case's route legs (none without a force).
  std::vector<scenario::TRouteLeg> Legs();
  // The case list row of a route mark, if any.
  std::optional<int> MarkRow(const scenario::TRoutePointRef& mark) const;
  // Line `row` of the case list, empty past its end.
  std::string Line(int row) const;
};

// The shown case's line the mouse rests on at a device pixel of the view, and its leg, as
// tooltip text; empty over nothing.
QString RouteTooltipAt(TShownCase& shown, globe::TVoduz4& view, const platform::RegionalSettings& regional, int x, int y);

// Where a point of the view's map lies on its window, as the hit tests ask.
scenario::TDeviceProjector ViewProjector(globe::TVoduz4& view);
// How near the mouse must be to a mark or leg to hit it, in the view's device pixels.
int HitTolerance(const globe::TVoduz4& view);

}  // namespace editor
