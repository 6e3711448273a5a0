// vrkcheck --json on every fixture directory and demo, compared byte for byte with the output
// kept in tests/expected (first written by the program's earlier JSON writer); "@SOURCE@" there
// stands for the source folder, which the messages name.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/vrkcheck/VrkCheck.h"

namespace vrkcheck {
namespace {

namespace fs = std::filesystem;

const std::string kSource = CORVALIS_SOURCE_DIR;

std::string Expected(const std::string& fileName) {
    std::ifstream file(kSource + "/tools/vrkcheck/tests/expected/" + fileName, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    for (auto at = text.find("@SOURCE@"); at != std::string::npos; at = text.find("@SOURCE@", at))
        text.replace(at, 8, kSource);
    return text;
}

TEST(VrkCheckExpectedTest, JsonIsTheKeptOutputOnEveryFixture) {
    struct TCase { std::string Name, Dir; int Status; };
    const std::string fixtures = kSource + "/tests/data/scenarios/";
    for (const TCase& c : std::vector<TCase>{{"edge_campaign", fixtures + "edge_campaign", 1},
                                             {"edge_scenario", fixtures + "edge_scenario", 0},
                                             {"empty_info", fixtures + "empty_info", 1},
                                             {"sahara_picture", fixtures + "sahara_picture", 0},
                                             {"small_scenario", fixtures + "small_scenario", 0},
                                             {"timeline_scenario", fixtures + "timeline_scenario", 0},
                                             {"windows_campaign", fixtures + "windows_campaign", 0},
                                             {"not_a_scenario", kSource + "/tests/data", 1},
                                             {"Crete1941", kSource + "/data/Scenarios/Crete1941", 0},
                                             {"Malta1941", kSource + "/data/Scenarios/Malta1941", 0}}) {
        std::ostringstream out, err;
        // The project's data folder plays the program folder: its Data holds the world map.
        EXPECT_EQ(vrkcheck::Run({"--json", c.Dir}, kSource + "/data", out, err), c.Status) << c.Name;
        EXPECT_EQ(out.str(), Expected(c.Name + ".json")) << c.Name;
        EXPECT_EQ(err.str(), "") << c.Name;
    }
}

// The dry run of the timeline fixture (its crossings are worked out by hand in
// tests/scenario/TimelineTest.cpp) and of the Crete demo, as text and JSON, and positions at a time.
TEST(VrkCheckExpectedTest, TimelineIsTheKeptOutput) {
    const std::string fixture = kSource + "/tests/data/scenarios/timeline_scenario";
    const std::string crete = kSource + "/data/Scenarios/Crete1941";
    struct TCase { std::vector<std::string> Args; std::string File; int Status; };
    for (const TCase& c : std::vector<TCase>{{{"--timeline", fixture}, "timeline_scenario.timeline.txt", 0},
                                             {{"--timeline", "--json", fixture}, "timeline_scenario.timeline.json", 0},
                                             {{"--at", "211200", crete}, "Crete1941.at.txt", 0},
                                             {{"--timeline", crete}, "Crete1941.timeline.txt", 0},
                                             {{"--timeline", kSource + "/tests/data"}, "not_a_scenario.timeline.txt", 2}}) {
        std::ostringstream out, err;
        EXPECT_EQ(vrkcheck::Run(c.Args, kSource + "/data", out, err), c.Status) << c.File;
        EXPECT_EQ(out.str(), Expected(c.File)) << c.File;
        EXPECT_EQ(err.str(), "") << c.File;
    }
}

}  // namespace
}  // namespace vrkcheck
