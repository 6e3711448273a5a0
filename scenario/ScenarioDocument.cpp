#include "scenario/ScenarioDocument.h"

#include <algorithm>
#include <utility>

#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "scenario/AddCase.h"
#include "scenario/CaseLineEdit.h"
#include "scenario/CaseParser.h"
#include "scenario/Force.h"
#include "scenario/ForceHeader.h"
#include "scenario/LineOwner.h"
#include "scenario/LintRecheck.h"
#include "scenario/MissionCases.h"
#include "scenario/PositionLine.h"
#include "scenario/ScenarioLint.h"
#include "scenario/ScenarioState.h"
#include "scenario/SideFile.h"

namespace scenario {

namespace {

using Difference = platform::TextLines::difference_type;

// The lines of a change and the run of them it put in place.
struct TChangedRun {
    std::size_t First = 0;
    std::size_t Count = 0;  // 0: lines were only taken out before First
};

TChangedRun RunOf(const TLinesSplice& splice, bool forward) {
    return {splice.First, forward ? splice.Inserted.size() : splice.Removed.size()};
}

}  // namespace

TScenarioDocument::TScenarioDocument(std::unique_ptr<TScenarioState> state) : State_(std::move(state)) {
    Saved_ = State_->SideLines;
}

TScenarioDocument::~TScenarioDocument() = default;

const std::vector<TBase*>& TScenarioDocument::Bases() const { return State_->BaseList; }

const std::vector<TForce*>& TScenarioDocument::Forces() const { return State_->ForceList; }

const platform::TextLines& TScenarioDocument::SideLines(int side) const { return State_->SideLines[Index(side)]; }

int TScenarioDocument::SideOf(const TForce& force) { return force.Side == 0 ? 0 : 1; }

std::string TScenarioDocument::SideFileName(int side) const {
    return scenario::SideFileName(State_->IsCampaign, static_cast<int>(Index(side)));
}

void TScenarioDocument::MarkSaved(int side) { Saved_[Index(side)] = SideLines(side); }

bool TScenarioDocument::SideDiffersFromSaved(int side) const { return SideLines(side) != SavedLines(side); }

std::string TScenarioDocument::SideFilePath(int side) const { return State_->ScenarioDir + SideFileName(side); }

void TScenarioDocument::MarkWritten(int side, std::string bytes) { State_->SideFileBytes[Index(side)] = std::move(bytes); }

bool TScenarioDocument::SideFileChangedOnDisk(int side, platform::FileSystem& files) const {
    const std::string path = SideFilePath(side);
    std::string onDisk;
    try {
        if (files.FileExists(path)) onDisk = files.ReadBytes(path);
    } catch (const platform::EFileError&) {
        return false;
    }
    return onDisk != State_->SideFileBytes[Index(side)];
}

void TScenarioDocument::SetCurrent(TForce* force, int caseNumber) {
    CurrentForce_ = force;
    CurrentCase_ = std::clamp(caseNumber, 1, kCaseCount);
}

// ---- Cases ----------------------------------------------------------------------------------

TParsedCases ParseForceCases(const platform::TextLines& lines, const std::string& forceTitle,
                             const std::vector<TBase*>& bases) {
    TParsedCases cases;
    const auto nameLine = FindForceNameLine(lines, forceTitle);
    if (!nameLine) return cases;
    for (int n = 1; n <= kCaseCount; ++n) {
        if (const auto found = LocateCase(lines, *nameLine, n)) {
            cases[static_cast<std::size_t>(n - 1)] =
                ParseCaseLines(lines, found->First, found->End, bases, TCaseReading::StopAtFault);
        }
    }
    return cases;
}

TForceCases MapCases(const TParsedCases& parsed) {
    TForceCases cases;
    for (std::size_t c = 0; c < parsed.size(); ++c)
        if (parsed[c]) PutParsedCase(*parsed[c], static_cast<int>(c + 1), cases);
    return cases;
}

void TScenarioDocument::ParseForce(const TForce& force) const {
    Cases_[&force] = ParseForceCases(SideLines(SideOf(force)), force.Title(), Bases());
}

const TParsedCase* TScenarioDocument::Case(const TForce& force, int n) const {
    if (n < 1 || n > kCaseCount) return nullptr;
    if (!Cases_.contains(&force)) ParseForce(force);
    const auto& parsed = Cases_.at(&force)[static_cast<std::size_t>(n - 1)];
    return parsed ? &*parsed : nullptr;
}

TForceCases TScenarioDocument::CasesOf(const TForce& force) const {
    if (!Cases_.contains(&force)) ParseForce(force);
    return MapCases(Cases_.at(&force));
}

// ---- Diagnostics ------------------------------------------------------------------------------

void TScenarioDocument::Lint(const globe::TLandIndex* land, platform::FileSystem& files) {
    Land_ = land;
    Findings_ = LintScenario(*State_, land, files);
}

std::vector<TDiagnostic> TScenarioDocument::Diagnostics() const {
    std::vector<TDiagnostic> diagnostics = LoadDiagnostics_;
    for (const TLintFinding& finding : Findings_)
        diagnostics.push_back(DiagnosticFromFinding(finding, State_->ScenarioDir));
    return diagnostics;
}

// ---- Edits ------------------------------------------------------------------------------------

std::optional<TSideSplice> TScenarioDocument::SpliceTo(int side, const platform::TextLines& after) const {
    TLinesSplice splice = DiffLines(SideLines(side), after);
    if (splice.Empty()) return std::nullopt;
    return TSideSplice{static_cast<int>(Index(side)), std::move(splice)};
}

std::optional<TSideSplice> TScenarioDocument::EditLine(const TForce& force, int n, std::size_t row,
                                                       const std::string& text) const {
    return ReplaceCaseLine(force, n, row, text);
}

std::optional<TSideSplice> TScenarioDocument::InsertLine(const TForce& force, int n, std::size_t row,
                                                         const std::string& text) const {
    const platform::TextLines& lines = SideLines(SideOf(force));
    const TCaseBlock block = FindCaseBlock(lines, force.Title(), n);
    if (block.MissingEnd || block.Lines.empty() || row > block.Lines.size()) return std::nullopt;
    platform::TextLines after = lines;
    after.insert(after.begin() + static_cast<Difference>(block.FirstLine + row), text);
    return SpliceTo(SideOf(force), after);
}

std::optional<TSideSplice> TScenarioDocument::DeleteLine(const TForce& force, int n, std::size_t row) const {
    const platform::TextLines& lines = SideLines(SideOf(force));
    const TCaseBlock block = FindCaseBlock(lines, force.Title(), n);
    if (block.MissingEnd || row >= block.Lines.size()) return std::nullopt;
    platform::TextLines after = lines;
    after.erase(after.begin() + static_cast<Difference>(block.FirstLine + row));
    return SpliceTo(SideOf(force), after);
}

std::optional<TSideSplice> TScenarioDocument::ReplaceCaseLine(const TForce& force, int n, std::size_t row,
                                                              const std::string& text) const {
    const auto after = WithCaseLineReplaced(SideLines(SideOf(force)), force.Title(), n, row, text);
    return after ? SpliceTo(SideOf(force), *after) : std::nullopt;
}

std::optional<TSideSplice> TScenarioDocument::InsertCaseLine(const TForce& force, int n, std::size_t row,
                                                             const std::string& text) const {
    const auto after = WithCaseLineInserted(SideLines(SideOf(force)), force.Title(), n, row, text);
    return after ? SpliceTo(SideOf(force), *after) : std::nullopt;
}

std::optional<TSideSplice> TScenarioDocument::PickPoint(const TForce& force, int n, std::size_t row,
                                                        const globe::TGeoPoint& point) const {
    const TCaseBlock block = FindCaseBlock(SideLines(SideOf(force)), force.Title(), n);
    if (block.MissingEnd || row >= block.Lines.size()) return std::nullopt;
    return ReplaceCaseLine(force, n, row, PositionLine(block.Lines[row], point));
}

std::optional<TSideSplice> TScenarioDocument::AddCase(const TForce& force, platform::UserDialogs& dialogs) const {
    const platform::TextLines& lines = SideLines(SideOf(force));
    // The mission's "ENDMISSION" line is where the block of a case past the last one stands.
    const TCaseBlock block = FindCaseBlock(lines, force.Title(), kCaseCount + 1);
    if (block.MissingEnd || !block.Lines.empty() || block.FirstLine == 0) return std::nullopt;
    platform::TextLines after = lines;
    const std::size_t missionStart = FindForceNameLine(lines, force.Title()).value_or(0);
    if (!scenario::AddCase(after, block.FirstLine, missionStart, dialogs)) return std::nullopt;
    return SpliceTo(SideOf(force), after);
}

std::optional<TSideSplice> TScenarioDocument::EditForceSpeed(const TForce& force, int knots) const {
    platform::TextLines after = SideLines(SideOf(force));
    ReplaceHeaderSpeed(after, ForceHeaderLines(after, force.Title()), knots);
    return SpliceTo(SideOf(force), after);
}

std::optional<TSideSplice> TScenarioDocument::DiscardSideChanges(int side) const {
    return SpliceTo(side, SavedLines(side));
}

// ---- Applying -----------------------------------------------------------------------------------

std::vector<const TForce*> TScenarioDocument::TouchedForces(int side, const TLinesSplice& splice,
                                                            bool forward) const {
    const platform::TextLines& lines = SideLines(side);
    const TChangedRun run = RunOf(splice, forward);
    std::vector<const TForce*> forces;
    const auto add = [&forces](const TForce* force) {
        if (force != nullptr && std::ranges::find(forces, force) == forces.end()) forces.push_back(force);
    };
    // The block the change starts in (for lines only taken out, the block above the gap too)...
    if (run.First < lines.size()) add(FindLineOwner(lines, Forces(), side, run.First).Force);
    if (run.Count == 0 && run.First > 0) add(FindLineOwner(lines, Forces(), side, run.First - 1).Force);
    // ...and every force whose name line stands in the changed run.
    for (const TForce* force : Forces()) {
        if (SideOf(*force) != side) continue;
        const auto nameLine = FindForceNameLine(lines, force->Title());
        if (nameLine && *nameLine >= run.First && *nameLine < run.First + run.Count) add(force);
    }
    std::ranges::sort(forces, [this](const TForce* a, const TForce* b) {
        return std::ranges::find(Forces(), a) < std::ranges::find(Forces(), b);
    });
    return forces;
}

void TScenarioDocument::Change(const TSideSplice& splice, bool forward) {
    const int side = static_cast<int>(Index(splice.Side));
    platform::TextLines& lines = State_->SideLines[Index(side)];
    if (forward) {
        ApplySplice(lines, splice.Splice);
    } else {
        RevertSplice(lines, splice.Splice);
    }
    const std::vector<const TForce*> forces = TouchedForces(side, splice.Splice, forward);
    const TChangedRun run = RunOf(splice.Splice, forward);
    for (TForce* force : Forces()) {
        if (!ForceReader_ || std::ranges::find(forces, force) == forces.end()) continue;
        // A force whose header lines changed reads its block again (speed, mission).
        const TLineRange header = ForceHeaderLines(lines, force->Title());
        if (run.First < header.End && run.First + std::max<std::size_t>(run.Count, 1) > header.First)
            ForceReader_(*force);
    }
    // Names may have changed with the header: every force of the side is found again.
    for (const TForce* force : Forces())
        if (SideOf(*force) == side) Cases_.erase(force);
    RecheckAfterSplice(Findings_, *State_, Land_, side, splice.Splice, forward, forces);
    const TDocumentChange change{side, &splice.Splice, forward, forces};
    const auto listeners = Listeners_;  // a listener may leave while being told
    for (const auto& [id, listener] : listeners) listener(change);
}

void TScenarioDocument::Apply(const TSideSplice& splice) { Change(splice, true); }

void TScenarioDocument::Revert(const TSideSplice& splice) { Change(splice, false); }

int TScenarioDocument::AddListener(TListener listener) {
    Listeners_.emplace(NextListener_, std::move(listener));
    return NextListener_++;
}

void TScenarioDocument::RemoveListener(int id) { Listeners_.erase(id); }

}  // namespace scenario
