#include "scenario/CaseParser.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <string>

#include "platform/IntegerText.h"
#include "platform/UserDialogs.h"
#include "scenario/BaseLookup.h"
#include "scenario/CaseLineKind.h"
#include "scenario/Base.h"
#include "scenario/LabelValue.h"
#include "scenario/Missions.h"
#include "scenario/PositionText.h"

namespace scenario {

namespace {

// The base named by the text after the line's first "=".
globe::TGeoPoint BaseLocationOrThrow(const std::string& line, const std::vector<TBase*>& bases,
                                     platform::UserDialogs& dialogs) {
    const std::string name = ReadLabelValue(line, {}, dialogs);
    globe::TGeoPoint point;
    if (!FindBaseLocation(bases, name, point)) throw EMissionError("Cannot find base " + name + "!");
    return point;
}

}  // namespace

std::optional<std::size_t> RouteMarkLine(const platform::TextLines& lines, std::size_t first, std::size_t end,
                                         const TRoutePointRef& mark) {
    if (mark.Kind == TRouteMark::Start || mark.Index < 0) return std::nullopt;
    std::int32_t seen = 0;
    for (std::size_t i = first; i < std::min(end, lines.size()); ++i) {
        const TCaseLineKind kind = ClassifyCaseLine(lines[i]);
        const bool waypoint = kind == TCaseLineKind::WP || kind == TCaseLineKind::Origin;
        const bool target = kind == TCaseLineKind::TP || kind == TCaseLineKind::Target;
        if ((mark.Kind == TRouteMark::Waypoint && waypoint) || (mark.Kind == TRouteMark::Target && target)) {
            if (seen == mark.Index) return i;
            ++seen;
        }
    }
    return std::nullopt;
}

void ParseCase(const platform::TextLines& lines, std::size_t first, std::size_t end, int n,
               TForceCases& cases, const std::vector<TBase*>& bases, platform::UserDialogs& dialogs) {
    if (n < 1 || n > kCaseCount) throw std::out_of_range("case number out of range");
    const std::size_t c = static_cast<std::size_t>(n - 1);
    const std::string caseText = std::to_string(n);
    cases.CaseCWPI[c] = 0;
    if (end > lines.size()) end = lines.size();
    std::size_t i = first;
    try {
        for (; i < end; ++i) {
            const std::string& line = lines[i];
            switch (ClassifyCaseLine(line)) {
                case TCaseLineKind::LL: {
                    const std::string value = ReadLabelValue(line, "LL", dialogs);
                    if (value.empty()) break;
                    globe::TGeoPoint point;
                    if (ParsePositionValue(value, point)) {
                        cases.CaseStart[c] = point;
                    } else {
                        dialogs.ShowMessage("Errror setting LL " + value + " case " + caseText);
                    }
                    break;
                }
                case TCaseLineKind::CWPI:
                    cases.CaseCWPI[c] = platform::StrToInt(ReadLabelValue(line, "CWPI", dialogs));
                    break;
                case TCaseLineKind::Location: {
                    const std::string value = ReadLabelValue(line, "LOCATION", dialogs);
                    if (value.empty()) break;
                    if (const TBase* base = FindBaseByTitle(bases, value)) {
                        cases.CaseStart[c] = base->Location;
                    } else {
                        dialogs.ShowMessage("Cannot find location \"" + value + "\" Case " + caseText);
                    }
                    break;
                }
                case TCaseLineKind::Delay: {
                    const std::int32_t delay = platform::StrToIntDef(ReadLabelValue(line, "DELAY", dialogs), 0);
                    if (delay > 0) cases.CaseDelay[c] = delay;
                    break;
                }
                case TCaseLineKind::WP:
                    cases.CaseWaypoints[c].Add(WaypointPosition(ReadLabelValue(line, "WP", dialogs)));
                    break;
                case TCaseLineKind::TP:
                    cases.CaseTargets[c].Add(WaypointPosition(ReadLabelValue(line, "TP", dialogs)));
                    break;
                case TCaseLineKind::Target:
                    cases.CaseTargets[c].Add(BaseLocationOrThrow(line, bases, dialogs));
                    break;
                case TCaseLineKind::Origin:
                    cases.CaseWaypoints[c].Add(BaseLocationOrThrow(line, bases, dialogs));
                    break;
                default:  // formation heading, RD= and other lines are not drawn
                    break;
            }
        }
    } catch (const std::exception& error) {
        dialogs.ShowMessage("Error reading case!\rLine no: " + std::to_string(i) + "\r" + "Line: " + lines[i] +
                            "\r" + "Case: " + caseText + "\r\r" + error.what());
    }
}

}  // namespace scenario
