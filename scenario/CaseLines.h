#pragma once
// The one reading of a case's lines: every line of a case with what it says (its kind, its value
// as the readers take it, the position or number it gives) and the faults the readers find in
// it, and the case as a whole (start, waypoints and targets each with its line, delay, current
// waypoint). The loader, the editor's case parse, the map's marks, the checked Edit and the
// scenario checks all read cases through it; each words the faults in its own messages.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "platform/TextLines.h"
#include "scenario/CaseLineKind.h"

namespace scenario {

class TBase;

// A position of a case with the index of the line it stands on.
struct TRoutePoint {
    globe::TGeoPoint Point;
    std::size_t Line = 0;  // index in the lines read
    bool AtBase = false;   // a base's location ("LOCATION", "Target=", "Origin=")
};

enum class TCaseFault : std::uint8_t {
    MissingEquals,  // a data line without "=" (Text: the line)
    WrongLabel,     // the label before "=" is not the one the line's key asks for (Text: the label)
    BadPosition,    // a position that cannot be read (Text: the value)
    UnknownBase,    // a base that is not loaded (Text: the name)
    BadNumber,      // a number that is not one (Text: the conversion's message)
};

// "missing-equals", "wrong-label", "bad-position", "unknown-base", "bad-number".
std::string_view CaseFaultCode(TCaseFault fault);

struct TCaseLineFault {
    TCaseFault Fault = TCaseFault::MissingEquals;
    std::string Text;
    // The game stops reading the case at this fault (a waypoint or target that does not read, a
    // current waypoint or formation heading that is not a number); the others are reported and
    // the reading goes on.
    bool EndsCase = false;
};

// One line of a case as the readers see it.
struct TCaseLineRead {
    std::size_t Line = 0;  // index in the lines read
    TCaseLineKind Kind = TCaseLineKind::Other;
    std::string Label;  // the expected label the line is read with ("LL", "WP", ...); empty for none
    std::string Value;  // the value after the first "=" (at most 200 characters); empty when the label differs
    std::optional<TRoutePoint> Point;   // the start, waypoint or target the line gives
    std::optional<std::int32_t> Number;  // CWPI, DELAY or FORMATIONHEADING as a number (0 when not one)
    std::vector<TCaseLineFault> Faults;  // in the order the readers report them

    const TCaseLineFault* EndingFault() const;
};

// Whether a fault that ends the case counts: the editor does not read formation headings.
enum class TCaseReading : std::uint8_t {
    Whole,        // every line is read; no fault stops the reading (the checks)
    StopAtFault,  // the case ends before the first line with a fault that ends it (the editor)
};

struct TParsedCase {
    std::vector<TCaseLineRead> Lines;  // every line of the range, in order
    std::optional<TRoutePoint> Start;  // "LL" or "LOCATION"; the last one wins
    std::vector<TRoutePoint> Waypoints;  // "WP=" and "Origin=" in order
    std::vector<TRoutePoint> Targets;    // "TP=" and "Target=" in order
    std::optional<std::int32_t> Delay;   // the last "DELAY" above 0
    std::int32_t CWPI = 0;               // the last "CWPI=" value (0 when it is not a number)
    std::optional<std::size_t> CWPILine;
    // The line at which the reading stopped (StopAtFault): the start, route and numbers above
    // come from the lines before it.
    std::optional<std::size_t> StoppedAt;

    // Every fault of the lines read (with StopAtFault up to and including the stop line).
    struct TSkipped {
        std::size_t Line = 0;
        TCaseLineFault Fault;
    };
    std::vector<TSkipped> Faults() const;
};

// The text the readers report a fault with. Faults that end the case give the reason alone
// ("Lat/Long conversion error", "Cannot find base NAME!", the number's message), which the reader
// wraps with the place. A start that does not read ends with " " + startWhose, an unknown
// start base with " " + locationWhose ("case 2" / "Case 2" in the editor, "for TF NAME" in the
// loader).
std::string CaseFaultMessage(const TCaseLineRead& read, const TCaseLineFault& fault, std::string_view startWhose,
                             std::string_view locationWhose);

// Reads lines first .. end - 1 (end is cut to the lines) as the lines of one case, the keys
// told apart by ClassifyCaseLine, base names looked up in bases.
TParsedCase ParseCaseLines(const platform::TextLines& lines, std::size_t first, std::size_t end,
                           const std::vector<TBase*>& bases, TCaseReading reading = TCaseReading::Whole);

}  // namespace scenario
