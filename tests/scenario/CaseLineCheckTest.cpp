// The check of an edited case line: what the case-line rules would report is the reason a line
// is refused; lines they read without a report, and lines they do not read, are accepted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeLayer.h"
#include "scenario/Base.h"
#include "scenario/CaseLineCheck.h"
#include "scenario/ScenarioLayers.h"

namespace scenario {
namespace {

class CaseLineCheckTest : public ::testing::Test {
 protected:
  CaseLineCheckTest() {
    TBase* base = LayerByNameOrNew(globe, kBasesLayer).ObjectSource()->NewObject<TBase>();
    base->SetTitle("Alexandria");
    bases.push_back(base);
  }
  globe::TCustomVoduz4 globe;
  std::vector<TBase*> bases;
};

TEST_F(CaseLineCheckTest, LinesTheRulesReadCleanlyOrDoNotReadAreAccepted) {
  for (const char* line : {"WP=3700N 02400E", "TP=3545S 02350W", "LL=3740N 02330E", "LOCATION=Alexandria",
                           "Target=Alexandria", "Origin=Alexandria", "CWPI=2", "SPEED=18", "DELAY=6",
                           "FORMATIONHEADING=anything", "RD=x", "CASE1", "Some note", ""}) {
    EXPECT_EQ(CaseLineRefusal(line, 2, bases), "") << line;
  }
}

TEST_F(CaseLineCheckTest, RefusedLinesGiveTheRulesOwnReason) {
  struct Refused {
    const char* line;
    const char* reason;
  };
  const Refused cases[] = {
      {"TP=north", "Lat/Long conversion error"},
      {"LL=ab40N 02330E", "Errror setting LL ab40N 02330E case 2"},
      {"LOCATION=Atlantis", "Cannot find location \"Atlantis\" Case 2"},
      {"Target=Atlantis", "Cannot find base Atlantis!"},
      {"Origin=alexandria", "Cannot find base alexandria!"},  // names are exact
      {"CWPI=one", "'one' is not a valid integer value"},
      {"SPEED=fast", "'fast' is not a valid integer value"},
  };
  for (const Refused& c : cases) EXPECT_EQ(CaseLineRefusal(c.line, 2, bases), c.reason) << c.line;
}

TEST_F(CaseLineCheckTest, PositionsTheReaderTakesButThatLieOffTheGlobeAreRefused) {
  for (const char* line : {"WP=9999X 99999Q", "WP=3760N 02400E", "TP=3700N 02400X", "LL=3700E 02400N",
                           "WP=9100N 00000E", "WP=3700N 18100E", "WP=370000N 0240060E", "WP=37a0N 02400E",
                           "WP=3700N  02400E", "LL=3700N"}) {
    const std::string reason = CaseLineRefusal(line, 1, bases);
    EXPECT_NE(reason, "") << line;
  }
  EXPECT_EQ(CaseLineRefusal("WP=9999X 99999Q", 1, bases).rfind("Not a position on the globe: \"9999X 99999Q\"", 0), 0u);
  // Edges and the reader's other spellings.
  for (const char* line : {"WP=9000N 18000W", "WP=0000S 00000E", "WP=3700N 2400E", "TP=370030N 0240059E",
                           "TP=370030S 240059W", "LL="}) {
    EXPECT_EQ(CaseLineRefusal(line, 1, bases), "") << line;
  }
}

TEST_F(CaseLineCheckTest, ALineReadUnderAnotherLabelIsRefused) {
  // Any line holding "LL" is read as a start position: the label must then be "LL".
  EXPECT_NE(CaseLineRefusal("WP=3700N 02400E LL", 1, bases), "");
  EXPECT_NE(CaseLineRefusal("XWP=3700N 02400E", 1, bases), "");
}

}  // namespace
}  // namespace scenario
