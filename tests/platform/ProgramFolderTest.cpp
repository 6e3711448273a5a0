// The program folder: beside the program in a build tree or an unpacked copy, in
// ../share/corvalis beside bin/ when installed.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ProgramFolder.h"
#include "tests/globe_data/TempFile.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

TEST(ProgramFolderTest, DataBesideTheProgramComesFirstThenTheInstalledPlace) {
    globe::testing::TempDir root;
    const fs::path build = root.Path / "build", prefix = root.Path / "usr", bare = root.Path / "bare";
    fs::create_directories(build / "Data");
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "share/corvalis/Data");
    fs::create_directories(bare);
    struct TCase {
        fs::path ProgramDir, Expected;
    };
    for (const TCase& c : std::vector<TCase>{{build, build},
                                             {prefix / "bin", prefix / "share/corvalis"},
                                             {bare, bare},  // nothing found: the program's folder
                                             {"", ""}}) {
        EXPECT_EQ(ProgramDataFolder(c.ProgramDir.string()), c.Expected.string()) << c.ProgramDir;
    }
}

TEST(ProgramFolderTest, ExecutableFolderIsTheTestProgramsFolder) {
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(fs::exists(fs::path(folder) / "platform_tests"));
}

}  // namespace
}  // namespace platform
