// Layer files: the form of chains and map objects (encodings chosen by the points, the bytes they
// give, reading back from memory and mapped files) and the reader of whole files.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <tuple>
#include <stdexcept>

#include "Points.h"
#include "TempFile.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/GlobePresenter.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/data/GlobeStream.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"
#include "globe/data/LYRChainStream.h"
#include "globe/data/LYRReader.h"
#include "globe/data/MemoryMapStream.h"
#include "tests/support/BitmapFiles.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using Points = std::vector<TGeoPoint>;
using corvalis::testing::Le32;
using testing::Deg;
using testing::PointsOf;
using testing::StoreOf;

constexpr int32_t kMinute = 90000;

struct Written {
  uint16_t Flags;
  std::string Bytes;
};

Written Write(TPointStore& chain) {
  TGlobeMemoryStream stream;
  TGlobeStreamWriter writer(stream);
  const uint16_t flags = ChooseChainFlags(chain);
  WritePointList(writer, chain, flags);
  return {flags, stream.Bytes()};
}

TPointStore Read(const Written& written) {
  TGlobeMemoryStream stream(written.Bytes);
  TGlobeStreamReader reader(stream);
  TPointStore chain;
  ReadPointList(reader, chain, written.Flags);
  EXPECT_EQ(stream.Remaining(), 0);
  return chain;
}

// The encoding follows the points: differences (bytes in whole minutes, SmallInts otherwise)
// while steps are small, with an escape for a far one; minute precision while every coordinate
// is a whole minute; heights when one is not zero. The one addition to that rule: a height that
// is not a whole minute clears minute precision as well. Each chain reads back from memory and
// from a mapped file (decoded in place), and a file cut short raises, leaving the chain empty.
TEST(LYRChainStream, EncodingFollowsThePointsAndReadsBackFromMemoryAndMappedFiles) {
  testing::TempDir dir;
  constexpr int32_t m = kMinute, k = 200 * kMinute;  // steps of k are too large for differences
  const struct {
    const char* Name;
    Points Chain;
    uint16_t Flags;
    std::size_t Size;
  } cases[] = {
      // Count, first point as two 16-bit minute counts, two byte steps, an escaped full point.
      {"small steps in whole minutes", {{10 * m, 20 * m}, {11 * m, 19 * m}, {11 * m, 17 * m}, {-116 * m, 17 * m}},
       ofMinutes | ofDelta, 2 + 4 + 2 + 2 + 1 + 4},
      {"odd coordinates far apart", {{1, 2}, {500000001, -400000000}, {-3, 4}}, 0, 2 + 3 * 8},
      // Count, first point, one SmallInt step, an escaped step of exactly 32,767, one step back.
      {"odd coordinates near", {{1000001, 2}, {1000101, -30}, {1032868, -30}, {1032768, -30}}, ofDelta,
       2 + 8 + 4 + 10 + 4},
      {"whole minutes", {{0, 0}, {k, -k}, {2 * k, 0}}, ofMinutes, 2 + 3 * 4},
      {"a coordinate off a minute", {{0, 0}, {k, -k + 1}, {2 * k, 0}}, 0, 2 + 3 * 8},
      {"heights in whole minutes", {{0, 0, k}, {k, k, 0}, {2 * k, 0, -k}}, ofMinutes | ofHeights, 2 + 3 * 6},
      {"a height off a minute", {{0, 0, 5}, {k, k, 5}, {2 * k, 0, 7}}, ofHeights, 2 + 3 * 12},
      {"heights, small steps in minutes", {{0, 0, m}, {m, m, 0}, {2 * m, 0, m}}, ofMinutes | ofHeights | ofDelta,
       2 + 6 + 3 + 3},
      {"heights, small odd steps", {{0, 0, 5}, {7, 9, 5}, {2, 0, 7}}, ofHeights | ofDelta, 2 + 12 + 6 + 6},
  };
  for (const auto& c : cases) {
    TPointStore chain = StoreOf(c.Chain, true);
    const Written w = Write(chain);
    EXPECT_EQ(w.Flags & (ofMinutes | ofHeights | ofDelta | ofLongCount), c.Flags) << c.Name;
    EXPECT_EQ(w.Bytes.size(), c.Size) << c.Name;
    const TPointStore back = Read(w);
    EXPECT_EQ(back.StoreHeight(), (c.Flags & ofHeights) != 0) << c.Name;
    EXPECT_EQ(PointsOf(back), c.Chain) << c.Name;
    // Whole, then cut short at every length: the in-place decoding hands over to the stream
    // reader wherever the rest of a difference, escape or point is missing.
    for (std::size_t length = w.Bytes.size() + 1; length-- > 1;) {
      const bool cut = length < w.Bytes.size();
      TMemoryMapStream stream(dir.Write("chain.bin", cut ? w.Bytes.substr(0, length) : w.Bytes + "tail"));
      TGlobeStreamReader reader(stream);
      TPointStore read;
      if (cut) {
        EXPECT_THROW(ReadPointList(reader, read, w.Flags), EGlobeException) << c.Name << " cut to " << length;
        EXPECT_EQ(read.Count(), 0) << c.Name;
      } else {
        ReadPointList(reader, read, w.Flags);
        EXPECT_EQ(std::tuple(PointsOf(read), stream.Position()), std::tuple(c.Chain, int64_t(c.Size))) << c.Name;
      }
    }
  }
  TPointStore first = StoreOf(cases[0].Chain);
  EXPECT_EQ(Write(first).Bytes, std::string("\x04\x00\x0A\x00\x14\x00\x01\xFF\x00\xFE\x7F\x8C\xFF\x11\x00", 15));
}

// A difference may step past the 180-degree meridian (files of other writers): the point comes
// back normalised, from memory and from a mapped file alike.
TEST(LYRChainStream, DifferencesAcrossThe180DegreeMeridianAreNormalised) {
  testing::TempDir dir;
  // Count 3, first point 971,999,990 / 0, then steps of +100 / +1 and +5 / -1 as SmallInts.
  const std::string bytes = std::string("\x03\x00", 2) + Le32(971'999'990) + Le32(0) + std::string("\x64\x00\x01\x00", 4) +
                            std::string("\x05\x00\xFF\xFF", 4);
  const Points expected = {{971'999'990, 0}, {-971'999'910, 1}, {-971'999'905, 0}};
  TGlobeMemoryStream memory(bytes);
  TGlobeStreamReader fromMemory(memory);
  TPointStore a, b;
  ReadPointList(fromMemory, a, ofDelta);
  TMemoryMapStream mapped(dir.Write("across.bin", bytes + "tail"));
  TGlobeStreamReader fromFile(mapped);
  ReadPointList(fromFile, b, ofDelta);
  for (const TPointStore* read : {&a, &b}) {
    EXPECT_EQ(PointsOf(*read), expected);
    EXPECT_EQ(read->Packed().LongX(1), -971'999'910);  // stored so, not only handed out so
    EXPECT_EQ(read->Bounds(), StoreOf(expected).Bounds());
  }
}

TEST(LYRChainStream, DuplicatesAfterTheSecondPointAreDroppedAndCountedAhead) {
  const TGeoPoint a{0, 0}, b{kMinute, 0}, c{2 * kMinute, 0};
  TPointStore chain = StoreOf({a, a, b, c, c});
  Write(chain);
  EXPECT_EQ(PointsOf(chain), (Points{a, a, b, c}));
  for (const Points& points : std::vector<Points>{{}, {a, a, a}, {a, b, b, b, c, c}, {a, b, b, a, a, b}}) {
    TPointStore chain = StoreOf(points);
    const int32_t counted = WrittenPointCount(chain);
    Write(chain);
    EXPECT_EQ(counted, chain.Count()) << points.size();
  }
}

TEST(LYRChainStream, CountsAbove65535UseAnIntegerCountAndDataEndingEarlyRaises) {
  for (const int32_t count : {65535, 65536}) {
    TPointStore chain;
    chain.SetCount(count);
    for (int32_t i = 0; i < count; ++i) chain.SetPoint(i, TGeoPoint(i * 7, -(i % 1000)));
    const Written w = Write(chain);
    EXPECT_EQ((w.Flags & ofLongCount) != 0, count == 65536);
    EXPECT_EQ(Read(w).Count(), count);
  }
  EXPECT_THROW(Read({ofLongCount, std::string("\xFF\xFF\xFF\x7F", 4) + std::string(8, '\0')}), EGlobeException);
}

std::string WrittenBytes(TGlobeObject& object) {
  TGlobeMemoryStream stream;
  TGlobeStreamWriter writer(stream);
  object.WriteToStream(writer);
  return stream.Bytes();
}

std::unique_ptr<TGeoDataObject> ReadObject(const std::string& bytes) {
  TGlobeMemoryStream stream(bytes);
  TGlobeStreamReader reader(stream);
  auto object = std::make_unique<TGeoDataObject>(nullptr);
  object->ReadFromStream(reader);
  return object;
}

// A lone point: flags 32, presenter 0, then the centre as two Integers (whole minutes or not, no
// height); minute counts (flag 8) and heights (flag 4) still read.
TEST(ObjectStream, PointObjectsAreWrittenAsTwoIntegersAndReadInEveryForm) {
  TGeoDataObject point(nullptr);
  point.SetCentroid(TGeoPoint(-3 * 90'000, 45 * 90'000, 123));
  const std::string bytes = WrittenBytes(point);
  EXPECT_EQ(std::tuple(bytes, point.ObjectFlags()),
            std::tuple(std::string("\x20\x00\x00\x00\x50\xE1\xFB\xFF\x50\xCC\x3D\x00", 12), ofNoChains));
  const struct {
    std::string Bytes;
    TGeoPoint Centre;
  } cases[] = {
      {bytes, TGeoPoint(-3 * 90'000, 45 * 90'000, 0)},
      {std::string("\x28\x00\x00\x00\xFD\xFF\x2D\x00", 8), TGeoPoint(-3 * 90'000, 45 * 90'000)},
      {std::string("\x24\x00\x00\x00\x01\x00\x00\x00\x02\x00\x00\x00\x03\x00\x00\x00", 16), TGeoPoint(1, 2, 3)}};
  for (const auto& c : cases) {
    const auto copy = ReadObject(c.Bytes);
    EXPECT_EQ(std::tuple(copy->Chains().Count(), copy->GetCentroid(), copy->GetBounds()),
              std::tuple(0, c.Centre, TGeoRect(c.Centre.LongX, c.Centre.LatY, 0, 0)));
  }
}

TEST(ObjectStream, TruncatedDataFailsCleanly) {
  TGeoDataObject line(nullptr);
  line.Chains().Chain(0).Add(TGeoPoint(1, 2));
  line.Chains().Chain(0).Add(TGeoPoint(3, 4));
  const std::string bytes = WrittenBytes(line);
  for (size_t cut = 0; cut < bytes.size(); ++cut)
    EXPECT_THROW(ReadObject(bytes.substr(0, cut)), EGlobeException) << "cut at " << cut;
}

// A presenter that draws nothing: enough to carry presenter blocks through a file. Its record:
// the ID and the name.
class TTestLYRPresenter : public TGlobePresenter {
 public:
  TTestLYRPresenter(TGlobeHost* globe, int32_t id) : TGlobePresenter(globe, id) {}
  std::string ClassName() const override { return "TTestLYRPresenter"; }
  TGlobeFont& TitleFont() override { throw std::logic_error("no title font"); }
  const TGlobeFont& TitleFont() const override { throw std::logic_error("no title font"); }
  void WriteToStream(TGlobeStreamWriter& writer) const override {
    writer.WriteInteger(PresenterID());
    writer.WriteShortString(Name());
  }
  void ReadFromStream(TGlobeStreamReader& reader) override {
    SetPresenterID(reader.ReadInteger());
    SetName(reader.ReadShortString());
  }
  void RenderObject(TGlobeHost&, TGlobeObject&, uint16_t) override {}

 protected:
  std::unique_ptr<TGlobePresenter> NewInstance(TGlobeHost* globe, int32_t id) const override {
    return std::make_unique<TTestLYRPresenter>(globe, id);
  }
};

class LYRReaderTest : public ::testing::Test {
 protected:
  LYRReaderTest() {
    RegisterPresenterClass<TTestLYRPresenter>("TTestLYRPresenter");
    globe.SetSaveMetaDataLocation(smdDiscard);
  }
  // A source with a named presenter and three objects: a point, an area with a hole, a line.
  TGlobeObjectSource& MakeSource() {
    TGlobeObjectSource& source = *globe.NewObjectSource<TGlobeObjectSource>();
    auto presenter = std::make_unique<TTestLYRPresenter>(&globe, 12);
    presenter->SetName("Coast");
    source.Presenters()->Add(std::move(presenter));
    auto* point = source.NewObject<TGeoDataObject>();
    point->SetCentroid(TGeoPoint(10 * Deg + 7, -20 * Deg));
    point->SetTitle("Harbour");
    point->SetID(42);
    point->SetPresenterID(-1);
    auto* area = source.NewObject<TGeoDataObject>();
    area->SetClosed(true);
    for (TGeoPoint p : Points{{0, 0}, {0, Deg}, {Deg, Deg}, {Deg, 0}, {0, 0}}) area->Chains().Chain(0).Add(p);
    for (TGeoPoint p : Points{{5 * Deg, 5 * Deg}, {5 * Deg + 17, 5 * Deg}, {5 * Deg, 5 * Deg + 3}})
      area->Chains().Chain(1).Add(p);
    area->SetPresenterID(12);
    auto* line = source.NewObject<TGeoDataObject>();
    line->SetZoomMin(3);
    line->SetZoomMax(9);
    for (TGeoPoint p : Points{{-179 * Deg, 1}, {179 * Deg, 2}}) line->Chains().Chain(0).Add(p);
    return source;
  }
  TGlobeLYRReader& Open(const std::string& fileName, TGlobeLYRReader* into = nullptr) {
    TGlobeLYRReader& r = into ? *into : *reader;
    r.SetFileName(fileName);
    r.SetActive(true);
    return r;
  }
  TCustomVoduz4 globe;
  TGlobeLYRReader* reader = globe.NewObjectSource<TGlobeLYRReader>();
  testing::TempDir dir;
};

// Everything the file keeps of an object, as text.
std::string Described(TGlobeObject& object) {
  auto& o = dynamic_cast<TGeoDataObject&>(object);
  std::ostringstream text;
  text << o.Title() << " " << o.ID() << " " << o.PresenterID() << " " << o.Closed() << " " << o.ZoomMin() << "-"
       << o.ZoomMax() << " " << o.GetCentroid().LongX << "," << o.GetCentroid().LatY;
  for (int c = 0; c < o.Chains().Count(); ++c)
    for (const TGeoPoint& p : PointsOf(o.Chains().Chain(c))) text << (c ? " | " : " ") << p.LongX << "," << p.LatY;
  return text.str();
}

// Written layers read back, and again from the index file beside the data without a mapping pass.
TEST_F(LYRReaderTest, WrittenLayersReadBackAndSecondOpeningUsesTheIndexFile) {
  globe.SetSaveMetaDataLocation(smdWithDataFile);
  int mappings = 0;
  globe.OnProgress = [&](TCustomVoduz4&, TProgressMessage kind, const std::string&, bool&) {
    mappings += kind == pmStart;
  };
  TGlobeObjectSource& source = MakeSource();
  const std::string name = dir.File("layer.lyr");
  SaveLYRFile(source, name);
  for (TGlobeLYRReader* r : {reader, globe.NewObjectSource<TGlobeLYRReader>()}) {
    Open(name, r);
    EXPECT_EQ(mappings, 1);
    ASSERT_EQ(std::tuple(r->Name(), r->Presenters()->Count(), r->Count()), std::tuple("layer.lyr", 1, 3));
    EXPECT_EQ(std::tuple(r->Presenters()->Presenters(0)->Name(), r->Presenters()->Presenters(0)->PresenterID()),
              std::tuple("Coast", 12));
    EXPECT_TRUE(r->GetObjectData(1).HasState(osClosed));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Described(*r->Objects(i)), Described(*source.Objects(i)));
    EXPECT_EQ(r->Objects(0)->PresenterID(), -1);  // the Word 65535 reads back as -1
    r->Flush();                                    // objects are read again from the file
    EXPECT_EQ(Described(*r->Objects(2)), Described(*source.Objects(2)));
    r->SetActive(false);
    EXPECT_EQ(r->Presenters()->Count(), 0);
  }
}

TEST_F(LYRReaderTest, OldVersionsAreRefusedAndPresentersOnlyGiveAnEmptyLayer) {
  const std::string old = dir.Write("old.lyr", std::string("\xFF\x02", 2) + std::string(20, '\0'));
  EXPECT_EQ(corvalis::testing::ThrownMessage<EGlobeException>([&] { Open(old); }),
            "Invalid File Version 2FF in " + old);
  EXPECT_FALSE(reader->Active());
  TGlobeObjectSource& source = *globe.NewObjectSource<TGlobeObjectSource>();
  source.Presenters()->Add(std::make_unique<TTestLYRPresenter>(&globe, 3));
  const std::string name = dir.File("p.lyr");
  SaveLYRFile(source, name);
  Open(name);
  EXPECT_EQ(reader->Count(), 0);
  EXPECT_EQ(reader->Presenters()->Count(), 1);
  // Without the closing 0 the end of the file ends the layer too.
  const std::string bytes = testing::ReadWholeFile(name);
  reader->SetActive(false);
  Open(dir.Write("q.lyr", bytes.substr(0, bytes.size() - 4)));
  EXPECT_EQ(reader->Presenters()->Count(), 1);
}

// Cut and bit-flipped copies of a written layer: an error, never a crash.
TEST_F(LYRReaderTest, DamagedFilesNeverCrash) {
  const std::string name = dir.File("good.lyr");
  SaveLYRFile(MakeSource(), name);
  const std::string original = testing::ReadWholeFile(name);
  std::mt19937 random(9);
  for (int i = 0; i < 150; ++i) {
    std::string bytes = original.substr(0, i < 50 ? std::size_t(i) * original.size() / 50 : original.size());
    if (i >= 50)
      bytes[std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random)] ^= char(1 << (random() % 8));
    reader->SetActive(false);
    try {
      Open(dir.Write("bad.lyr", bytes));
      for (int32_t n = 0; n < reader->Count(); ++n) reader->Objects(n);
    } catch (const EGlobeException&) {
    }
  }
}

}  // namespace
}  // namespace globe
