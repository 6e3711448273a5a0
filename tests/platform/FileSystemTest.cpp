// The local file system: names resolved ignoring case, reads, writes, replacing a file in one
// step (the new bytes or the old file, never a mixture), and the program's data folder.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/FileError.h"
#include "platform/LocalFileSystem.h"
#include "platform/ProgramFolder.h"
#include "platform/RegularFile.h"
#include "tests/support/FinishesWithin.h"
#include "tests/support/WriteTraps.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class FileReplaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        root = fs::temp_directory_path() / ("corvalis_fs_" + std::to_string(random()));
        fs::create_directories(root);
    }
    void TearDown() override {
        fs::current_path(savedCurrent);
        std::error_code ec;
        fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(root, ec);
    }
    std::string Put(const fs::path& at, const std::string& bytes) {
        std::ofstream(root / at, std::ios::binary) << bytes;
        return (root / at).string();
    }
    std::string At(const std::string& relative) const { return (root / relative).string(); }
    static std::string Read(const fs::path& at) {
        std::ifstream in(at, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    static std::size_t EntryCount(const fs::path& folder) {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }
    std::string FailureOf(FileSystem& files, const std::string& name, const std::string& bytes) {
        try {
            files.ReplaceBytes(name, bytes);
        } catch (const EFileError& error) {
            EXPECT_EQ(error.FileName(), name);
            return error.what();
        }
        return {};
    }
    fs::path root;
    fs::path savedCurrent = fs::current_path();
    LocalFileSystem files;
};

// Each component is resolved ignoring case, the exact spelling first; backslashes separate
// components too; a missing tail is kept as it is; relative names follow the current directory.
TEST_F(FileReplaceTest, ResolvesEachComponentIgnoringCaseAndNamesTheFileInErrors) {
    fs::create_directories(root / "Scen" / "Sub");
    Put("Scen/Sub/ScenarioInfo.cfg", "X");
    EXPECT_EQ(files.ResolveName(At("SCEN/sub/scenarioinfo.CFG")), At("Scen/Sub/ScenarioInfo.cfg"));
    EXPECT_EQ(files.ReadBytes(root.string() + "\\scen\\sub\\scenarioinfo.cfg"), "X");
    EXPECT_TRUE(files.DirectoryExists(At("sCeN/sUb")));
    EXPECT_FALSE(files.FileExists(At("scen/sub/ScenarioInfo.cf")) || files.FileExists(At("Scen")));
    Put("Scen/a.cfg", "lower");
    Put("Scen/A.cfg", "upper");
    EXPECT_EQ(files.ReadBytes(At("Scen/A.cfg")), "upper");
    EXPECT_EQ(files.ReadBytes(At("Scen/a.cfg")), "lower");
    EXPECT_EQ(files.ResolveName(At("scen/Missing/x.cfg")), At("Scen/Missing/x.cfg"));
    files.SetCurrentDirectory(At("scen"));
    EXPECT_EQ(fs::path(files.CurrentDirectory()), root / "Scen");
    EXPECT_EQ(files.ReadBytes("Sub/../SUB/scenarioINFO.cfg"), "X");
    EXPECT_THROW(files.SetCurrentDirectory(At("Nowhere")), EFileError);
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
}

// A name a scenario gives may be a FIFO, a device or a huge file: reading it is refused at once
// with the reason, naming the file as it was given.
TEST_F(FileReplaceTest, OnlyRegularFilesOfASaneSizeAreRead) {
    ASSERT_EQ(::mkfifo(At("Subs0.cfg").c_str(), 0600), 0);
    fs::resize_file(Put("huge.lyr", ""), kMaxReadFileBytes + 1);  // sparse: takes no room
    const struct { std::string name, reason; } cases[] = {
        {At("subs0.cfg"), "It is not a regular file."},
        {"/dev/zero", "It is not a regular file."},
        {At("huge.lyr"), "It is larger than 256 MB."},
    };
    for (const auto& c : cases) {
        const std::optional<std::string> result = corvalis::testing::FinishesWithin(std::chrono::seconds(5), [&] {
            try {
                return std::to_string(files.ReadBytes(c.name).size());
            } catch (const EFileError& e) {
                return e.FileName() + "|" + e.what();
            }
        });
        EXPECT_EQ(result, c.name + "|Cannot open file \"" + c.name + "\". " + c.reason);
    }
    // The limit itself is allowed.
    const std::string limit = Put("limit.cfg", std::string(2u << 20, 'x'));
    EXPECT_EQ(ReadRegularFile(limit, "", 2u << 20).size(), 2u << 20);
    EXPECT_THROW(ReadRegularFile(limit, "", (2u << 20) - 1), EFileError);
}

TEST_F(FileReplaceTest, WritesLinesWithCrLfReadsBytesUnchangedAgesAndRemoval) {
    const std::string name = At("AxisShips.cfg");
    files.WriteLines(name, {"NAME=Force H", std::string("\xE9\x00z", 3), ""});
    EXPECT_EQ(files.ReadBytes(name), std::string("NAME=Force H\r\n\xE9\x00z\r\n\r\n", 21));
    EXPECT_EQ(files.ReadLines(name), (TextLines{"NAME=Force H", std::string("\xE9\x00z", 3), ""}));
    // Replacing a file through another spelling writes the existing file.
    files.WriteLines(At("axisships.CFG"), {"x"});
    EXPECT_EQ(files.ReadBytes(name), "x\r\n");
    EXPECT_EQ(EntryCount(root), 1u);
    Put("new.md", "2");
    fs::last_write_time(name, fs::file_time_type::clock::now() - std::chrono::hours(1));
    const auto older = files.FileAge(At("AXISships.cfg")), newer = files.FileAge(At("new.md"));
    ASSERT_TRUE(older && newer);
    EXPECT_LT(*older, *newer);
    EXPECT_FALSE(files.FileAge(At("none")).has_value() || files.FileAge(root.string()).has_value());
    EXPECT_TRUE(files.RemoveFile(At("NEW.md")));
    EXPECT_FALSE(files.RemoveFile(At("new.md")));
}

TEST_F(FileReplaceTest, NewBytesTakeTheOldNameAndPermissionsLinksKeepTheirTarget) {
    const std::string name = Put(root / "AlliedShips.cfg", "old\n");
    fs::permissions(name, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    files.ReplaceBytes((root / "alliedships.CFG").string(), "new\r\nbytes\r\n");  // resolved like a read
    EXPECT_EQ(Read(name), "new\r\nbytes\r\n");
    EXPECT_EQ(fs::status(name).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(EntryCount(root), 1u);  // no temporary file left, no second spelling
    files.ReplaceBytes((root / "New.cfg").string(), "");
    EXPECT_EQ(fs::file_size(root / "New.cfg"), 0u);
    fs::create_directories(root / "real");
    const std::string target = Put(root / "real" / "AxisShips.cfg", "old");
    fs::create_symlink(target, root / "AxisShips.cfg");
    files.ReplaceBytes((root / "AxisShips.cfg").string(), "new");
    EXPECT_TRUE(fs::is_symlink(root / "AxisShips.cfg"));
    EXPECT_EQ(Read(target), "new");
}

TEST_F(FileReplaceTest, AReadOnlyFileStaysAsItWas) {
    const std::string name = Put(root / "AxisShips.cfg", "old");
    fs::permissions(name, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string message = FailureOf(files, name, "new");
    EXPECT_NE(message.find(name), std::string::npos) << message;
    EXPECT_NE(message.find("read-only"), std::string::npos) << message;
    EXPECT_EQ(Read(name), "old");
    EXPECT_EQ(EntryCount(root), 1u);
    // A directory of that name is not replaced either.
    fs::create_directories(root / "Dir.cfg");
    EXPECT_NE(FailureOf(files, (root / "Dir.cfg").string(), "x"), "");
}

TEST_F(FileReplaceTest, AFolderThatTakesNoNewFileHasItsFileWrittenInPlace) {
    const std::string name = Put(root / "AxisShips.cfg", "old bytes, longer than the new");
    const std::string readOnly = Put(root / "AlliedShips.cfg", "old");
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    corvalis::testing::ReadOnlyFolder locked(root);
    if (!locked.Active()) GTEST_SKIP() << "no way to make a read-only folder here";
    EXPECT_EQ(FailureOf(files, name, "new"), "");
    EXPECT_EQ(Read(name), "new");
    EXPECT_EQ(EntryCount(root), 2u);  // no temporary file
    // A file that may not be written and a file that is not there still fail.
    const std::string refused = FailureOf(files, readOnly, "new");
    EXPECT_NE(refused.find("read-only"), std::string::npos) << refused;
    EXPECT_EQ(Read(readOnly), "old");
    EXPECT_NE(FailureOf(files, (root / "New.cfg").string(), "new"), "");
    EXPECT_EQ(EntryCount(root), 2u);
}

TEST_F(FileReplaceTest, EveryHardLinkSeesTheNewBytes) {
    const std::string name = Put(root / "AxisShips.cfg", "old");
    fs::create_directories(root / "backup");
    std::error_code ec;
    fs::create_hard_link(name, root / "backup" / "AxisShips.cfg", ec);
    if (ec) GTEST_SKIP() << "no hard links here: " << ec.message();
    files.ReplaceBytes(name, "new\r\n");
    EXPECT_EQ(Read(root / "backup" / "AxisShips.cfg"), "new\r\n");
    EXPECT_EQ(fs::hard_link_count(name), 2u);
    EXPECT_EQ(EntryCount(root), 2u);  // the file and the folder, no temporary file
}

// A full disk keeps the old file; written in place (another hard link shares it) the file holds
// the start of the new bytes, as far as the disk took them, in both names.
TEST_F(FileReplaceTest, AFullDiskKeepsTheOldFileOrLeavesWhatWasWrittenInPlace) {
    const fs::path small = root / "small";
    corvalis::testing::SmallFileSystem disk(small, 64 * 1024);
    if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small file system here";
    const std::string old(40 * 1024, 'o');
    const std::string name = Put(small / "AxisShips.cfg", old);
    EXPECT_NE(FailureOf(files, name, std::string(40 * 1024, 'n')).find("No space left on device"), std::string::npos);
    EXPECT_EQ(Read(name), old);
    EXPECT_EQ(EntryCount(small), 1u);
    std::error_code ec;
    fs::create_hard_link(name, small / "Link.cfg", ec);
    ASSERT_FALSE(ec) << ec.message();
    const std::string message = FailureOf(files, name, std::string(100 * 1024, 'n'));
    EXPECT_NE(message.find(name), std::string::npos) << message;
    const std::string left = Read(name);
    EXPECT_LT(left.size(), 100u * 1024);
    EXPECT_EQ(left, std::string(left.size(), 'n'));
    EXPECT_EQ(Read(small / "Link.cfg"), left);
}

// The data folder: beside the program in a build tree or an unpacked copy, in ../share/corvalis
// beside bin/ when installed; the program's own folder when neither is there.
TEST_F(FileReplaceTest, ProgramDataFolderBesideTheProgramComesFirstThenTheInstalledPlace) {
    const fs::path build = root / "build", prefix = root / "usr", bare = root / "bare";
    for (const fs::path& folder : {build / "Data", prefix / "bin", prefix / "share/corvalis/Data", bare})
        fs::create_directories(folder);
    for (const auto& [programDir, expected] : std::vector<std::pair<fs::path, fs::path>>{
             {build, build}, {prefix / "bin", prefix / "share/corvalis"}, {bare, bare}, {"", ""}})
        EXPECT_EQ(ProgramDataFolder(programDir.string()), expected.string()) << programDir;
    EXPECT_TRUE(fs::exists(fs::path(ExecutableFolder()) / "platform_tests"));
}

}  // namespace
}  // namespace platform
