#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "globe/data/GlobeException.h"
#include "globe/data/GlobeFileStream.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"
#include "globe/data/MappedFileStream.h"
#include "TempFile.h"

namespace globe {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

TEST(GlobeStreamTest, PrimitivesAreLittleEndian) {
  TGlobeMemoryStream m;
  TGlobeStreamWriter w(m);
  w.WriteBoolean(true);
  w.WriteBoolean(false);
  w.WriteDouble(1.0);           // 0x3FF0000000000000
  w.WriteSmallInt(-2);          // 0xFFFE
  w.WriteByte(0xAB);
  w.WriteWord(0x1234);
  w.WriteInteger(-2);           // 0xFFFFFFFE
  w.WriteInteger(0x01020304);
  w.WriteShortString("Hi");
  w.WriteRect(TGeoRect(1, -1, 256, 0x7FFFFFFF));
  EXPECT_EQ(m.Bytes(),
            Bytes({'T', 'F', 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0xFE, 0xFF, 0xAB, 0x34, 0x12,
                   0xFE, 0xFF, 0xFF, 0xFF, 4, 3, 2, 1, 2, 'H', 'i',
                   1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 1, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F}));

  m.Seek(0);
  TGlobeStreamReader r(m);
  EXPECT_TRUE(r.ReadBoolean());
  EXPECT_FALSE(r.ReadBoolean());
  EXPECT_EQ(r.ReadDouble(), 1.0);
  EXPECT_EQ(r.ReadSmallInt(), -2);
  EXPECT_EQ(r.ReadByte(), 0xAB);
  EXPECT_EQ(r.ReadWord(), 0x1234);
  EXPECT_EQ(r.ReadInteger(), -2);
  EXPECT_EQ(r.ReadInteger(), 0x01020304);
  EXPECT_EQ(r.ReadShortString(), "Hi");
  EXPECT_EQ(r.ReadRect(), TGeoRect(1, -1, 256, 0x7FFFFFFF));
  EXPECT_EQ(m.Remaining(), 0);
}

TEST(GlobeStreamTest, BooleanIsTrueOnlyForT) {
  TGlobeMemoryStream m(Bytes({'T', 't', 'F', 1, 0}));
  TGlobeStreamReader r(m);
  EXPECT_TRUE(r.ReadBoolean());
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(r.ReadBoolean());
}

TEST(GlobeStreamTest, DoublesKeepEveryBit) {
  TGlobeMemoryStream m;
  TGlobeStreamWriter w(m);
  const double values[] = {-0.0, 1e-310, 6378137.123456789, -INFINITY, NAN};
  for (double v : values) w.WriteDouble(v);
  m.Seek(0);
  TGlobeStreamReader r(m);
  for (double v : values) {
    const double back = r.ReadDouble();
    EXPECT_EQ(std::signbit(back), std::signbit(v));
    if (std::isnan(v))
      EXPECT_TRUE(std::isnan(back));
    else
      EXPECT_EQ(back, v);
  }
}

TEST(GlobeStreamTest, ShortStringIsCutAt255) {
  TGlobeMemoryStream m;
  TGlobeStreamWriter w(m);
  w.WriteShortString(std::string(300, 'x'));
  w.WriteShortString("");
  EXPECT_EQ(m.Size(), 1 + 255 + 1);
  EXPECT_EQ(static_cast<uint8_t>(m.Bytes()[0]), 255);
  m.Seek(0);
  TGlobeStreamReader r(m);
  EXPECT_EQ(r.ReadShortString(), std::string(255, 'x'));
  EXPECT_EQ(r.ReadShortString(), "");
}

TEST(GlobeStreamTest, PointsInFullPrecision) {
  TGlobeMemoryStream m;
  TGlobeStreamWriter w(m);
  const TGeoPoint p(-971'000'000, 486'000'000, 1234);
  w.WritePoint(p, true, false);
  w.WritePoint(p, false, false);
  EXPECT_EQ(m.Size(), 12 + 8);
  // A stored longitude beyond the range is normalised on reading (one turn back).
  w.WriteInteger(972'000'002);
  w.WriteInteger(5);
  m.Seek(0);
  TGlobeStreamReader r(m);
  EXPECT_EQ(r.ReadPoint(true, false), p);
  EXPECT_EQ(r.ReadPoint(false, false), TGeoPoint(-971'000'000, 486'000'000, 0));
  const TGeoPoint wrapped = r.ReadPoint(false, false);
  EXPECT_EQ(wrapped.LongX, -971'999'998);
  EXPECT_EQ(wrapped.LatY, 5);
}

TEST(GlobeStreamTest, PointsInMinutePrecision) {
  TGlobeMemoryStream m;
  TGlobeStreamWriter w(m);
  // 10 degrees 30 minutes east = 630 minutes; -1.5 minutes truncates toward zero to -1 minute;
  // a height of 89,999 is less than a minute and becomes 0.
  w.WritePoint(TGeoPoint(10 * 5'400'000 + 30 * 90'000, -135'000, 89'999), true, true);
  w.WritePoint(TGeoPoint(-180'000, 90'000), false, true);
  EXPECT_EQ(m.Bytes(), Bytes({0x76, 0x02, 0xFF, 0xFF, 0, 0, 0xFE, 0xFF, 1, 0}));  // 630, -1, 0; -2, 1
  m.Seek(0);
  TGlobeStreamReader r(m);
  EXPECT_EQ(r.ReadPoint(true, true), TGeoPoint(56'700'000, -90'000, 0));
  EXPECT_EQ(r.ReadPoint(false, true), TGeoPoint(-180'000, 90'000, 0));
}

TEST(GlobeStreamTest, MinuteCountsWrapIn32Bits) {
  // 32,767 minutes x 90,000 = 2,949,030,000, which wraps to -1,345,937,296; as a longitude it is
  // then normalised once: + 1,944,000,000 = 598,062,704.
  TGlobeMemoryStream m(Bytes({0xFF, 0x7F, 0xFF, 0x7F}));
  TGlobeStreamReader r(m);
  const TGeoPoint p = r.ReadPoint(false, true);
  EXPECT_EQ(p.LongX, 598'062'704);
  EXPECT_EQ(p.LatY, -1'345'937'296);
}

TEST(GlobeStreamTest, ReadingPastTheEndRaisesAndReadsNothing) {
  TGlobeMemoryStream m(Bytes({1, 2, 3}));
  TGlobeStreamReader r(m);
  EXPECT_THROW(r.ReadInteger(), EGlobeException);
  EXPECT_EQ(m.Position(), 0);
  EXPECT_EQ(r.ReadWord(), 0x0201);
  EXPECT_THROW(r.ReadDouble(), EGlobeException);
  EXPECT_EQ(r.ReadByte(), 3);
  EXPECT_THROW(r.ReadByte(), EGlobeException);

  // A string whose length byte promises more than is there.
  TGlobeMemoryStream s(Bytes({10, 'a', 'b'}));
  TGlobeStreamReader rs(s);
  EXPECT_THROW(rs.ReadShortString(), EGlobeException);

  m.Seek(1000);
  EXPECT_THROW(r.ReadByte(), EGlobeException);
  EXPECT_THROW(m.Seek(-1), EGlobeException);
}

TEST(GlobeStreamTest, MemoryStreamsGrowAndViewsAreReadOnly) {
  TGlobeMemoryStream m;
  m.Seek(3);
  const char x = 'x';
  m.Write(&x, 1);
  EXPECT_EQ(m.Bytes(), Bytes({0, 0, 0, 'x'}));

  const std::string data = Bytes({0x10, 0x20, 0x30});
  auto view = std::make_unique<TGlobeMemoryViewStream>(data.data(), data.size());
  TGlobeStreamReader r(std::move(view));  // owned by the reader
  EXPECT_EQ(r.ReadWord(), 0x2010);
  EXPECT_EQ(r.Stream().Remaining(), 1);
  EXPECT_THROW(r.Stream().Write(&x, 1), EGlobeException);
  EXPECT_THROW(r.ReadWord(), EGlobeException);
}

TEST(GlobeStreamTest, FileStreams) {
  testing::TempDir dir;
  const std::string name = dir.File("stream.bin");
  {
    TGlobeStreamWriter w(std::make_unique<TGlobeFileStream>(
        name, TGlobeFileStream::TMode::fmCreate));
    w.WriteInteger(42);
    w.WriteShortString("layer");
    w.WritePoint(TGeoPoint(1, 2, 3), true, false);
  }
  EXPECT_EQ(std::filesystem::file_size(name), 4u + 6u + 12u);
  {
    TGlobeStreamReader r(std::make_unique<TGlobeFileStream>(
        name, TGlobeFileStream::TMode::fmOpenRead));
    EXPECT_EQ(r.ReadInteger(), 42);
    EXPECT_EQ(r.ReadShortString(), "layer");
    EXPECT_EQ(r.ReadPoint(true, false), TGeoPoint(1, 2, 3));
    EXPECT_THROW(r.ReadByte(), EGlobeException);
    const char c = 'c';
    EXPECT_THROW(r.Stream().Write(&c, 1), EGlobeException);
  }
  {
    TGlobeStreamReader r(OpenMappedFileStream(name));
    r.Stream().Seek(4);
    EXPECT_EQ(r.ReadShortString(), "layer");
    EXPECT_EQ(r.ReadPoint(true, false), TGeoPoint(1, 2, 3));
    EXPECT_THROW(r.ReadByte(), EGlobeException);
  }
  std::filesystem::remove(name);
  EXPECT_THROW(OpenMappedFileStream(name), EGlobeException);
  EXPECT_THROW(TGlobeFileStream(name, TGlobeFileStream::TMode::fmOpenRead), EGlobeException);
}

}  // namespace
}  // namespace globe
