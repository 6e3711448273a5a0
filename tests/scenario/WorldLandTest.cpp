// The default world map's land (Natural Earth 1:10m) against places whose answer is known.

#include <gtest/gtest.h>

#include <memory>

#include "globe/data/GlobeUnits.h"
#include "globe/data/LandIndex.h"
#include "scenario/LintLand.h"

namespace scenario {
namespace {

constexpr int32_t kMile = globe::GlobeUnitsPerMinute;

globe::TGeoPoint At(double lat, double lon) {
  return globe::TGeoPoint(static_cast<int32_t>(lon * globe::GlobeUnitsPerDegree),
                          static_cast<int32_t>(lat * globe::GlobeUnitsPerDegree));
}

class WorldLandTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    land = LandFromFile(std::string(CORVALIS_SOURCE_DIR) + "/data/Data/Land.lyr").release();
  }
  static void TearDownTestSuite() {
    delete land;
    land = nullptr;
  }
  void SetUp() override { ASSERT_NE(land, nullptr); }
  static globe::TLandIndex* land;
};
globe::TLandIndex* WorldLandTest::land = nullptr;

TEST_F(WorldLandTest, PointsOnLandAndAtSea) {
  // The Libyan desert, far from any coast.
  EXPECT_TRUE(land->IsLand(At(27, 25)));
  EXPECT_EQ(land->CoastDistance(At(27, 25), 200 * kMile), 200 * kMile);
  // The sea south of Crete, about 26 miles off its south coast.
  EXPECT_FALSE(land->IsLand(At(34.5, 25)));
  EXPECT_NEAR(land->CoastDistance(At(34.5, 25), 200 * kMile), 26 * kMile, kMile);
  // Cairo: on land some 60 miles from the Nile delta's coast.
  EXPECT_TRUE(land->IsLand(At(30.05, 31.2333)));
  EXPECT_GT(land->CoastDistance(At(30.05, 31.2333), 200 * kMile), 50 * kMile);
  // The interior of Antarctica and the open sea at the north pole.
  EXPECT_TRUE(land->IsLand(At(-89, 0)));
  EXPECT_FALSE(land->IsLand(At(89.9, 0)));
}

TEST_F(WorldLandTest, LegsAcrossLandAndThroughStraits) {
  struct Leg {
    const char* what;
    double lat1, lon1, lat2, lon2;
    bool crosses;
  };
  for (const Leg& leg : {
           Leg{"across Crete", 34.8, 24.8, 35.8, 25.2, true},
           Leg{"south of Crete", 34.5, 23, 34.5, 26, false},
           Leg{"through the Strait of Messina", 38.28, 15.66, 38.14, 15.59, false},
           Leg{"over Calabria beside the strait", 38.26, 15.683, 38.15, 15.60, true},
           Leg{"over Wrangel Island and the 180-degree meridian", 71.2, 178, 71.2, -177, true},
           Leg{"over the 180-degree meridian at sea", -30, 179, -30, -179, false},
           Leg{"over the north pole", 84, -30, 84, 150, false},
           Leg{"over the south pole", -70, 0, -70, 180, true},
       }) {
    EXPECT_EQ(land->LegCrossesLand(At(leg.lat1, leg.lon1), At(leg.lat2, leg.lon2), 0, 0), leg.crosses) << leg.what;
  }
}

TEST(LintLandTest, MissingOrDamagedLandFileGivesNoLand) {
  EXPECT_EQ(LandFromFile("/nonexistent/Land.lyr"), nullptr);
  EXPECT_EQ(LandFromFile(std::string(CORVALIS_SOURCE_DIR) + "/data/Data/README.md"), nullptr);
}

}  // namespace
}  // namespace scenario
