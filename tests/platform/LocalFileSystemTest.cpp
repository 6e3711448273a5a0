#include <filesystem>
#include <fstream>
#include <random>

#include <gtest/gtest.h>

#include "platform/FileError.h"
#include "platform/LocalFileSystem.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class LocalFileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        root = fs::temp_directory_path() / ("corvalis_fs_" + std::to_string(random()));
        fs::create_directories(root / "Scen" / "Sub");
        savedCurrent = fs::current_path();
    }
    void TearDown() override {
        fs::current_path(savedCurrent);
        std::error_code ec;
        fs::permissions(root / "Scen" / "locked.cfg", fs::perms::owner_all, ec);
        fs::remove_all(root, ec);
    }
    void Put(const fs::path& relative, const std::string& bytes) {
        std::ofstream(root / relative, std::ios::binary) << bytes;
    }
    std::string At(const std::string& relative) const { return (root / relative).string(); }

    fs::path root;
    fs::path savedCurrent;
    LocalFileSystem files;
};

TEST_F(LocalFileSystemTest, ResolvesEachComponentIgnoringCase) {
    Put("Scen/Sub/ScenarioInfo.cfg", "X");
    EXPECT_TRUE(files.FileExists(At("scen/SUB/Scenarioinfo.cfg")));
    EXPECT_EQ(files.ResolveName(At("SCEN/sub/scenarioinfo.CFG")), At("Scen/Sub/ScenarioInfo.cfg"));
    EXPECT_EQ(files.ReadBytes(At("scen/sub/scenarioinfo.cfg")), "X");
    EXPECT_TRUE(files.DirectoryExists(At("sCeN/sUb")));
    EXPECT_FALSE(files.FileExists(At("scen/sub/ScenarioInfo.cf")));
}

TEST_F(LocalFileSystemTest, PrefersTheExactSpellingAndKeepsMissingTails) {
    Put("Scen/a.cfg", "lower");
    Put("Scen/A.cfg", "upper");
    EXPECT_EQ(files.ReadBytes(At("Scen/A.cfg")), "upper");
    EXPECT_EQ(files.ReadBytes(At("Scen/a.cfg")), "lower");
    EXPECT_EQ(files.ResolveName(At("scen/Missing/x.cfg")), At("Scen/Missing/x.cfg"));
}

TEST_F(LocalFileSystemTest, BackslashesSeparateComponents) {
    Put("Scen/Sub/Bases.cfg", "B");
    EXPECT_EQ(files.ReadBytes(root.string() + "\\scen\\sub\\bases.cfg"), "B");
}

TEST_F(LocalFileSystemTest, RelativeNamesFollowTheCurrentDirectory) {
    Put("Scen/Subs0.cfg", "Z");
    files.SetCurrentDirectory(At("scen"));
    EXPECT_EQ(fs::path(files.CurrentDirectory()), root / "Scen");
    EXPECT_TRUE(files.FileExists("SUBS0.cfg"));
    EXPECT_EQ(files.ReadBytes("Sub/../subs0.cfg"), "Z");
    EXPECT_THROW(files.SetCurrentDirectory(At("Nowhere")), EFileError);
}

TEST_F(LocalFileSystemTest, WritesLinesWithCrLfAndReadsBytesUnchanged) {
    const std::string name = At("Scen/AxisShips.cfg");
    files.WriteLines(name, {"NAME=Force H", std::string("\xE9\x00z", 3), ""});
    EXPECT_EQ(files.ReadBytes(name), std::string("NAME=Force H\r\n\xE9\x00z\r\n\r\n", 21));
    EXPECT_EQ(files.ReadLines(name), (TextLines{"NAME=Force H", std::string("\xE9\x00z", 3), ""}));
    // Replacing a file through another spelling writes the existing file.
    files.WriteLines(At("scen/axisships.CFG"), {"x"});
    EXPECT_EQ(files.ReadBytes(name), "x\r\n");
    EXPECT_FALSE(fs::exists(root / "scen"));
}

TEST_F(LocalFileSystemTest, ErrorsNameTheFile) {
    const std::string missing = At("Scen/none.cfg");
    try {
        files.ReadBytes(missing);
        FAIL() << "no error";
    } catch (const EFileError& e) {
        EXPECT_EQ(e.FileName(), missing);
        EXPECT_NE(std::string(e.what()).find(missing), std::string::npos);
    }
    EXPECT_THROW(files.ReadBytes(At("Scen")), EFileError);
    EXPECT_THROW(files.WriteBytes(At("Scen/NoDir/x.cfg"), "x"), EFileError);
    EXPECT_FALSE(files.FileExists(At("Scen")));
    EXPECT_FALSE(files.DirectoryExists(missing));
}

TEST_F(LocalFileSystemTest, FileAgesAndRemoval) {
    Put("Scen/old.lyr", "1");
    Put("Scen/new.md", "2");
    fs::last_write_time(root / "Scen/old.lyr", fs::file_time_type::clock::now() - std::chrono::hours(1));
    auto older = files.FileAge(At("scen/OLD.lyr"));
    auto newer = files.FileAge(At("Scen/new.md"));
    ASSERT_TRUE(older && newer);
    EXPECT_LT(*older, *newer);
    EXPECT_FALSE(files.FileAge(At("Scen/none")).has_value());
    EXPECT_FALSE(files.FileAge(At("Scen")).has_value());
    EXPECT_TRUE(files.RemoveFile(At("scen/new.MD")));
    EXPECT_FALSE(files.RemoveFile(At("Scen/new.md")));
}

}  // namespace
}  // namespace platform
