// The local file system: names resolved ignoring case, reads, writes, replacing a file in one
// step (the new bytes or the old file, never a mixture), and the program's data folder.
#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileError.h"
#include "platform/FolderCopy.h"
#include "platform/LocalFileSystem.h"
#include "platform/ProgramFolder.h"
#include "platform/RegularFile.h"
#include "tests/support/FinishesWithin.h"
#include "tests/support/ThrownMessage.h"
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

// A full disk keeps the old file, replaced or written in place (another hard link shares it):
// in place the new size is reserved before any byte is written.
TEST_F(FileReplaceTest, AFullDiskKeepsTheOldFileEvenWrittenInPlace) {
    const fs::path small = root / "small";
    corvalis::testing::SmallFileSystem disk(small, 64 * 1024);
    if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small file system here";
    const std::string old(40 * 1024, 'o');
    const std::string name = Put(small / "AxisShips.cfg", old);
    EXPECT_NE(FailureOf(files, name, std::string(40 * 1024, 'n')).find("No space left on device"), std::string::npos);
    EXPECT_TRUE(Read(name) == old);
    EXPECT_EQ(EntryCount(small), 1u);
    std::error_code ec;
    fs::create_hard_link(name, small / "Link.cfg", ec);
    ASSERT_FALSE(ec) << ec.message();
    const std::string message = FailureOf(files, name, std::string(100 * 1024, 'n'));
    EXPECT_NE(message.find(name), std::string::npos) << message;
    EXPECT_NE(message.find("No space left on device. The file was not changed."), std::string::npos) << message;
    EXPECT_TRUE(Read(name) == old && Read(small / "Link.cfg") == old);
    // Bytes that fit are written in place, the file cut to their length.
    files.ReplaceBytes(name, "new");
    EXPECT_EQ(Read(small / "Link.cfg"), "new");
}

// The new file keeps the old one's extended attributes (user attributes; access control lists
// are attributes too) where the file system keeps them.
TEST_F(FileReplaceTest, ExtendedAttributesAreKept) {
    const std::string name = Put(root / "AxisShips.cfg", "old");
    const std::string value = "designer's note";
    if (::setxattr(name.c_str(), "user.corvalis.note", value.data(), value.size(), 0) != 0)
        GTEST_SKIP() << "no user attributes here: " << std::strerror(errno);
    files.ReplaceBytes(name, "new");
    EXPECT_EQ(Read(name), "new");
    std::string kept(64, '\0');
    const ssize_t size = ::getxattr(name.c_str(), "user.corvalis.note", kept.data(), kept.size());
    ASSERT_GE(size, 0) << std::strerror(errno);
    kept.resize(static_cast<std::size_t>(size));
    EXPECT_EQ(kept, value);
    EXPECT_EQ(EntryCount(root), 1u);
}

// A symbolic link that leads nowhere is reported and stays as it was, not replaced by a file.
TEST_F(FileReplaceTest, ADanglingOrLoopingLinkIsReportedAndKept) {
    fs::create_symlink(root / "missing" / "AxisShips.cfg", root / "Dangling.cfg");
    fs::create_symlink(root / "Loop2.cfg", root / "Loop1.cfg");
    fs::create_symlink(root / "Loop1.cfg", root / "Loop2.cfg");
    for (const auto& [link, reason] : std::vector<std::pair<std::string, std::string>>{
             {"Dangling.cfg", "a file that does not exist"}, {"Loop1.cfg", "loop"}}) {
        const std::string message = FailureOf(files, At(link), "new");
        EXPECT_NE(message.find(At(link)), std::string::npos) << message;
        EXPECT_NE(message.find(reason), std::string::npos) << message;
        EXPECT_TRUE(fs::is_symlink(root / link)) << link;
    }
    EXPECT_EQ(fs::read_symlink(root / "Dangling.cfg"), root / "missing" / "AxisShips.cfg");
    EXPECT_EQ(EntryCount(root), 3u);
}

// A save under a name the user chose writes exactly that name, never an existing file whose
// name differs only in letter case; a file of that very name is replaced in one step.
TEST_F(FileReplaceTest, SavingUnderAChosenNameWritesExactlyThatName) {
    const std::string existing = Put(root / "World.env", "old");
    EXPECT_FALSE(files.FileExistsAsNamed(At("world.env")));
    EXPECT_TRUE(files.FileExistsAsNamed(At("World.env")));
    files.SaveBytesAs(At("world.env"), "new");
    EXPECT_EQ(Read(existing), "old");
    EXPECT_EQ(Read(root / "world.env"), "new");
    files.SaveBytesAs(At("World.env"), "newer");
    EXPECT_EQ(Read(existing), "newer");
    EXPECT_EQ(EntryCount(root), 2u);
}

// Run as another user (a child process that gave up the superuser's rights): the new file keeps
// the group of the old one when the user belongs to it, and a file of another owner, which a new
// file could not keep, is written in place.
TEST_F(FileReplaceTest, AnotherUsersSaveKeepsTheGroupAndTheOwner) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to play other users";
    const uid_t user = 4242, other = 4343;
    const gid_t ownGroup = 4242, sharedGroup = 4444;
    fs::permissions(root, fs::perms::all);
    const std::string own = Put(root / "AxisShips.cfg", "old"), others = Put(root / "AlliedShips.cfg", "old");
    ASSERT_EQ(::chown(own.c_str(), user, sharedGroup), 0);
    ASSERT_EQ(::chown(others.c_str(), other, sharedGroup), 0);
    fs::permissions(others, fs::perms::all);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const gid_t groups[] = {ownGroup, sharedGroup};
        bool saved = ::setgroups(2, groups) == 0 && ::setgid(ownGroup) == 0 && ::setuid(user) == 0;
        try {
            LocalFileSystem childFiles;
            childFiles.ReplaceBytes(own, "new");
            childFiles.ReplaceBytes(others, "new");
        } catch (...) {
            saved = false;
        }
        ::_exit(saved ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    struct stat ownStatus {}, othersStatus {};
    ASSERT_EQ(::stat(own.c_str(), &ownStatus), 0);
    ASSERT_EQ(::stat(others.c_str(), &othersStatus), 0);
    EXPECT_EQ(Read(own), "new");
    EXPECT_EQ(ownStatus.st_gid, sharedGroup);
    EXPECT_EQ(Read(others), "new");
    EXPECT_EQ(othersStatus.st_uid, other);
    EXPECT_EQ(othersStatus.st_gid, sharedGroup);
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

// ---- Copying a whole folder (Save scenario as) ------------------------------------------------

class FolderCopyTest : public FileReplaceTest {
protected:
    void SetUp() override {
        FileReplaceTest::SetUp();
        source = root / "Crete";
        fs::create_directories(source / "Data" / "Empty");
        Put("Crete/AxisShips.cfg", "FORCE=Lupo\r\nWP=3705N 02410E\n");
        Put("Crete/Data/map.lyr", std::string("\0\x01\xff\r\n\x1a", 6));
        fs::create_symlink("Data/map.lyr", source / "Map.lyr");
        before = TreeOf(source);
    }
    // What a folder holds, by relative name: a file's bytes, "link:" and a link's text, "folder",
    // "special" (a FIFO).
    static std::map<std::string, std::string> TreeOf(const fs::path& folder) {
        std::map<std::string, std::string> tree;
        for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) {
            const std::string name = it->path().lexically_relative(folder).generic_string();
            if (it->is_symlink())
                tree[name] = "link:" + fs::read_symlink(it->path()).string();
            else if (it->is_directory())
                tree[name] = "folder";
            else
                tree[name] = it->is_regular_file() ? Read(it->path()) : "special";
        }
        return tree;
    }
    // The message of the failed copy; nothing under the scratch folder changed.
    std::string FailedCopy(const fs::path& target) {
        const auto entries = TreeOf(root);
        const std::string message = corvalis::testing::ThrownMessage<EFileError>([&] { CopyFolder(source.string(), target.string()); });
        EXPECT_EQ(TreeOf(root), entries) << message;
        return message;
    }
    fs::path source;
    std::map<std::string, std::string> before;
};

// Every file byte for byte, subfolders (an empty one too) and links inside the folder; a file
// given new bytes gets them; the target may be an empty folder.
TEST_F(FolderCopyTest, CopiesTheWholeTreeByteForByteWithTheGivenFilesReplaced) {
    for (const fs::path& target : {root / "New", root / "Empty"}) {
        if (target.filename() == "Empty") fs::create_directory(target);
        CopyFolder(source.string() + "/", target.string(), {{"AxisShips.cfg", "FORCE=Lupo\r\n"}});
        std::map<std::string, std::string> expected = before;
        expected["AxisShips.cfg"] = "FORCE=Lupo\r\n";
        EXPECT_EQ(TreeOf(target), expected) << target;
        EXPECT_EQ(TreeOf(source), before);
    }
    EXPECT_EQ(EntryCount(root), 3u);  // no temporary folder left
}

// A target the copy cannot go to is refused with the reason before anything is written.
TEST_F(FolderCopyTest, RefusesTheSourceAFolderInsideItAFileAndAFolderThatIsNotEmpty) {
    fs::create_directories(root / "Full");
    Put("Full/notes.txt", "mine");
    Put("file.txt", "");
    const struct { fs::path target; std::string reason; } cases[] = {
        {source, "that is the folder itself or a folder inside it; choose a folder outside it."},
        {source / "Data" / ".." / "Copy", "that is the folder itself or a folder inside it; choose a folder outside it."},
        {root / "Full", "that folder is not empty; choose a new or empty folder."},
        {root / "file.txt", "that is a file, not a folder."},
        {root / "Missing" / "Copy", "the folder " + (root / "Missing").string() + " does not exist."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FailedCopy(c.target), "Cannot copy \"" + source.string() + "\" to \"" + c.target.string() + "\": " + c.reason);
    EXPECT_EQ(Read(root / "Full" / "notes.txt"), "mine");
}

// A copy that fails on the way (a file that cannot be read, a link out of the folder, a full
// disk) leaves no target and no temporary folder, and the source as it was.
TEST_F(FolderCopyTest, AFailureOnTheWayLeavesNothingBehind) {
    const fs::path fifo = source / "Data" / "pipe", outside = source / "Data" / "Up.cfg";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(FailedCopy(root / "Copy"), "Cannot open file \"" + fifo.string() + "\". It is not a regular file.");
    fs::remove(fifo);
    for (const std::string text : {"../../file.txt", "/etc/passwd"}) {
        fs::create_symlink(text, outside);
        EXPECT_EQ(FailedCopy(root / "Copy"),
                  "Cannot copy \"" + outside.string() + "\": it is a symbolic link to " + text + ", outside the folder.");
        fs::remove(outside);
    }
    Put("Crete/Data/big.lyr", std::string(64 * 1024, 'b'));
    corvalis::testing::SmallFileSystem disk(root / "small", 32 * 1024);
    if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small file system here";
    EXPECT_NE(FailedCopy(root / "small" / "Copy").find("No space left on device"), std::string::npos);
}

}  // namespace
}  // namespace platform
