// The positions of a case as the checks read them: line indexes, bases, the start, the current
// waypoint and the lines that name a base not loaded or a position that cannot be read.

#include "scenario/CaseRoute.h"

#include <gtest/gtest.h>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/GlobeUnits.h"
#include "scenario/Base.h"
#include "scenario/ScenarioLayers.h"

namespace scenario {
namespace {

constexpr std::int32_t kDegree = globe::GlobeUnitsPerDegree;

class CaseRouteTest : public ::testing::Test {
protected:
    CaseRouteTest() {
        TBase* base = LayerByNameOrNew(globe, kBasesLayer).ObjectSource()->NewObject<TBase>();
        base->SetTitle("Alexandria");
        base->Location = globe::TGeoPoint(30 * kDegree, 31 * kDegree);
        bases.push_back(base);
    }
    globe::TCustomVoduz4 globe;
    std::vector<TBase*> bases;
};

TEST_F(CaseRouteTest, PositionsKeepTheirLinesAndBases) {
    const platform::TextLines lines{"CASE1",         "LL=3400N 02700E",  "LOCATION=Alexandria", "CWPI=1",
                                    "WP=3300N 02800E", "Origin=Alexandria", "TP=3100N 02900E",   "Target=Atlantis",
                                    "WP=33X0N 02800E", "LOCATION=",         "CWPI=x"};
    const TCaseRoute route = ReadCaseRoute(lines, 1, lines.size(), bases);
    ASSERT_TRUE(route.Start.has_value());  // the later start line wins
    EXPECT_EQ(route.Start->Line, 2u);
    EXPECT_TRUE(route.Start->AtBase);
    EXPECT_EQ(route.Start->Point, bases[0]->Location);
    ASSERT_EQ(route.Waypoints.size(), 2u);
    EXPECT_EQ(route.Waypoints[0].Line, 4u);
    EXPECT_FALSE(route.Waypoints[0].AtBase);
    EXPECT_EQ(route.Waypoints[0].Point, globe::TGeoPoint(28 * kDegree, 33 * kDegree));
    EXPECT_TRUE(route.Waypoints[1].AtBase);
    ASSERT_EQ(route.Targets.size(), 1u);
    EXPECT_EQ(route.Targets[0].Line, 6u);
    EXPECT_EQ(route.CWPI, 0);  // "x" reads as 0
    EXPECT_EQ(route.CWPILine, 10u);
    ASSERT_EQ(route.UnknownBases.size(), 1u);
    EXPECT_EQ(route.UnknownBases[0].Line, 7u);
    EXPECT_EQ(route.UnknownBases[0].Text, "Atlantis");
    ASSERT_EQ(route.BadPositions.size(), 1u);
    EXPECT_EQ(route.BadPositions[0].Line, 8u);
    // A range past the lines stops at their end.
    EXPECT_EQ(ReadCaseRoute(lines, 4, 100, bases).Waypoints.size(), 2u);
}

}  // namespace
}  // namespace scenario
