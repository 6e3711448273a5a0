#pragma once
// Reading one case of the selected force into its parsed form (start, route and target points,
// delay, current waypoint) for the map, through ParseCaseLines (scenario/CaseLines.h).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextLines.h"
#include "scenario/CaseLineKind.h"
#include "scenario/ForceCases.h"
#include "scenario/RouteLegs.h"

namespace platform {
class UserDialogs;
}

namespace scenario {

class TBase;

// The index within lines first .. end - 1 of the line that gives a waypoint or target of the
// parsed case (WP= and Origin= lines give waypoints, TP= and Target= lines targets); none for
// the start or an index beyond the lines.
std::optional<std::size_t> RouteMarkLine(const platform::TextLines& lines, std::size_t first, std::size_t end,
                                         const TRoutePointRef& mark);

struct TParsedCase;

// The messages the editor shows for the faults of a case read with TCaseReading::StopAtFault
// from `lines` as case n: each fault's own text, and "Error reading case!" with the line's index
// within `lines` for the fault that ends the case.
// One message of reading a case, with the index of its line within the lines; EndsCase for the
// fault that stops the case's reading ("Error reading case!").
struct TCaseMessage {
    std::size_t Line = 0;
    std::string Text;
    bool EndsCase = false;
};
// Lines are counted from the index countFrom (the case list counts from its "CASE" line).
std::vector<TCaseMessage> CaseReadingMessages(const platform::TextLines& lines, const TParsedCase& parsed, int n,
                                              std::size_t countFrom = 0);

// Puts parsed case n (1..6) into cases: its start and delay where it has them, its current
// waypoint, its waypoints and targets added to the case's points.
void PutParsedCase(const TParsedCase& parsed, int n, TForceCases& cases);

// Reads lines First .. End - 1 of `lines` as the lines of case n (1..6) into cases; CaseCWPI
// of the case starts at 0. Positions that cannot be read and unknown base names are reported;
// an error that ends the case shows "Error reading case!" with the index of the line within
// `lines`. Points read before the error stay.
void ParseCase(const platform::TextLines& lines, std::size_t first, std::size_t end, int n,
               TForceCases& cases, const std::vector<TBase*>& bases, platform::UserDialogs& dialogs);
// The same reading, its messages returned for the caller to say.
std::vector<TCaseMessage> ReadCase(const platform::TextLines& lines, std::size_t first, std::size_t end, int n,
                                   TForceCases& cases, const std::vector<TBase*>& bases);

}  // namespace scenario
