#include "scenario/Missions.h"

#include <gtest/gtest.h>

#include "platform/testing/ScriptedDialogs.h"
#include "scenario/RandomGenerator.h"

using platform::testing::ScriptedDialogs;
using namespace scenario;

TEST(MissionTypes, KeywordsAreExactAndCaseSensitive)
{
    ScriptedDialogs dialogs;
    EXPECT_EQ(MissionTypeFromKeyword("Bombard", dialogs), TMissionType::mtBombard);
    EXPECT_EQ(static_cast<int>(MissionTypeFromKeyword("Bombard", dialogs)), 3);
    EXPECT_EQ(MissionTypeFromKeyword("HvyTacTransport", dialogs), TMissionType::mtHvyTacTransport);
    EXPECT_EQ(MissionTypeFromKeyword("None", dialogs), TMissionType::mtNone);
    EXPECT_TRUE(dialogs.Reports().empty());

    MissionTypeFromKeyword("bombard", dialogs);
    MissionTypeFromKeyword("Bombard ", dialogs);
    EXPECT_EQ(dialogs.Reports(), (std::vector<std::string>{"Illegal mission type: bombard!",
                                                           "Illegal mission type: Bombard !"}));
}

TEST(MissionTypes, EveryKeywordReadsBackToItsType)
{
    ScriptedDialogs dialogs;
    for (int i = 0; i < kMissionTypeCount; ++i) {
        auto type = static_cast<TMissionType>(i);
        EXPECT_EQ(MissionTypeFromKeyword(MissionTypeKeyword(type), dialogs), type) << i;
    }
    EXPECT_TRUE(dialogs.Reports().empty());
}

TEST(MissionTypes, DisplayNamesAndIllegalValues)
{
    ScriptedDialogs dialogs;
    EXPECT_EQ(MissionTypeName(16, dialogs), "None");
    EXPECT_EQ(MissionTypeName(1, dialogs), "Intercept transports");
    EXPECT_EQ(MissionTypeName(8, dialogs), "Slow tactical transport");
    EXPECT_TRUE(dialogs.Reports().empty());

    EXPECT_EQ(MissionTypeName(17, dialogs, "kept"), "kept");
    EXPECT_EQ(MissionTypeName(-1, dialogs, "kept"), "kept");
    EXPECT_EQ(dialogs.Reports(),
              (std::vector<std::string>{"Illegal mission type!", "Illegal mission type!"}));
}

// Seed sequence 1, 134775814, 3698175007, ... worked out by hand from the recurrence.
TEST(RandomGenerator, DrawsFollowTheLinearCongruentialSequenceFromZero)
{
    TRandomGenerator random;
    EXPECT_EQ(random.Random(100), 0);   // seed 1
    EXPECT_EQ(random.Random(100), 3);   // seed 134775814
    EXPECT_EQ(random.Random(100), 86);  // seed 3698175007
    EXPECT_EQ(random.Seed(), 3698175007u);
}

TEST(RandomGenerator, BoundsOfTheCaseChoice)
{
    TRandomGenerator random;
    for (int i = 0; i < 1000; ++i) {
        EXPECT_EQ(random.Random(1), 0);
        EXPECT_EQ(random.Random(0), 0);
        const int two = random.Random(2);
        EXPECT_TRUE(two == 0 || two == 1);
        const int hundred = random.Random(100);
        EXPECT_GE(hundred, 0);
        EXPECT_LT(hundred, 100);
    }
    // A negative bound still steps the seed and stays within n..0.
    const std::uint32_t before = random.Seed();
    const int negative = random.Random(-1);
    EXPECT_NE(random.Seed(), before);
    EXPECT_GE(negative, -1);
    EXPECT_LE(negative, 0);
}
