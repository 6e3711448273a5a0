// vrkcheck's arguments, help and version. The loaders' edge cases on the fixture directories are
// proven by VrkCheckExpectedTest, which compares the whole JSON output and the exit status.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include <unistd.h>

#include "platform/Version.h"
#include "tools/vrkcheck/VrkCheck.h"

namespace vrkcheck {
namespace {

namespace fs = std::filesystem;

const std::string kFixtures = std::string(CORVALIS_TEST_DATA_DIR) + "/scenarios/";

class VrkCheckJsonTest : public ::testing::Test {
protected:
    VrkCheckJsonTest() {
        program = fs::temp_directory_path() / ("vrkcheck-json-" + std::to_string(::getpid()));
        fs::create_directories(program / "Data");
    }
    ~VrkCheckJsonTest() override {
        std::error_code error;
        fs::current_path(fs::temp_directory_path(), error);  // the load moves into the Data folder
        fs::remove_all(program, error);
    }
    // vrkcheck --json on a fixture directory; the exit status goes to `status`.
    std::string Json(const std::string& name, int* status = nullptr) {
        std::ostringstream out, err;
        const int result = vrkcheck::Run({"--json", kFixtures + name}, program.string(), out, err);
        if (status != nullptr) *status = result;
        EXPECT_EQ(err.str(), "");
        return out.str();
    }

    fs::path program;
};

TEST_F(VrkCheckJsonTest, AScenarioNeedsTheProgramsDataFolderOnlyToExist) {
    int status = 1;
    EXPECT_NE(Json("edge_scenario", &status), "");
    EXPECT_EQ(status, 0);
}

TEST_F(VrkCheckJsonTest, ArgumentProblemsNameTheArgument) {
    const std::string dir = kFixtures + "edge_scenario";
    const std::string missing = kFixtures + "no such directory";
    struct TCase {
        std::vector<std::string> Args;
        std::string FirstLine;
    };
    for (const TCase& c : std::vector<TCase>{
             {{}, "vrkcheck: DIR is required"},
             {{"--json"}, "vrkcheck: DIR is required"},
             {{dir, dir}, "vrkcheck: The following argument was not expected: " + dir},
             {{"--size", "0x10", dir}, "vrkcheck: --size: bad size \"0x10\": expected WIDTHxHEIGHT, each from 1 to 16384"},
             {{"--size", "10", dir}, "vrkcheck: --size: bad size \"10\": expected WIDTHxHEIGHT, each from 1 to 16384"},
             {{"--png"}, "vrkcheck: --png: 1 required FILE missing"},
             {{"--png", "", dir}, "vrkcheck: --png: a file name is needed"},
             {{"--frobnicate", dir}, "vrkcheck: The following argument was not expected: --frobnicate"},
             {{missing}, "vrkcheck: DIR: Directory does not exist: " + missing}}) {
        std::ostringstream out, err;
        EXPECT_EQ(vrkcheck::Run(c.Args, program.string(), out, err), 2) << c.FirstLine;
        EXPECT_EQ(err.str().substr(0, err.str().find('\n')), c.FirstLine);
        EXPECT_EQ(out.str(), "");
    }
}

TEST_F(VrkCheckJsonTest, HelpAndVersion) {
    std::ostringstream help, version, err;
    EXPECT_EQ(vrkcheck::Run({"--help"}, program.string(), help, err), 0);
    EXPECT_EQ(help.str().rfind("Loads a scenario or campaign directory", 0), 0u) << help.str();
    for (const char* option : {"DIR", "--json", "--png", "--size", "--version"})
        EXPECT_NE(help.str().find(option), std::string::npos) << option;
    EXPECT_EQ(vrkcheck::Run({"--version"}, program.string(), version, err), 0);
    EXPECT_EQ(version.str(), std::string("vrkcheck ") + CORVALIS_VERSION + "\n");
    EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace vrkcheck
