#pragma once
// One loaded scenario as a document, without any window: its state (bases, forces, both sides'
// lines; the objects themselves live in the map's layers), each force's cases as ParseCaseLines
// reads them, the current force and case, the load's diagnostics and the checks' findings.
//
// Every change of a side's lines is a splice. The edit operations only work out the splice
// (nothing changes); Apply makes it and Revert takes it back, so one undo command holds one
// splice. Either way the document parses the touched forces' cases again, reads a force's
// header again when the splice touches it (its speed goes back with the lines), checks the
// touched forces again and tells its listeners what changed.
//
// Whether a side is "modified" is not kept here: SideDiffersFromSaved compares with the lines of
// the last load or save, and the editor's undo stack knows its clean state.

#include <array>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "platform/TextLines.h"
#include "scenario/CaseLines.h"
#include "scenario/Diagnostic.h"
#include "scenario/ForceCases.h"
#include "scenario/LinesSplice.h"
#include "scenario/LintFinding.h"

namespace globe {
class TLandIndex;
}
namespace platform {
class FileSystem;
class UserDialogs;
}

namespace scenario {

class TBase;
class TForce;
class TScenarioState;

// A splice of one side's lines: what an undo command keeps.
struct TSideSplice {
    int Side = 0;
    TLinesSplice Splice;
};

// What one Apply or Revert changed: the side, the splice (Forward: applied; else reverted) and
// the forces whose blocks it touched, in the side's order.
struct TDocumentChange {
    int Side = 0;
    const TLinesSplice* Splice = nullptr;
    bool Forward = true;
    std::vector<const TForce*> Forces;
};

// Cases 1..6 of a force as the editor reads them (TCaseReading::StopAtFault), from its side's
// lines; a case the mission does not have is none.
using TParsedCases = std::array<std::optional<TParsedCase>, kCaseCount>;
TParsedCases ParseForceCases(const platform::TextLines& lines, const std::string& forceTitle,
                             const std::vector<TBase*>& bases);
// The cases in the form the map draws (starts and delays of missing cases zero).
TForceCases MapCases(const TParsedCases& parsed);

class TScenarioDocument {
public:
    // Reads a force's block again from its side's lines (the loader's force reading).
    using TForceReader = std::function<void(TForce& force)>;
    using TListener = std::function<void(const TDocumentChange& change)>;

    // Takes the loaded state; the lines as they stand are the saved ones.
    explicit TScenarioDocument(std::unique_ptr<TScenarioState> state);
    ~TScenarioDocument();
    TScenarioDocument(const TScenarioDocument&) = delete;
    TScenarioDocument& operator=(const TScenarioDocument&) = delete;

    TScenarioState& State() { return *State_; }
    const TScenarioState& State() const { return *State_; }
    const std::vector<TBase*>& Bases() const;
    const std::vector<TForce*>& Forces() const;
    const platform::TextLines& SideLines(int side) const;
    static int SideOf(const TForce& force);
    // The name of a side's file, relative to the scenario ("AxisShips.cfg", ...).
    std::string SideFileName(int side) const;

    void SetForceReader(TForceReader reader) { ForceReader_ = std::move(reader); }

    // ---- Saved lines ------------------------------------------------------------------------
    void MarkSaved(int side);
    const platform::TextLines& SavedLines(int side) const { return Saved_[Index(side)]; }
    bool SideDiffersFromSaved(int side) const;

    // ---- The side files on disk ---------------------------------------------------------------
    // The path of a side's file.
    std::string SideFilePath(int side) const;
    // The bytes a save wrote to the side's file: what it holds on disk from now on.
    void MarkWritten(int side, std::string bytes);
    // Whether the side's file no longer holds the bytes the load read or the last save wrote
    // (another program changed, replaced or removed it). A file that cannot be read counts as
    // unchanged: the save's own write then says what is wrong with it.
    bool SideFileChangedOnDisk(int side, platform::FileSystem& files) const;

    // ---- Current force and case -------------------------------------------------------------
    TForce* CurrentForce() const { return CurrentForce_; }
    int CurrentCase() const { return CurrentCase_; }
    // A case number is kept within 1..6.
    void SetCurrent(TForce* force, int caseNumber);

    // ---- Cases --------------------------------------------------------------------------------
    // Case n (1..6) of the force as the editor reads it (TCaseReading::StopAtFault, the lines'
    // indexes those of the side's lines); none when the mission has no such case.
    const TParsedCase* Case(const TForce& force, int n) const;
    // The force's cases in the form the map draws (starts and delays of missing cases zero).
    TForceCases CasesOf(const TForce& force) const;

    // ---- Diagnostics ----------------------------------------------------------------------------
    void SetLoadDiagnostics(std::vector<TDiagnostic> diagnostics) { LoadDiagnostics_ = std::move(diagnostics); }
    const std::vector<TDiagnostic>& LoadDiagnostics() const { return LoadDiagnostics_; }
    // Checks the whole scenario against land (kept for the rechecks; may be null).
    void Lint(const globe::TLandIndex* land, platform::FileSystem& files);
    const std::vector<TLintFinding>& Findings() const { return Findings_; }
    // The load's diagnostics, then the findings, as the Problems panel lists them.
    std::vector<TDiagnostic> Diagnostics() const;

    // ---- Edits: each works out a splice and changes nothing --------------------------------------
    // Rows count the case block's lines as the case list shows them: row 0 is the "CASE" line.
    // None when the force, case or row is not there, or the change would change nothing.
    std::optional<TSideSplice> EditLine(const TForce& force, int n, std::size_t row, const std::string& text) const;
    // Text inserted before row (0 .. the block's size).
    std::optional<TSideSplice> InsertLine(const TForce& force, int n, std::size_t row, const std::string& text) const;
    std::optional<TSideSplice> DeleteLine(const TForce& force, int n, std::size_t row) const;
    // The map's changes: a line replaced (a dragged mark), a line inserted (Shift + click on a
    // leg; row 0, above the "CASE" line, is refused).
    std::optional<TSideSplice> ReplaceCaseLine(const TForce& force, int n, std::size_t row,
                                               const std::string& text) const;
    std::optional<TSideSplice> InsertCaseLine(const TForce& force, int n, std::size_t row,
                                              const std::string& text) const;
    // Pick point: the row becomes PositionLine of itself at point.
    std::optional<TSideSplice> PickPoint(const TForce& force, int n, std::size_t row,
                                         const globe::TGeoPoint& point) const;
    // Add case after the mission's last one (AddCase's messages go to dialogs; its conversion
    // error is thrown).
    std::optional<TSideSplice> AddCase(const TForce& force, platform::UserDialogs& dialogs) const;
    // Every "SPEED=" line of the force's header becomes "SPEED=" + knots.
    std::optional<TSideSplice> EditForceSpeed(const TForce& force, int knots) const;
    // The side's lines back to the saved ones.
    std::optional<TSideSplice> DiscardSideChanges(int side) const;

    // Makes / takes back a splice (std::logic_error when the lines are not the splice's).
    void Apply(const TSideSplice& splice);
    void Revert(const TSideSplice& splice);

    // ---- Listeners ----------------------------------------------------------------------------
    int AddListener(TListener listener);
    void RemoveListener(int id);

private:
    static std::size_t Index(int side) { return side == 0 ? 0 : 1; }
    void Change(const TSideSplice& splice, bool forward);
    std::vector<const TForce*> TouchedForces(int side, const TLinesSplice& splice, bool forward) const;
    void ParseForce(const TForce& force) const;
    std::optional<TSideSplice> SpliceTo(int side, const platform::TextLines& after) const;

    std::unique_ptr<TScenarioState> State_;
    std::array<platform::TextLines, 2> Saved_;
    TForce* CurrentForce_ = nullptr;
    int CurrentCase_ = 1;
    // Parsed when first asked for; a change of a side's lines drops its forces' cases.
    mutable std::map<const TForce*, TParsedCases> Cases_;
    std::vector<TDiagnostic> LoadDiagnostics_;
    std::vector<TLintFinding> Findings_;
    const globe::TLandIndex* Land_ = nullptr;
    TForceReader ForceReader_;
    std::map<int, TListener> Listeners_;
    int NextListener_ = 1;
};

}  // namespace scenario
