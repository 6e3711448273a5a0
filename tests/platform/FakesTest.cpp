#include <sstream>

#include <gtest/gtest.h>

#include "platform/ConsoleDialogs.h"
#include "platform/FileError.h"
#include "platform/testing/MemoryFileSystem.h"
#include "platform/testing/ScriptedDialogs.h"

namespace platform::testing {
namespace {

// (The editor's window tests run on the scripted dialogs' queues and records.)
TEST(ScriptedDialogs, AnAnswerThatIsNotAButtonIsAScriptError) {
    ScriptedDialogs dialogs;
    dialogs.QueueAnswer(DialogAnswer::Ok);
    EXPECT_THROW(dialogs.Confirm("Save changes to ship file?", DialogButtons::YesNo), std::logic_error);
}

TEST(ConsoleDialogs, PrintsMessagesWithLineBreaksAndTakesDefaults) {
    std::ostringstream out;
    ConsoleDialogs dialogs(out);
    dialogs.ShowMessage("Error reading data line!\rSearched label: A");
    dialogs.ShowError("none");
    EXPECT_EQ(dialogs.Confirm("q", DialogButtons::YesNoCancel), DialogAnswer::Yes);
    EXPECT_EQ(dialogs.InputBox("t", "p", "d"), "d");
    EXPECT_EQ(out.str(), "Error reading data line!\nSearched label: A\nError: none\nq\n");
}

TEST(MemoryFileSystem, ResolvesCaseAndCurrentDirectoryLikeTheDisk) {
    MemoryFileSystem files;
    files.AddFile("/Prog/Scen/ScenarioInfo.cfg", "A=1\r\n");
    files.SetCurrentDirectory("/prog\\SCEN");
    EXPECT_EQ(files.CurrentDirectory(), "/Prog/Scen");
    EXPECT_TRUE(files.FileExists("scenarioinfo.cfg"));
    EXPECT_EQ(files.ReadLines("..\\Scen\\SCENARIOINFO.CFG"), TextLines{"A=1"});
    files.WriteLines("new.cfg", {"x"});
    EXPECT_EQ(files.Writes(), std::vector<std::string>{"/Prog/Scen/new.cfg"});
    EXPECT_THROW(files.WriteBytes("/Nowhere/x", ""), EFileError);
    EXPECT_THROW(files.SetCurrentDirectory("/Nowhere"), EFileError);
}

TEST(MemoryFileSystem, ReadOnlyFilesKeepTheirBytesLaterWritesAreNewer) {
    MemoryFileSystem files;
    files.AddFile("/s/AlliedShips.cfg", "old");
    files.AddFile("/s/a.lyr", "1");
    files.AddFile("/s/a.md", "2");
    files.SetReadOnly("/s/alliedships.cfg");
    EXPECT_THROW(files.WriteLines("/s/AlliedShips.cfg", {"new"}), EFileError);
    EXPECT_EQ(files.FileBytes("/s/AlliedShips.cfg"), "old");
    EXPECT_TRUE(files.Writes().empty());
    EXPECT_LT(*files.FileAge("/s/a.lyr"), *files.FileAge("/s/a.md"));
    files.WriteBytes("/s/a.lyr", "3");
    EXPECT_GT(*files.FileAge("/s/a.lyr"), *files.FileAge("/s/a.md"));
}

}  // namespace
}  // namespace platform::testing
