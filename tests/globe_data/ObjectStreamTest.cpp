// The layer-file form of map objects: header fields, chains and lone points.

#include <gtest/gtest.h>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/GlobeStream.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"
#include "globe/data/LYRChainStream.h"

namespace globe {
namespace {

std::string Written(TGlobeObject& object) {
  TGlobeMemoryStream stream;
  TGlobeStreamWriter writer(stream);
  object.WriteToStream(writer);
  return stream.Bytes();
}

void ReadInto(TGlobeObject& object, const std::string& bytes) {
  TGlobeMemoryStream stream(bytes);
  TGlobeStreamReader reader(stream);
  object.ReadFromStream(reader);
}

TEST(ObjectStream, LineObjectWithAllHeaderFieldsRoundTrips) {
  TCustomVoduz4 globe;
  TGlobeObjectSource* source = globe.NewObjectSource<TGlobeObjectSource>();
  TGeoDataObject* area = source->NewObject<TGeoDataObject>();
  area->SetTitle("Coast");
  area->SetID(7);
  area->SetZoomMin(1);
  area->SetZoomMax(9);
  area->SetPresenterID(-1);
  TPointStore& minutes = area->Chains().Chain(0);
  minutes.Add(TGeoPoint(0, 0));
  minutes.Add(TGeoPoint(90'000, 180'000));
  minutes.Add(TGeoPoint(180'000, 0));
  TPointStore& fine = area->Chains().Chain(1);
  fine.Add(TGeoPoint(1'234'567, -7'654'321));
  fine.Add(TGeoPoint(1'234'000, -7'654'000));
  area->SetClosed(true);

  const std::string bytes = Written(*area);
  const uint16_t flags = static_cast<uint16_t>(static_cast<uint8_t>(bytes[0]) | static_cast<uint8_t>(bytes[1]) << 8);
  // The first chain: whole minutes with small steps, so 8 + 4 + 4 delta bytes beat 3 × 8 in full.
  EXPECT_EQ(flags, ofHasTitle | ofHasID | ofHasZoomRange | ofClosed | ofMultipleChains | ofMinutes | ofDelta);
  // Word flags, title (1 + 5), ID, two zoom limits: the presenter follows as the Word 65535.
  EXPECT_EQ(static_cast<uint8_t>(bytes[20]), 0xFF);
  EXPECT_EQ(static_cast<uint8_t>(bytes[21]), 0xFF);

  TGeoDataObject copy(nullptr);
  ReadInto(copy, bytes);
  EXPECT_EQ(copy.Title(), "Coast");
  EXPECT_EQ(copy.ID(), 7);
  EXPECT_EQ(copy.ZoomMin(), 1);
  EXPECT_EQ(copy.ZoomMax(), 9);
  EXPECT_EQ(copy.PresenterID(), -1);
  EXPECT_TRUE(copy.Closed());
  ASSERT_EQ(copy.Chains().Count(), 2);
  for (int c = 0; c < 2; ++c) {
    const TPointStore& expected = area->Chains().Chain(c);
    const TPointStore& got = copy.Chains().Chain(c);
    ASSERT_EQ(got.Count(), expected.Count());
    for (int i = 0; i < got.Count(); ++i) EXPECT_EQ(got.Point(i), expected.Point(i));
  }
  EXPECT_EQ(copy.GetBounds(), area->GetBounds());
}

TEST(ObjectStream, PointObjectIsWrittenAsTwoIntegersWithOnlyTheNoChainsFlag) {
  TGeoDataObject point(nullptr);
  point.SetCentroid(TGeoPoint(-3 * 90'000, 45 * 90'000, 123));
  const std::string bytes = Written(point);
  // Flags 32, presenter 0, then the centre as two Integers (whole minutes or not, no height).
  const std::string expected = std::string("\x20\x00", 2) + std::string("\x00\x00", 2) +
                               std::string("\x50\xE1\xFB\xFF", 4) + std::string("\x50\xCC\x3D\x00", 4);
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ(point.ObjectFlags(), ofNoChains);

  TGeoDataObject copy(nullptr);
  ReadInto(copy, bytes);
  EXPECT_EQ(copy.Chains().Count(), 0);
  EXPECT_EQ(copy.GetCentroid(), TGeoPoint(-3 * 90'000, 45 * 90'000, 0));
  EXPECT_EQ(copy.GetBounds(), TGeoRect(-3 * 90'000, 45 * 90'000, 0, 0));
}

TEST(ObjectStream, PointObjectsInMinutesOrWithHeightsStillRead) {
  struct Case {
    const char* Name;
    std::string Bytes;
    TGeoPoint Centre;
  };
  const Case cases[] = {
      // Flags 32 + 8: the centre as two SmallInt minute counts (-3, 45).
      {"minutes", std::string("\x28\x00\x00\x00\xFD\xFF\x2D\x00", 8), TGeoPoint(-3 * 90'000, 45 * 90'000)},
      // Flags 32 + 4: three Integers.
      {"height", std::string("\x24\x00\x00\x00\x01\x00\x00\x00\x02\x00\x00\x00\x03\x00\x00\x00", 16),
       TGeoPoint(1, 2, 3)},
  };
  for (const Case& c : cases) {
    TGeoDataObject copy(nullptr);
    ReadInto(copy, c.Bytes);
    EXPECT_EQ(copy.Chains().Count(), 0) << c.Name;
    EXPECT_EQ(copy.GetCentroid(), c.Centre) << c.Name;
  }
}

TEST(ObjectStream, TruncatedDataFailsCleanly) {
  TGeoDataObject line(nullptr);
  line.Chains().Chain(0).Add(TGeoPoint(1, 2));
  line.Chains().Chain(0).Add(TGeoPoint(3, 4));
  const std::string bytes = Written(line);
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    TGeoDataObject copy(nullptr);
    EXPECT_THROW(ReadInto(copy, bytes.substr(0, cut)), EGlobeException) << "cut at " << cut;
  }
}

}  // namespace
}  // namespace globe
