#include <sstream>

#include <gtest/gtest.h>

#include "platform/ConsoleDialogs.h"
#include "platform/FileError.h"
#include "platform/testing/MemoryFileSystem.h"
#include "platform/testing/ScriptedDialogs.h"

namespace platform::testing {
namespace {

TEST(ScriptedDialogs, RecordsCallsInOrderAndAnswersFromTheScript) {
    ScriptedDialogs dialogs;
    dialogs.QueueAnswer(DialogAnswer::No);
    dialogs.QueueInputCancel();
    dialogs.QueueInput("WP=3530N 01420E");
    dialogs.QueueDirectory("/scen");

    dialogs.ShowMessage("File saved as: AxisShips.cfg");
    EXPECT_EQ(dialogs.Confirm("Save changes to ship file?", DialogButtons::YesNo), DialogAnswer::No);
    EXPECT_EQ(dialogs.InputBox("Edit line", "Edit case line", "WP=1"), "WP=1");
    EXPECT_EQ(dialogs.InputBox("Edit line", "Edit case line", "WP=2"), "WP=3530N 01420E");
    EXPECT_EQ(dialogs.ChooseDirectory("/prog"), "/scen");
    dialogs.ShowError("bad");
    // Exhausted queues: default button, default text, cancelled choices.
    EXPECT_EQ(dialogs.Confirm("Delete point x?", DialogButtons::OkCancel), DialogAnswer::Ok);
    EXPECT_EQ(dialogs.ChooseDirectory("/prog"), "");
    EXPECT_EQ(dialogs.ChooseSaveFile({"", "env", "*.env", "Environment files (*.ENV)|*.env", ""}), "");

    const auto& calls = dialogs.Calls();
    ASSERT_EQ(calls.size(), 9u);
    EXPECT_EQ(calls[2].kind, DialogKind::Input);
    EXPECT_EQ(calls[2].title, "Edit line");
    EXPECT_EQ(calls[2].text, "Edit case line");
    EXPECT_EQ(calls[2].defaultText, "WP=1");
    EXPECT_EQ(calls[8].saveOptions.filter, "Environment files (*.ENV)|*.env");
    EXPECT_EQ(dialogs.Reports(), (std::vector<std::string>{"File saved as: AxisShips.cfg", "bad"}));
    EXPECT_EQ(dialogs.Texts(DialogKind::Confirm),
              (std::vector<std::string>{"Save changes to ship file?", "Delete point x?"}));
}

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

TEST(MemoryFileSystem, ReadOnlyFilesRefuseWritesAndKeepTheirBytes) {
    MemoryFileSystem files;
    files.AddFile("/s/AlliedShips.cfg", "old");
    files.SetReadOnly("/s/alliedships.cfg");
    EXPECT_THROW(files.WriteLines("/s/AlliedShips.cfg", {"new"}), EFileError);
    EXPECT_EQ(files.FileBytes("/s/AlliedShips.cfg"), "old");
    EXPECT_TRUE(files.Writes().empty());
}

TEST(MemoryFileSystem, LaterWritesAreNewer) {
    MemoryFileSystem files;
    files.AddFile("/d/a.lyr", "1");
    files.AddFile("/d/a.md", "2");
    EXPECT_LT(*files.FileAge("/d/a.lyr"), *files.FileAge("/d/a.md"));
    files.WriteBytes("/d/a.lyr", "3");
    EXPECT_GT(*files.FileAge("/d/a.lyr"), *files.FileAge("/d/a.md"));
}

}  // namespace
}  // namespace platform::testing
