#include "scenario/CaseParser.h"

#include <stdexcept>
#include <string>

#include "platform/UserDialogs.h"
#include "scenario/CaseLines.h"

namespace scenario {

std::optional<std::size_t> RouteMarkLine(const platform::TextLines& lines, std::size_t first, std::size_t end,
                                         const TRoutePointRef& mark) {
    if (mark.Kind == TRouteMark::Start || mark.Index < 0) return std::nullopt;
    std::int32_t seen = 0;
    for (const TCaseLineRead& read : ParseCaseLines(lines, first, end, {}).Lines) {
        const bool waypoint = read.Kind == TCaseLineKind::WP || read.Kind == TCaseLineKind::Origin;
        const bool target = read.Kind == TCaseLineKind::TP || read.Kind == TCaseLineKind::Target;
        if ((mark.Kind == TRouteMark::Waypoint && waypoint) || (mark.Kind == TRouteMark::Target && target)) {
            if (seen == mark.Index) return read.Line;
            ++seen;
        }
    }
    return std::nullopt;
}

std::vector<TCaseMessage> CaseReadingMessages(const platform::TextLines& lines, const TParsedCase& parsed, int n,
                                              std::size_t countFrom) {
    const std::string caseText = std::to_string(n);
    std::vector<TCaseMessage> messages;
    for (const TParsedCase::TSkipped& skipped : parsed.Faults()) {
        const TCaseLineRead& read = parsed.Lines[skipped.Line - parsed.Lines.front().Line];
        const std::string text = CaseFaultMessage(read, skipped.Fault, "case " + caseText, "Case " + caseText);
        const std::size_t line = skipped.Line - countFrom;
        if (!skipped.Fault.EndsCase) {
            messages.push_back({line, text});
            continue;
        }
        messages.push_back({line, "Error reading case!\rLine no: " + std::to_string(line) + "\r" +
                           "Line: " + lines[skipped.Line] + "\r" + "Case: " + caseText + "\r\r" + text, true});
        break;
    }
    return messages;
}

void PutParsedCase(const TParsedCase& parsed, int n, TForceCases& cases) {
    const std::size_t c = static_cast<std::size_t>(n - 1);
    if (parsed.Start) cases.CaseStart[c] = parsed.Start->Point;
    cases.CaseCWPI[c] = parsed.CWPI;
    if (parsed.Delay) cases.CaseDelay[c] = *parsed.Delay;
    for (const TRoutePoint& point : parsed.Waypoints) cases.CaseWaypoints[c].Add(point.Point);
    for (const TRoutePoint& point : parsed.Targets) cases.CaseTargets[c].Add(point.Point);
}

void ParseCase(const platform::TextLines& lines, std::size_t first, std::size_t end, int n,
               TForceCases& cases, const std::vector<TBase*>& bases, platform::UserDialogs& dialogs) {
    for (const TCaseMessage& message : ReadCase(lines, first, end, n, cases, bases)) dialogs.ShowMessage(message.Text);
}

std::vector<TCaseMessage> ReadCase(const platform::TextLines& lines, std::size_t first, std::size_t end, int n,
                                   TForceCases& cases, const std::vector<TBase*>& bases) {
    if (n < 1 || n > kCaseCount) throw std::out_of_range("case number out of range");
    const TParsedCase parsed = ParseCaseLines(lines, first, end, bases, TCaseReading::StopAtFault);
    PutParsedCase(parsed, n, cases);
    return CaseReadingMessages(lines, parsed, n);
}

}  // namespace scenario
