// The case lines of a side file and the edits made on them: the input is the file. The first
// force it names (its first "NAME=" line) is the force edited; the input's length chooses the case.
// Its case block is found, parsed, stored back changed; a case is added; the header speed is read
// and replaced. Every edit is taken as an undo step: the splice between the lines before and after
// it must make the after lines from the before lines and take them back to the same bytes.

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "FuzzScratch.h"
#include "platform/TextLines.h"
#include "platform/testing/ScriptedDialogs.h"
#include "scenario/AddCase.h"
#include "scenario/CaseParser.h"
#include "scenario/ForceCases.h"
#include "scenario/ForceHeader.h"
#include "scenario/LinesSplice.h"
#include "scenario/MissionCases.h"

namespace {

using platform::TextLines;

// The undo step between two states of the lines gives both back exactly.
void CheckUndoStep(const TextLines& before, const TextLines& after) {
  const scenario::TLinesSplice splice = scenario::DiffLines(before, after);
  if (splice.Empty() != (before == after)) std::abort();
  TextLines lines = before;
  scenario::ApplySplice(lines, splice);
  if (lines != after) std::abort();
  scenario::RevertSplice(lines, splice);
  if (lines != before || platform::JoinLinesCrLf(lines) != platform::JoinLinesCrLf(before)) std::abort();
}

std::string FirstForceTitle(const TextLines& lines) {
  for (const std::string& line : lines)
    if (line.rfind("NAME=", 0) == 0) return line.substr(5);
  return "Force";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TextLines lines = platform::SplitLines(fuzz::AsText(data, size));
  const std::string title = FirstForceTitle(lines);
  const int n = static_cast<int>(size % scenario::kCaseCount) + 1;
  platform::testing::ScriptedDialogs dialogs;

  // The case list shown for the case, parsed for the map, then stored back with a line changed.
  const scenario::TCaseBlock block = scenario::FindCaseBlock(lines, title, n);
  if (block.FirstLine <= block.LastLine && block.LastLine < lines.size()) {
    scenario::TForceCases cases;
    scenario::ParseCase(lines, block.FirstLine + 1, block.LastLine + 1, n, cases, {}, dialogs);
  }
  TextLines caseList = block.Lines;
  caseList.push_back("WP=3500N 02400E");
  if (!caseList.empty()) caseList.erase(caseList.begin());
  TextLines stored = lines;
  scenario::StoreCaseBlock(stored, block.FirstLine, block.LastLine, caseList);
  CheckUndoStep(lines, stored);

  // Cases found the way the map finds them parse without harm.
  if (const auto nameLine = scenario::FindForceNameLine(lines, title)) {
    if (const auto range = scenario::LocateCase(lines, *nameLine, n); range && range->First <= range->End &&
                                                                        range->End <= lines.size()) {
      scenario::TForceCases cases;
      scenario::ParseCase(lines, range->First, range->End, n, cases, {}, dialogs);
    }
    // Add case, from the mission's "ENDMISSION" line back to its "NAME=" line.
    for (std::size_t end = *nameLine; end < lines.size(); ++end) {
      if (lines[end] != "ENDMISSION") continue;
      TextLines added = lines;
      try {
        scenario::AddCase(added, end, *nameLine, dialogs);
      } catch (const std::exception&) {
        if (added != lines) std::abort();  // a refused case leaves the lines as they were
      }
      CheckUndoStep(lines, added);
      break;
    }
  }

  // The force's speed, read and changed in its header.
  const scenario::TLineRange header = scenario::ForceHeaderLines(lines, title);
  if (header.First <= header.End && header.End <= lines.size()) {
    try {
      scenario::HeaderSpeed(lines, header, dialogs);
    } catch (const std::exception&) {
      // A speed that is not a number is reported to the user.
    }
    TextLines faster = lines;
    scenario::ReplaceHeaderSpeed(faster, header, static_cast<int>(size % 33));
    CheckUndoStep(lines, faster);
  }
  scenario::FindForceHeader(lines, title);
  return 0;
}
