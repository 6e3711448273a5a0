// Replacing a file in one step: the new bytes or the old file, never a mixture.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/FileError.h"
#include "platform/LocalFileSystem.h"
#include "platform/testing/MemoryFileSystem.h"
#include "tests/support/WriteTraps.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class FileReplaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        root = fs::temp_directory_path() / ("corvalis_replace_" + std::to_string(random()));
        fs::create_directories(root);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(root, ec);
    }
    std::string Put(const fs::path& at, const std::string& bytes) {
        std::ofstream(at, std::ios::binary) << bytes;
        return at.string();
    }
    static std::string Read(const fs::path& at) {
        std::ifstream in(at, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    static std::size_t EntryCount(const fs::path& folder) {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }
    // The message of the EFileError that replacing throws, or "" when it does not.
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
    LocalFileSystem files;
};

TEST_F(FileReplaceTest, NewBytesTakeTheOldNameAndPermissions) {
    const std::string name = Put(root / "AlliedShips.cfg", "old\n");
    fs::permissions(name, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    files.ReplaceBytes((root / "alliedships.CFG").string(), "new\r\nbytes\r\n");  // resolved like a read
    EXPECT_EQ(Read(name), "new\r\nbytes\r\n");
    EXPECT_EQ(fs::status(name).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(EntryCount(root), 1u);  // no temporary file left, no second spelling

    files.ReplaceBytes((root / "New.cfg").string(), "");
    EXPECT_TRUE(fs::is_regular_file(root / "New.cfg"));
    EXPECT_EQ(fs::file_size(root / "New.cfg"), 0u);
}

TEST_F(FileReplaceTest, ALinkKeepsPointingAtTheReplacedFile) {
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
    EXPECT_EQ(Read(name), "new\r\n");
    EXPECT_EQ(Read(root / "backup" / "AxisShips.cfg"), "new\r\n");
    EXPECT_EQ(fs::hard_link_count(name), 2u);
    EXPECT_EQ(EntryCount(root), 2u);  // the file and the folder, no temporary file
}

TEST_F(FileReplaceTest, AFailedInPlaceWriteNamesTheFileAndLeavesWhatWasWritten) {
    const fs::path small = root / "small";
    corvalis::testing::SmallFileSystem disk(small, 64 * 1024);
    if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small file system here";
    const std::string name = Put(small / "AxisShips.cfg", std::string(16 * 1024, 'o'));
    std::error_code ec;
    fs::create_hard_link(name, small / "Link.cfg", ec);
    ASSERT_FALSE(ec) << ec.message();
    const std::string message = FailureOf(files, name, std::string(100 * 1024, 'n'));
    EXPECT_NE(message.find(name), std::string::npos) << message;
    EXPECT_NE(message.find("No space left on device"), std::string::npos) << message;
    // What is left: the start of the new bytes, as far as the disk took them, in both names.
    const std::string left = Read(name);
    EXPECT_LT(left.size(), 100u * 1024);
    EXPECT_EQ(left, std::string(left.size(), 'n'));
    EXPECT_EQ(Read(small / "Link.cfg"), left);
}

TEST_F(FileReplaceTest, AFullDiskKeepsTheOldFile) {
    const fs::path small = root / "small";
    corvalis::testing::SmallFileSystem disk(small, 64 * 1024);
    if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small file system here";
    const std::string old(40 * 1024, 'o');
    const std::string name = Put(small / "AxisShips.cfg", old);
    ASSERT_EQ(Read(name), old);
    const std::string message = FailureOf(files, name, std::string(40 * 1024, 'n'));
    EXPECT_NE(message.find("No space left on device"), std::string::npos) << message;
    EXPECT_EQ(Read(name), old);
    EXPECT_EQ(EntryCount(small), 1u);
}

TEST(MemoryFileReplaceTest, ReadOnlyFilesFoldersAndAFullDiskRefuse) {
    testing::MemoryFileSystem files;
    files.AddFile("/scen/AxisShips.cfg", "old");
    files.ReplaceBytes("/SCEN/axisships.cfg", "new");
    EXPECT_EQ(files.FileBytes("/scen/AxisShips.cfg"), "new");

    files.SetReadOnly("/scen/AxisShips.cfg");
    EXPECT_THROW(files.ReplaceBytes("/scen/AxisShips.cfg", "x"), EFileError);
    files.SetReadOnly("/scen/AxisShips.cfg", false);

    files.SetReadOnly("/scen");
    EXPECT_THROW(files.ReplaceBytes("/scen/Other.cfg", "x"), EFileError);
    EXPECT_THROW(files.WriteBytes("/scen/Other.cfg", "x"), EFileError);
    files.ReplaceBytes("/scen/AxisShips.cfg", "in place");  // an existing file is still writable
    EXPECT_EQ(files.FileBytes("/scen/AxisShips.cfg"), "in place");
    files.SetReadOnly("/scen", false);

    files.SetFreeSpace(3);
    EXPECT_THROW(files.ReplaceBytes("/scen/AxisShips.cfg", "four"), EFileError);
    EXPECT_EQ(files.FileBytes("/scen/AxisShips.cfg"), "in place");
    files.ReplaceBytes("/scen/AxisShips.cfg", "two");
    EXPECT_EQ(files.FileBytes("/scen/AxisShips.cfg"), "two");
}

}  // namespace
}  // namespace platform
