#include <sstream>

#include <gtest/gtest.h>

#include "platform/ConsoleDialogs.h"
#include "platform/FileError.h"
#include "platform/testing/MemoryFileSystem.h"

namespace platform::testing {
namespace {

TEST(ConsoleDialogs, PrintsMessagesWithLineBreaksAndTakesDefaults) {
    std::ostringstream out;
    ConsoleDialogs dialogs(out);
    dialogs.ShowMessage("Error reading data line!\rSearched label: A");
    dialogs.ShowError("none");
    EXPECT_EQ(dialogs.Confirm("q", DialogButtons::YesNoCancel), DialogAnswer::Yes);
    EXPECT_EQ(dialogs.InputBox("t", "p", "d"), "d");
    EXPECT_EQ(out.str(), "Error reading data line!\nSearched label: A\nError: none\nq\n");
}

TEST(MemoryFileSystem, ResolvesLikeTheDiskAndRefusesReadOnlyFilesFoldersAndAFullDisk) {
    MemoryFileSystem files;
    files.AddFile("/Prog/Scen/AxisShips.cfg", "A=1\r\n");
    files.AddFile("/Prog/Scen/a.md", "2");
    files.SetCurrentDirectory("/prog\\SCEN");
    EXPECT_EQ(files.CurrentDirectory(), "/Prog/Scen");
    EXPECT_EQ(files.ReadLines("..\\Scen\\AXISSHIPS.CFG"), TextLines{"A=1"});
    EXPECT_THROW(files.SetCurrentDirectory("/Nowhere"), EFileError);
    EXPECT_THROW(files.WriteBytes("/Nowhere/x", ""), EFileError);
    files.ReplaceBytes("axisships.cfg", "new");
    EXPECT_EQ(files.Writes(), std::vector<std::string>{"/Prog/Scen/AxisShips.cfg"});
    EXPECT_GT(*files.FileAge("AxisShips.cfg"), *files.FileAge("a.md"));
    files.SetReadOnly("/Prog/Scen/AxisShips.cfg");
    EXPECT_THROW(files.ReplaceBytes("AxisShips.cfg", "x"), EFileError);
    files.SetReadOnly("/Prog/Scen/AxisShips.cfg", false);
    files.SetReadOnly("/Prog/Scen");
    EXPECT_THROW(files.ReplaceBytes("Other.cfg", "x"), EFileError);
    files.ReplaceBytes("AxisShips.cfg", "in place");  // an existing file is still writable
    files.SetReadOnly("/Prog/Scen", false);
    files.SetFreeSpace(3);
    EXPECT_THROW(files.ReplaceBytes("AxisShips.cfg", "four"), EFileError);
    EXPECT_EQ(files.FileBytes("/Prog/Scen/AxisShips.cfg"), "in place");
    // A save under a chosen name writes exactly that name.
    files.SetFreeSpace(std::nullopt);
    EXPECT_FALSE(files.FileExistsAsNamed("axisships.cfg"));
    files.SaveBytesAs("axisships.cfg", "saved");
    EXPECT_TRUE(files.FileExistsAsNamed("axisships.cfg"));
    EXPECT_EQ(files.FileBytes("/Prog/Scen/AxisShips.cfg"), "in place");
    EXPECT_THROW(files.SaveBytesAs("/Prog/scen/x.env", "x"), EFileError);  // no such folder spelling
}

}  // namespace
}  // namespace platform::testing
