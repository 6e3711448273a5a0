#include "scenario/ScenarioLint.h"

#include <algorithm>
#include <exception>
#include <string>

#include "globe/data/GlobeUnits.h"
#include "globe/data/LandIndex.h"
#include "platform/FileSystem.h"
#include "platform/IntegerText.h"
#include "scenario/Base.h"
#include "scenario/CaseLineKind.h"
#include "scenario/CaseLines.h"
#include "scenario/Force.h"
#include "scenario/LabelValue.h"
#include "scenario/MissionCases.h"
#include "scenario/MissionLines.h"
#include "scenario/PositionText.h"
#include "scenario/ScenarioState.h"
#include "scenario/SideFile.h"

namespace scenario {

namespace {

constexpr std::int32_t kCoastalReach = kCoastalMiles * globe::GlobeUnitsPerMinute;
constexpr std::int32_t kPortReach = kPortMiles * globe::GlobeUnitsPerMinute;
// How far a distance in a message is measured; beyond it the message says "more than".
constexpr int kMeasuredMiles = 200;

// "N NM" or "more than 200 NM" for the distance from a point to the nearest coast.
std::string CoastMiles(const globe::TLandIndex& land, const globe::TGeoPoint& point) {
    const std::int32_t reach = kMeasuredMiles * globe::GlobeUnitsPerMinute;
    const std::int32_t distance = land.CoastDistance(point, reach);
    if (distance >= reach) return "more than " + std::to_string(kMeasuredMiles) + " NM";
    return std::to_string((distance + globe::GlobeUnitsPerMinute / 2) / globe::GlobeUnitsPerMinute) + " NM";
}

bool IsCoastal(const globe::TLandIndex& land, const globe::TGeoPoint& point) {
    return land.CoastDistance(point, kCoastalReach + 1) <= kCoastalReach;
}

// The line is a case header "CASE" + a number, with nothing else.
std::optional<int> CaseHeaderNumber(const std::string& line) {
    if (line.size() < 5 || line.size() > 7 || line.compare(0, 4, "CASE") != 0) return std::nullopt;
    const std::string digits = line.substr(4);
    if (digits.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    return std::stoi(digits);
}

// Collects the findings of one force's block.
class TForceLint {
public:
    TForceLint(const TScenarioState& state, const TForce& force, const globe::TLandIndex* land)
        : State_(state),
          Force_(force),
          Land_(land),
          Lines_(state.SideLines[force.Side == 0 ? 0 : 1]),
          File_(SideFileName(state.IsCampaign, force.Side)) {}

    std::vector<TLintFinding> Run() {
        const std::optional<std::size_t> nameLine = FindForceNameLine(Lines_, Force_.Title());
        if (!nameLine) return {};
        std::optional<std::size_t> countLine;
        std::size_t i = *nameLine + 1;
        for (; i < Lines_.size() && Trimmed(Lines_[i]) != "ENDMISSION" && !IsBlankLine(Lines_[i]); ++i) {
            const std::string& line = Lines_[i];
            if (!countLine && HasKey(line, "SPEED") && Force_.Speed < 1) {
                Add(i, TLintSeverity::lsError, "speed-too-low",
                    LineText(i) + " is below 1 knot: arrival times cannot be computed");
            }
            if (!countLine && HasKey(line, "CASECOUNT")) countLine = i;
            if (!countLine) continue;
            if (const std::optional<int> n = CaseHeaderNumber(line)) {
                ++Headers_;
                CheckCase(*n, i, CaseLinesEnd(Lines_, i + 1));
            }
        }
        CheckCaseCount(*nameLine, countLine);
        std::stable_sort(Findings_.begin(), Findings_.end(),
                         [](const TLintFinding& a, const TLintFinding& b) { return a.Line < b.Line; });
        return std::move(Findings_);
    }

private:
    TLintFinding& Add(std::size_t line, TLintSeverity severity, std::string code, std::string message, int n = 0) {
        TLintFinding& finding = Findings_.emplace_back();
        finding.File = File_;
        finding.Line = line + 1;
        finding.Severity = severity;
        finding.Code = std::move(code);
        finding.Message = std::move(message);
        finding.Force = &Force_;
        finding.Case = n;
        return finding;
    }

    std::string LineText(std::size_t line) const { return std::string(Trimmed(Lines_[line])); }

    void CheckCaseCount(std::size_t nameLine, std::optional<std::size_t> countLine) {
        if (!countLine) {
            Add(nameLine, TLintSeverity::lsError, "case-count", "the mission has no CASECOUNT= line: no case is chosen");
            return;
        }
        const std::string value = ValueAfterEquals(Lines_[*countLine]);
        const int count = platform::StrToIntDef(value, -1);
        if (Headers_ < count) {
            Add(*countLine, TLintSeverity::lsError, "case-count",
                LineText(*countLine) + " but " + std::to_string(Headers_) +
                    " CASE blocks follow: a missing case can be chosen");
        } else if (Headers_ > count) {
            Add(*countLine, TLintSeverity::lsWarning, "case-count",
                LineText(*countLine) + " but " + std::to_string(Headers_) +
                    " CASE blocks follow: the cases past the count are never chosen");
        }
    }

    static std::string ValueAfterEquals(const std::string& line) {
        const std::size_t equals = line.find('=');
        return equals == std::string::npos ? std::string() : std::string(Trimmed(line.substr(equals + 1)));
    }

    void CheckCase(int n, std::size_t header, std::size_t end) {
        const TParsedCase route = ParseCaseLines(Lines_, header + 1, end, State_.BaseList);
        const std::vector<TParsedCase::TSkipped> faults = route.Faults();
        // A start at a base that gives no position leaves the force where it was created.
        const std::string noStart = route.Start ? "" : ": the force starts at 0\u00B0N 0\u00B0E";
        for (const TParsedCase::TSkipped& skipped : faults) {
            if (skipped.Fault.Fault != TCaseFault::UnknownBase) continue;
            const bool location = ClassifyCaseLine(Lines_[skipped.Line]) == TCaseLineKind::Location;
            Add(skipped.Line, TLintSeverity::lsError, "unknown-base",
                "base \"" + skipped.Fault.Text + "\" is not loaded" + (location ? noStart : ""), n);
        }
        for (const TCaseLineRead& read : route.Lines) {
            if (read.Kind == TCaseLineKind::Location && read.Faults.empty() && read.Value.empty()) {
                Add(read.Line, TLintSeverity::lsError, "unknown-base", LineText(read.Line) + " names no base" + noStart, n);
            }
        }
        CheckLinesRead(route, n);
        for (const TParsedCase::TSkipped& skipped : faults) {
            if (skipped.Fault.Fault != TCaseFault::BadPosition) continue;
            Add(skipped.Line, TLintSeverity::lsError, "bad-position",
                "position \"" + skipped.Fault.Text + "\" cannot be read", n);
        }
        if (route.Waypoints.empty() && route.Targets.empty()) {
            Add(header, TLintSeverity::lsWarning, "case-empty", "case " + std::to_string(n) + " has no waypoint and no target",
                n);
        }
        const auto waypoints = static_cast<std::int32_t>(route.Waypoints.size());
        const bool cwpiInside = route.CWPI >= 0 && route.CWPI < waypoints;
        if (route.CWPILine && !cwpiInside && waypoints > 0) {
            Add(*route.CWPILine, TLintSeverity::lsError, "cwpi-out-of-range",
                LineText(*route.CWPILine) + " is outside the case's " + std::to_string(waypoints) +
                    " waypoints (0 to " + std::to_string(waypoints - 1) + "): the case is not drawn",
                n);
        }
        if (Land_ == nullptr) return;
        if (route.Start) CheckOnLand(*route.Start, "start-on-land", "start position ", n);
        for (const TRoutePoint& point : route.Waypoints) {
            if (!point.AtBase) CheckOnLand(point, "waypoint-on-land", "", n);
        }
        for (const TRoutePoint& point : route.Targets) {
            if (!point.AtBase) CheckOnLand(point, "waypoint-on-land", "", n);
        }
        CheckLegs(route, cwpiInside, n);
    }

    // Lines the case readers pass over, and positions that read but lie off the globe.
    void CheckLinesRead(const TParsedCase& route, int n) {
        for (const TCaseLineRead& read : route.Lines) {
            if (read.Kind == TCaseLineKind::Other) {
                const std::optional<std::string> meant = CaseKeyInOtherCase(Lines_[read.Line]);
                Add(read.Line, TLintSeverity::lsWarning, "line-not-read",
                    "line not read: " + LineText(read.Line) + (meant ? " (" + *meant + " meant?)" : ""), n);
            } else if (read.Point && !read.Point->AtBase && !IsPositionOnGlobe(read.Value)) {
                ReportedLines_.push_back(read.Line);
                Add(read.Line, TLintSeverity::lsError, "off-globe", "position off the globe: " + LineText(read.Line), n);
            }
        }
    }

    void CheckOnLand(const TRoutePoint& point, const char* code, const std::string& what, int n) {
        if (IsReported(point)) return;
        if (!Land_->IsLand(point.Point)) return;
        if (Land_->CoastDistance(point.Point, kCoastalReach + 1) <= kCoastalReach) return;
        ReportedLines_.push_back(point.Line);
        Add(point.Line, TLintSeverity::lsError, code,
            what + LineText(point.Line) + " is on land, " + CoastMiles(*Land_, point.Point) + " from the coast", n)
            .At = point.Point;
    }

    // The legs the map draws: start to the current waypoint, on through the waypoints, the last
    // waypoint to the first target and on through the targets.
    void CheckLegs(const TParsedCase& route, bool cwpiInside, int n) {
        if (!cwpiInside) return;
        std::vector<const TRoutePoint*> path;
        if (route.Start) path.push_back(&*route.Start);
        for (std::size_t i = static_cast<std::size_t>(route.CWPI); i < route.Waypoints.size(); ++i) {
            path.push_back(&route.Waypoints[i]);
        }
        for (const TRoutePoint& target : route.Targets) path.push_back(&target);
        for (std::size_t i = 1; i < path.size(); ++i) {
            const TRoutePoint& from = *path[i - 1];
            const TRoutePoint& to = *path[i];
            // A leg to or from a position already reported inland or off the globe says nothing new.
            if (IsReported(from) || IsReported(to)) continue;
            const std::int32_t skipStart = from.AtBase || IsCoastal(*Land_, from.Point) ? kCoastalReach : 0;
            const std::int32_t skipEnd = to.AtBase || IsCoastal(*Land_, to.Point) ? kCoastalReach : 0;
            if (!Land_->LegCrossesLand(from.Point, to.Point, skipStart, skipEnd)) continue;
            Add(to.Line, TLintSeverity::lsWarning, "leg-over-land",
                "the leg from " + LineText(from.Line) + " to " + LineText(to.Line) + " crosses land", n)
                .At = to.Point;
        }
    }

    bool IsReported(const TRoutePoint& point) const {
        return std::find(ReportedLines_.begin(), ReportedLines_.end(), point.Line) != ReportedLines_.end();
    }

    const TScenarioState& State_;
    const TForce& Force_;
    const globe::TLandIndex* Land_;
    const platform::TextLines& Lines_;
    std::string File_;
    int Headers_ = 0;
    std::vector<std::size_t> ReportedLines_;  // lines of positions reported on land or off the globe
    std::vector<TLintFinding> Findings_;
};

// Ports more than kPortMiles from any coast, at the line of the base's position.
void LintPorts(const TScenarioState& state, const globe::TLandIndex& land, platform::FileSystem& files,
               std::vector<TLintFinding>& findings) {
    for (const int side : {0, 1}) {
        const std::string file = side == 0 ? "AxisBases.cfg" : "AlliedBases.cfg";
        platform::TextLines lines;
        try {
            lines = files.ReadLines(state.ScenarioDir + file);
        } catch (const std::exception&) {
            // the load reported the file; the findings then point at its first line
        }
        // The bases of this side stand in the file in list order, each from its "Name=" line.
        std::vector<std::size_t> nameLines;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (HasKey(lines[i], "Name=")) nameLines.push_back(i);
        }
        std::size_t k = 0;
        for (TBase* base : state.BaseList) {
            if (base->Side != side) continue;
            const std::size_t index = k++;
            if (!base->IsPort()) continue;
            const globe::TGeoPoint position = base->GetCentroid();
            if (land.CoastDistance(position, kPortReach + 1) <= kPortReach) continue;
            std::size_t line = 0;
            if (index < nameLines.size()) {
                line = nameLines[index];
                for (std::size_t i = line + 1; i < lines.size() && !HasKey(lines[i], "Name="); ++i) {
                    if (HasKey(lines[i], "LL=")) {
                        line = i;
                        break;
                    }
                }
            }
            TLintFinding& finding = findings.emplace_back();
            finding.File = file;
            finding.Line = line + 1;
            finding.Severity = TLintSeverity::lsWarning;
            finding.Code = "port-inland";
            finding.Message = "port " + base->Title() + " is " + (land.IsLand(position) ? "on land, " : "at sea, ") +
                              CoastMiles(land, position) + " from the coast (more than " +
                              std::to_string(kPortMiles) + " NM)";
            finding.At = position;
        }
    }
}

}  // namespace

std::vector<TLintFinding> LintForce(const TScenarioState& state, const TForce& force, const globe::TLandIndex* land) {
    return TForceLint(state, force, land != nullptr && land->TooLarge() ? nullptr : land).Run();
}

std::vector<TLintFinding> LintScenario(const TScenarioState& state, const globe::TLandIndex* land,
                                       platform::FileSystem& files) {
    std::vector<TLintFinding> findings;
    if (land != nullptr && land->TooLarge()) {
        TLintFinding& finding = findings.emplace_back();
        finding.Severity = TLintSeverity::lsNote;
        finding.Code = "land-skipped";
        finding.Message = "the land checks were skipped: the land map's " + std::to_string(land->EdgeCount()) +
                          " edges run through too many cells to index";
        land = nullptr;
    }
    if (land != nullptr) LintPorts(state, *land, files, findings);
    for (const TForce* force : state.ForceList) {
        std::vector<TLintFinding> more = LintForce(state, *force, land);
        findings.insert(findings.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    }
    std::stable_sort(findings.begin(), findings.end(), [](const TLintFinding& a, const TLintFinding& b) {
        return a.File != b.File ? a.File < b.File : a.Line < b.Line;
    });
    return findings;
}

std::size_t CountErrors(const std::vector<TLintFinding>& findings) {
    return static_cast<std::size_t>(std::count_if(findings.begin(), findings.end(), [](const TLintFinding& f) {
        return f.Severity == TLintSeverity::lsError;
    }));
}

}  // namespace scenario
