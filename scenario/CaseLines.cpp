#include "scenario/CaseLines.h"

#include <algorithm>
#include <exception>

#include "platform/IntegerText.h"
#include "scenario/Base.h"
#include "scenario/BaseLookup.h"
#include "scenario/LabelValue.h"
#include "scenario/PositionText.h"

namespace scenario {

namespace {

// The label each kind of line is read with; none for the base names of "Target=" and "Origin="
// (any label), nullptr for lines that are not read.
const char* ExpectedLabel(TCaseLineKind kind) {
    switch (kind) {
        case TCaseLineKind::FormationHeading: return "FORMATIONHEADING";
        case TCaseLineKind::LL: return "LL";
        case TCaseLineKind::CWPI: return "CWPI";
        case TCaseLineKind::Location: return "LOCATION";
        case TCaseLineKind::Delay: return "DELAY";
        case TCaseLineKind::WP: return "WP";
        case TCaseLineKind::TP: return "TP";
        case TCaseLineKind::Target:
        case TCaseLineKind::Origin: return "";
        default: return nullptr;
    }
}

// Splits the line as ReadLabelValue does, noting its faults instead of reporting them.
void ReadValue(TCaseLineRead& read, std::string_view line) {
    const std::size_t equals = line.find('=');
    std::string_view label;
    std::string_view value = line;
    if (equals == std::string_view::npos) {
        read.Faults.push_back({TCaseFault::MissingEquals, std::string(line), false});
    } else {
        label = line.substr(0, equals);
        value = line.substr(equals + 1);
    }
    if (!read.Label.empty() && read.Label != label) {
        read.Faults.push_back({TCaseFault::WrongLabel, std::string(label), false});
        return;
    }
    read.Value = std::string(value.substr(0, kMaxValueLength));
}

// A number of the line: the value as an integer, or a fault (ending the case when asked).
void ReadNumber(TCaseLineRead& read, bool faultEndsCase) {
    try {
        read.Number = platform::StrToInt(read.Value);
    } catch (const std::exception& error) {
        read.Number = 0;
        if (faultEndsCase) read.Faults.push_back({TCaseFault::BadNumber, error.what(), true});
    }
}

void ReadPosition(TCaseLineRead& read, bool faultEndsCase) {
    globe::TGeoPoint point;
    if (ParsePositionValue(read.Value, point)) {
        read.Point = TRoutePoint{point, read.Line, false};
    } else {
        read.Faults.push_back({TCaseFault::BadPosition, read.Value, faultEndsCase});
    }
}

void ReadBase(TCaseLineRead& read, const std::vector<TBase*>& bases, bool faultEndsCase) {
    if (const TBase* base = FindBaseByTitle(bases, read.Value)) {
        read.Point = TRoutePoint{base->Location, read.Line, true};
    } else {
        read.Faults.push_back({TCaseFault::UnknownBase, read.Value, faultEndsCase});
    }
}

TCaseLineRead ReadLine(const std::string& line, std::size_t index, const std::vector<TBase*>& bases,
                       TCaseReading reading) {
    TCaseLineRead read;
    read.Line = index;
    read.Kind = ClassifyCaseLine(line);
    // The editor's case reading passes over formation headings.
    if (read.Kind == TCaseLineKind::FormationHeading && reading == TCaseReading::StopAtFault) return read;
    const char* label = ExpectedLabel(read.Kind);
    if (label == nullptr) return read;
    read.Label = label;
    ReadValue(read, line);
    switch (read.Kind) {
        case TCaseLineKind::FormationHeading:
        case TCaseLineKind::CWPI:
            ReadNumber(read, true);
            break;
        case TCaseLineKind::Delay:
            read.Number = platform::StrToIntDef(read.Value, 0);
            break;
        case TCaseLineKind::LL:
            if (!read.Value.empty()) ReadPosition(read, false);
            break;
        case TCaseLineKind::Location:
            if (!read.Value.empty()) ReadBase(read, bases, false);
            break;
        case TCaseLineKind::WP:
        case TCaseLineKind::TP:
            ReadPosition(read, true);
            break;
        default:  // Target=, Origin=
            ReadBase(read, bases, true);
            break;
    }
    return read;
}

// What one read line adds to the case as a whole.
void Gather(TParsedCase& parsed, const TCaseLineRead& read) {
    switch (read.Kind) {
        case TCaseLineKind::LL:
        case TCaseLineKind::Location:
            if (read.Point) parsed.Start = read.Point;
            break;
        case TCaseLineKind::CWPI:
            parsed.CWPI = read.Number.value_or(0);
            parsed.CWPILine = read.Line;
            break;
        case TCaseLineKind::Delay:
            if (read.Number.value_or(0) > 0) parsed.Delay = read.Number;
            break;
        case TCaseLineKind::WP:
        case TCaseLineKind::Origin:
            if (read.Point) parsed.Waypoints.push_back(*read.Point);
            break;
        case TCaseLineKind::TP:
        case TCaseLineKind::Target:
            if (read.Point) parsed.Targets.push_back(*read.Point);
            break;
        default:
            break;
    }
}

}  // namespace

std::string_view CaseFaultCode(TCaseFault fault) {
    switch (fault) {
        case TCaseFault::MissingEquals: return "missing-equals";
        case TCaseFault::WrongLabel: return "wrong-label";
        case TCaseFault::BadPosition: return "bad-position";
        case TCaseFault::UnknownBase: return "unknown-base";
        case TCaseFault::BadNumber: return "bad-number";
    }
    return {};
}

std::string CaseFaultMessage(const TCaseLineRead& read, const TCaseLineFault& fault, std::string_view startWhose,
                             std::string_view locationWhose) {
    switch (fault.Fault) {
        case TCaseFault::MissingEquals: return MissingEqualsMessage(fault.Text);
        case TCaseFault::WrongLabel: return WrongLabelMessage(read.Label, fault.Text);
        case TCaseFault::BadPosition:
            if (fault.EndsCase) return "Lat/Long conversion error";
            return "Errror setting LL " + fault.Text + " " + std::string(startWhose);
        case TCaseFault::UnknownBase:
            if (fault.EndsCase) return "Cannot find base " + fault.Text + "!";
            return "Cannot find location \"" + fault.Text + "\" " + std::string(locationWhose);
        case TCaseFault::BadNumber: return fault.Text;
    }
    return fault.Text;
}

const TCaseLineFault* TCaseLineRead::EndingFault() const {
    const auto found = std::ranges::find_if(Faults, [](const TCaseLineFault& fault) { return fault.EndsCase; });
    return found == Faults.end() ? nullptr : &*found;
}

std::vector<TParsedCase::TSkipped> TParsedCase::Faults() const {
    std::vector<TSkipped> faults;
    for (const TCaseLineRead& read : Lines) {
        if (StoppedAt && read.Line > *StoppedAt) break;
        for (const TCaseLineFault& fault : read.Faults) faults.push_back({read.Line, fault});
    }
    return faults;
}

TParsedCase ParseCaseLines(const platform::TextLines& lines, std::size_t first, std::size_t end,
                           const std::vector<TBase*>& bases, TCaseReading reading) {
    TParsedCase parsed;
    end = std::min(end, lines.size());
    for (std::size_t i = first; i < end; ++i) {
        parsed.Lines.push_back(ReadLine(lines[i], i, bases, reading));
        const TCaseLineRead& read = parsed.Lines.back();
        if (parsed.StoppedAt) continue;
        if (reading == TCaseReading::StopAtFault && read.EndingFault() != nullptr) {
            parsed.StoppedAt = i;
            continue;
        }
        Gather(parsed, read);
    }
    return parsed;
}

}  // namespace scenario
