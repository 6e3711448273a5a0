#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

#include "globe/data/GlobeException.h"
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
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.Memory()), 6), "abcdef");
    char buffer[8] = {};
    stream.Read(buffer, 4);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_EQ(stream.Remaining(), 2);
    EXPECT_THROW(stream.Read(buffer, 3), EGlobeException);   // only two left: nothing is read
    EXPECT_EQ(stream.Position(), 4);
    stream.Seek(100);                                         // past the end: reads fail, no fault
    EXPECT_EQ(stream.Remaining(), 0);
    EXPECT_THROW(stream.Read(buffer, 1), EGlobeException);
    EXPECT_THROW(stream.Seek(-1), EGlobeException);
}

TEST(MemoryMapStream, EmptyFileIsAnEmptyStream) {
    TempDir dir;
    TMemoryMapStream stream(dir.Write("empty", ""));
    EXPECT_EQ(stream.Size(), 0);
    char c;
    EXPECT_THROW(stream.Read(&c, 1), EGlobeException);
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
