// Globe streams: the little-endian primitives of the map files, memory, file and mapped streams,
// and the text reader of the interchange files.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <bit>
#include <chrono>
#include <csignal>
#include <cmath>
#include <filesystem>
#include <functional>
#include <tuple>

#include <unistd.h>

#include "TempFile.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeFileStream.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"
#include "globe/data/MappedFileStream.h"
#include "globe/data/MemoryMapStream.h"
#include "globe/data/TextReader.h"
#include "tests/support/FinishesWithin.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::ThrownMessage;
using testing::TempDir;

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

TEST(GlobeStream, PrimitivesAreLittleEndian) {
  TGlobeMemoryStream m;
  TGlobeStreamWriter w(m);
  w.WriteBoolean(true);
  w.WriteBoolean(false);
  w.WriteDouble(1.0);  // 0x3FF0000000000000
  w.WriteSmallInt(-2);
  w.WriteByte(0xAB);
  w.WriteWord(0x1234);
  w.WriteInteger(-2);
  w.WriteInteger(0x01020304);
  w.WriteShortString("Hi");
  w.WriteRect(TGeoRect(1, -1, 256, 0x7FFFFFFF));
  EXPECT_EQ(m.Bytes(), Bytes({'T',  'F',  0,    0,    0,    0,    0, 0, 0xF0, 0x3F, 0xFE, 0xFF, 0xAB, 0x34,
                              0x12, 0xFE, 0xFF, 0xFF, 0xFF, 4,    3, 2, 1,    2,    'H',  'i',  1,    0,
                              0,    0,    0xFF, 0xFF, 0xFF, 0xFF, 0, 1, 0,    0,    0xFF, 0xFF, 0xFF, 0x7F}));
  m.Seek(0);
  TGlobeStreamReader r(m);  // a braced list reads in order
  EXPECT_EQ((std::tuple{r.ReadBoolean(), r.ReadBoolean(), r.ReadDouble(), r.ReadSmallInt(), r.ReadByte(), r.ReadWord(),
                        r.ReadInteger(), r.ReadInteger(), r.ReadShortString(), r.ReadRect()}),
            (std::tuple{true, false, 1.0, int16_t(-2), uint8_t(0xAB), uint16_t(0x1234), -2, 0x01020304,
                        std::string("Hi"), TGeoRect(1, -1, 256, 0x7FFFFFFF)}));
  EXPECT_EQ(m.Remaining(), 0);
}

TEST(GlobeStream, PointsInFullAndMinutePrecision) {
  TGlobeMemoryStream m;
  TGlobeStreamWriter w(m);
  const TGeoPoint p(-971'000'000, 486'000'000, 1234);
  w.WritePoint(p, true, false);
  w.WritePoint(p, false, false);
  EXPECT_EQ(m.Size(), 12 + 8);
  w.WriteInteger(972'000'002);  // a longitude beyond the range is normalised on reading (one turn back)
  w.WriteInteger(5);
  // 10 degrees 30 minutes east = 630 minutes; -1.5 minutes truncates toward zero to -1 minute; a
  // height of 89,999 is less than a minute and becomes 0.
  w.WritePoint(TGeoPoint(10 * 5'400'000 + 30 * 90'000, -135'000, 89'999), true, true);
  w.WritePoint(TGeoPoint(-180'000, 90'000), false, true);
  EXPECT_EQ(m.Bytes().substr(28), Bytes({0x76, 0x02, 0xFF, 0xFF, 0, 0, 0xFE, 0xFF, 1, 0}));  // 630, -1, 0; -2, 1
  m.Seek(0);
  TGlobeStreamReader r(m);
  EXPECT_EQ((std::vector{r.ReadPoint(true, false), r.ReadPoint(false, false), r.ReadPoint(false, false),
                         r.ReadPoint(true, true), r.ReadPoint(false, true)}),
            (std::vector{p, TGeoPoint(-971'000'000, 486'000'000), TGeoPoint(-971'999'998, 5),
                         TGeoPoint(56'700'000, -90'000), TGeoPoint(-180'000, 90'000)}));
  // 32,767 minutes x 90,000 = 2,949,030,000 wraps to -1,345,937,296; as a longitude it is then
  // normalised once: + 1,944,000,000 = 598,062,704.
  TGlobeMemoryStream wraps(Bytes({0xFF, 0x7F, 0xFF, 0x7F}));
  const TGeoPoint wrapped = TGlobeStreamReader(wraps).ReadPoint(false, true);
  EXPECT_EQ(wrapped.LongX, 598'062'704);
  EXPECT_EQ(wrapped.LatY, -1'345'937'296);
}

TEST(GlobeStream, ReadingPastTheEndRaisesAndReadsNothingWritingGrowsAndViewsAreReadOnly) {
  TGlobeMemoryStream m(Bytes({1, 2, 3}));
  TGlobeStreamReader r(m);
  EXPECT_THROW(r.ReadInteger(), EGlobeException);
  EXPECT_EQ((std::tuple{m.Position(), r.ReadWord()}), std::tuple(0, 0x0201));  // a braced list reads in order
  EXPECT_THROW(r.ReadDouble(), EGlobeException);
  TGlobeMemoryStream s(Bytes({10, 'a', 'b'}));  // a length byte promising more than is there
  EXPECT_THROW(TGlobeStreamReader(s).ReadShortString(), EGlobeException);
  m.Seek(1000);
  EXPECT_THROW(r.ReadByte(), EGlobeException);
  EXPECT_THROW(m.Seek(-1), EGlobeException);
  m.Seek(5);  // memory streams grow when written past their end
  m.Write("x", 1);
  EXPECT_EQ(m.Bytes(), Bytes({1, 2, 3, 0, 0, 'x'}));
  const std::string data = Bytes({0x10, 0x20, 0x30});
  TGlobeStreamReader v(std::make_unique<TGlobeMemoryViewStream>(data.data(), data.size()));  // owned by the reader
  EXPECT_EQ((std::tuple{v.ReadWord(), v.Stream().Remaining()}), std::tuple(0x2010, 1));
  EXPECT_THROW(v.Stream().Write("x", 1), EGlobeException);
  EXPECT_THROW(v.ReadWord(), EGlobeException);
}

TEST(GlobeStream, FileAndMappedStreams) {
  TempDir dir;
  const std::string name = dir.File("stream.bin");
  {
    TGlobeStreamWriter w(std::make_unique<TGlobeFileStream>(name, TGlobeFileStream::TMode::fmCreate));
    w.WriteInteger(42);
    w.WriteShortString("layer");
    w.WritePoint(TGeoPoint(1, 2, 3), true, false);
  }
  EXPECT_EQ(std::filesystem::file_size(name), 4u + 6u + 12u);
  for (bool mapped : {false, true}) {
    TGlobeStreamReader r(mapped ? OpenMappedFileStream(name)
                                : std::make_unique<TGlobeFileStream>(name, TGlobeFileStream::TMode::fmOpenRead));
    EXPECT_EQ((std::tuple{r.ReadInteger(), r.ReadShortString(), r.ReadPoint(true, false)}),
              (std::tuple{42, std::string("layer"), TGeoPoint(1, 2, 3)}));
    EXPECT_THROW(r.ReadByte(), EGlobeException);
    EXPECT_THROW(r.Stream().Write("c", 1), EGlobeException);
    r.Stream().Seek(4);
    EXPECT_EQ(r.ReadShortString(), "layer");
  }
  std::filesystem::remove(name);
  EXPECT_THROW(OpenMappedFileStream(name), EGlobeException);
  EXPECT_THROW(TGlobeFileStream(name, TGlobeFileStream::TMode::fmOpenRead), EGlobeException);
}

TEST(MemoryMapStream, ReadsTheWholeFileStopsAtTheEndAndReportsFailures) {
  TempDir dir;
  const std::string name = dir.Write("a.bin", "abcdef");
  TMemoryMapStream stream(name);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.Memory()), stream.Size()), "abcdef");
  char buffer[8] = {};
  stream.Read(buffer, 4);
  EXPECT_EQ(std::string(buffer, 4), "abcd");
  EXPECT_THROW(stream.Read(buffer, 3), EGlobeException);  // only two left: nothing is read
  EXPECT_EQ(stream.Position(), 4);
  stream.Seek(100);  // past the end: reads fail, no fault
  EXPECT_THROW(stream.Read(buffer, 1), EGlobeException);
  EXPECT_THROW(stream.Seek(-1), EGlobeException);
  TMemoryMapStream empty(dir.Write("empty", ""));
  EXPECT_THROW(empty.Read(buffer, 1), EGlobeException);
  const std::string missing = dir.File("missing.shp");
  // A directory opens but cannot be mapped; a FIFO is refused without waiting for a writer.
  const std::string fifo = dir.File("fifo.lyr");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(corvalis::testing::FinishesWithin(std::chrono::seconds(5),
                                              [&] { return ThrownMessage<std::exception>([&] { TMemoryMapStream s(fifo); }); }),
            "Unable to create file mapping: " + fifo + " is not a regular file");
  for (const auto& [action, message] : std::vector<std::pair<std::function<void()>, std::string>>{
           {[&] { stream.Write("y", 1); }, "TMemoryMapStream.Write: Not supported"},
           {[&] { stream.SetSize(0); }, "TMemoryMapStream.SetSize: Not supported"},
           {[&] { TMemoryMapStream s(missing); }, "Unable to open file " + missing},
           {[&] { TMemoryMapStream s(dir.Path.string()); }, "Unable to create file mapping: " + dir.Path.string() + " is not a regular file"}})
    EXPECT_EQ(ThrownMessage<std::exception>(action), message);
  EXPECT_EQ(testing::ReadWholeFile(name), "abcdef");
}

// A mapped file cut short by another program: the read past the new end gives zeros instead of
// SIGBUS and is refused as damaged, and so is every later read or seek; a bus error that is not
// a read of a guarded mapping still ends the program.
TEST(MemoryMapStream, AFileCutShortWhileMappedIsDamagedNotAFault) {
  testing::TempDir dir;
  const std::string name = dir.Write("cut.lyr", std::string(3 * 65536, 'x'));
  TMemoryMapStream stream(name);
  TMemoryMapStream other(dir.Write("whole.lyr", "abc"));
  ::truncate(name.c_str(), 100);
  char buffer[4] = {};
  stream.Read(buffer, 4);  // within the first page: still there
  EXPECT_FALSE(stream.Damaged());
  stream.Seek(2 * 65536);
  const std::string damaged = "File " + name + " is damaged: another program cut it short while it was in use";
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { stream.Read(buffer, 4); }), damaged);
  EXPECT_TRUE(stream.Damaged());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.Memory()) + 2 * 65536, 4), std::string(4, '\0'));
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { stream.Seek(0); }), damaged);
  EXPECT_FALSE(other.Damaged());
  EXPECT_DEATH(::raise(SIGBUS), "");
}

std::vector<std::string> AllLines(TGlobeTextReader& reader) {
  std::vector<std::string> lines;
  while (!reader.Eof()) lines.push_back(reader.ReadLine());
  return lines;
}

// Each line ending ends one line: CR then CR is two endings, LF then CR too (only CR LF is one);
// the last line needs none. Seeking to a line's start reads it again.
TEST(TextReader, EachLineEndingEndsOneLineAndSeekRereads) {
  TempDir dir;
  using Lines = std::vector<std::string>;
  for (const auto& [text, lines] : {std::pair{"one\r\n\r\ntwo\r\n", Lines{"one", "", "two"}},
                                    {"one\n\ntwo\n", {"one", "", "two"}}, {"one\r\rtwo\r", {"one", "", "two"}},
                                    {"a\r\rb\n\rc", {"a", "", "b", "", "c"}}, {"", {}}}) {
    TGlobeTextReader reader(dir.Write("t.txt", text));
    EXPECT_EQ(AllLines(reader), lines) << text;
    EXPECT_EQ((std::tuple{reader.Eof(), reader.ReadLine()}), std::tuple(true, "")) << text;
  }
  TGlobeTextReader reader(dir.Write("t.txt", "first\r\nsecond\nthird"));
  reader.ReadLine();
  EXPECT_EQ((std::tuple{reader.ReadLine(), reader.LineStart(), reader.Position()}), std::tuple("second", 7, 14));
  reader.Seek(reader.LineStart());
  EXPECT_EQ(reader.ReadLine(), "second");
  reader.Seek(9);
  EXPECT_EQ(reader.ReadLine(), "cond");
  reader.Seek(1000);
  EXPECT_TRUE(reader.Eof());
  reader.Seek(-4);
  EXPECT_EQ(reader.ReadLine(), "first");
}

}  // namespace
}  // namespace globe
