// Findings kept current after an edit: the edited forces' findings replaced, the rest of the
// edited file's findings moved with their lines.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario/Force.h"
#include "scenario/LintRecheck.h"

namespace scenario {
namespace {

TLintFinding At(const std::string& file, std::size_t line, const TForce* force, const std::string& code = "x") {
  TLintFinding finding;
  finding.File = file;
  finding.Line = line;
  finding.Force = force;
  finding.Code = code;
  return finding;
}

std::vector<std::string> Places(const std::vector<TLintFinding>& findings) {
  std::vector<std::string> places;
  for (const TLintFinding& f : findings) places.push_back(f.File + ":" + std::to_string(f.Line) + " " + f.Code);
  return places;
}

TEST(LintRecheckTest, EditedForceReplacedOthersMoveWithTheirLines) {
  TForce edited(nullptr);
  TForce below(nullptr);
  TForce above(nullptr);
  struct Case {
    const char* name;
    TLinesEdit edit;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      // Two lines inserted at line index 12 (line 13): the finding at line 30 moves to 32.
      {"insert", {"Axis.cfg", 12, 0, 2}, {"Allied.cfg:30 o", "Axis.cfg:5 a", "Axis.cfg:14 new", "Axis.cfg:32 b"}},
      // One line deleted: it moves up.
      {"delete", {"Axis.cfg", 12, 1, 0}, {"Allied.cfg:30 o", "Axis.cfg:5 a", "Axis.cfg:14 new", "Axis.cfg:29 b"}},
      // A line replaced in place: nothing moves.
      {"replace", {"Axis.cfg", 12, 1, 1}, {"Allied.cfg:30 o", "Axis.cfg:5 a", "Axis.cfg:14 new", "Axis.cfg:30 b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<TLintFinding> findings = {At("Allied.cfg", 30, nullptr, "o"), At("Axis.cfg", 5, &above, "a"),
                                          At("Axis.cfg", 13, &edited, "old"), At("Axis.cfg", 30, &below, "b"),
                                          At("Axis.cfg", 20, &edited, "old")};
    ReplaceForceFindings(findings, c.edit, {&edited}, {At("Axis.cfg", 14, &edited, "new")});
    EXPECT_EQ(Places(findings), c.expected);
  }
}

TEST(LintRecheckTest, FindingsWithoutForceStayAndEveryNamedForceIsReplaced) {
  TForce one(nullptr);
  TForce two(nullptr);
  std::vector<TLintFinding> findings = {At("Bases.cfg", 3, nullptr, "port"), At("Axis.cfg", 8, &one),
                                        At("Axis.cfg", 9, &two)};
  ReplaceForceFindings(findings, {"Axis.cfg", 0, 40, 40}, {&one, &two}, {});
  EXPECT_EQ(Places(findings), (std::vector<std::string>{"Bases.cfg:3 port"}));
}

}  // namespace
}  // namespace scenario
