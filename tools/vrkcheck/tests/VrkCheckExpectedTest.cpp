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

std::string Expected(const std::string& name) {
    std::ifstream file(kSource + "/tools/vrkcheck/tests/expected/" + name + ".json", std::ios::binary);
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
                                             {"windows_campaign", fixtures + "windows_campaign", 0},
                                             {"not_a_scenario", kSource + "/tests/data", 2},
                                             {"Crete1941", kSource + "/data/Scenarios/Crete1941", 0},
                                             {"Malta1941", kSource + "/data/Scenarios/Malta1941", 0}}) {
        std::ostringstream out, err;
        // The project's data folder plays the program folder: its Data holds the world map.
        EXPECT_EQ(vrkcheck::Run({"--json", c.Dir}, kSource + "/data", out, err), c.Status) << c.Name;
        EXPECT_EQ(out.str(), Expected(c.Name)) << c.Name;
        EXPECT_EQ(err.str(), "") << c.Name;
    }
}

}  // namespace
}  // namespace vrkcheck
