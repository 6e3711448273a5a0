#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

#include "globe/data/MemoryMapStream.h"
#include "globe/data/TextReader.h"
#include "TempFile.h"

namespace globe {
namespace {

using testing::TempDir;

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no exception)";
}

TEST(MemoryMapStream, ReadsTheWholeFileAndStopsAtTheEnd) {
    TempDir dir;
    TMemoryMapStream stream(dir.Write("a.bin", std::string("abcdef", 6)));
    EXPECT_EQ(stream.Size(), 6);
    char buffer[8] = {};
    EXPECT_EQ(stream.Read(buffer, 4), 4);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_EQ(stream.Read(buffer, 8), 2);   // only what is left
    EXPECT_EQ(stream.Read(buffer, 8), 0);
    stream.Seek(-3, TMemoryMapStream::soEnd);
    EXPECT_EQ(stream.Position(), 3);
    stream.SetPosition(100);                // past the end: nothing, no fault
    EXPECT_EQ(stream.Read(buffer, 1), 0);
    stream.SetPosition(-5);
    EXPECT_EQ(stream.Read(buffer, 1), 0);
    stream.SetPosition(5);
    EXPECT_THROW(stream.ReadBuffer(buffer, 2), std::runtime_error);
}

TEST(MemoryMapStream, EmptyFileIsAnEmptyStream) {
    TempDir dir;
    TMemoryMapStream stream(dir.Write("empty", ""));
    EXPECT_EQ(stream.Size(), 0);
    char c;
    EXPECT_EQ(stream.Read(&c, 1), 0);
}

TEST(MemoryMapStream, FailureMessages) {
    TempDir dir;
    const std::string missing = dir.File("missing.shp");
    EXPECT_EQ(MessageOf([&] { TMemoryMapStream s(missing); }), "Unable to open file " + missing);
    // A directory opens but cannot be mapped.
    EXPECT_EQ(MessageOf([&] { TMemoryMapStream s(dir.Path.string()); }), "Unable to create file mapping");

    const std::string name = dir.Write("ro", "x");
    TMemoryMapStream stream(name);
    EXPECT_EQ(MessageOf([&] { stream.Write("y", 1); }), "TMemoryMapStream.Write: Not supported");
    EXPECT_EQ(MessageOf([&] { stream.SetSize(0); }), "TMemoryMapStream.SetSize: Not supported");
    EXPECT_EQ(testing::ReadWholeFile(name), "x");
}

std::vector<std::string> AllLines(TGlobeTextReader& reader) {
    std::vector<std::string> lines;
    while (!reader.Eof())
        lines.push_back(reader.ReadLine());
    return lines;
}

TEST(TextReader, EachLineEndingEndsOneLine) {
    TempDir dir;
    const std::vector<std::string> expected = {"one", "", "two", "three"};
    for (const char* ending : {"\r\n", "\n", "\r"}) {
        const std::string e = ending;
        TGlobeTextReader reader(dir.Write("t.txt", "one" + e + e + "two" + e + "three" + e));
        EXPECT_EQ(AllLines(reader), expected) << "ending of length " << e.size();
    }
}

TEST(TextReader, MixedEndingsAndLastLineWithoutEnding) {
    TempDir dir;
    TGlobeTextReader reader(dir.Write("t.txt", "a\r\rb\n\rc"));
    // CR then CR is two endings; LF then CR too (only CR LF is one ending).
    EXPECT_EQ(AllLines(reader), (std::vector<std::string>{"a", "", "b", "", "c"}));
    EXPECT_EQ(reader.ReadLine(), "");
    EXPECT_TRUE(reader.Eof());
}

TEST(TextReader, SeekAndLineStartsAllowRereading) {
    TempDir dir;
    TGlobeTextReader reader(dir.Write("t.txt", "first\r\nsecond\nthird"));
    reader.ReadLine();
    EXPECT_EQ(reader.ReadLine(), "second");
    EXPECT_EQ(reader.LineStart(), 7);
    EXPECT_EQ(reader.Position(), 14);
    reader.Seek(reader.LineStart());
    EXPECT_EQ(reader.ReadLine(), "second");
    reader.Seek(9);
    EXPECT_EQ(reader.ReadLine(), "cond");
    reader.Seek(1000);
    EXPECT_TRUE(reader.Eof());
    reader.Seek(-4);
    EXPECT_EQ(reader.ReadLine(), "first");
}

TEST(TextReader, EmptyFileIsAtItsEnd) {
    TempDir dir;
    TGlobeTextReader reader(dir.Write("t.txt", ""));
    EXPECT_TRUE(reader.Eof());
    EXPECT_EQ(reader.ReadLine(), "");
}

} // namespace
} // namespace globe
