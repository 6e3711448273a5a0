#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

#include "Points.h"
#include "TempFile.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/GlobePresenter.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"
#include "globe/data/LYRReader.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using testing::Deg;
using testing::PointsOf;
using Points = std::vector<TGeoPoint>;

// A presenter that draws nothing: enough to carry presenter blocks through a file. Its record:
// the ID and the name.
class TTestLYRPresenter : public TGlobePresenter {
 public:
  TTestLYRPresenter(TCustomVoduz4* globe, int32_t id) : TGlobePresenter(globe, id) {}
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
  void RenderObject(TCustomVoduz4&, TGlobeObject&, uint16_t) override {}

 protected:
  std::unique_ptr<TGlobePresenter> NewInstance(TCustomVoduz4* globe, int32_t id) const override {
    return std::make_unique<TTestLYRPresenter>(globe, id);
  }
};

const Points kHole = {{5 * Deg, 5 * Deg}, {5 * Deg + 17, 5 * Deg}, {5 * Deg, 5 * Deg + 3}, {5 * Deg, 5 * Deg}};
const Points kLine = {{-179 * Deg, 1}, {179 * Deg, 2}};

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
    for (TGeoPoint p : kHole) area->Chains().Chain(1).Add(p);
    area->SetPresenterID(12);
    auto* line = source.NewObject<TGeoDataObject>();
    line->SetZoomMin(3);
    line->SetZoomMax(9);
    for (TGeoPoint p : kLine) line->Chains().Chain(0).Add(p);
    return source;
  }

  TGlobeLYRReader& Open(const std::string& fileName, TGlobeLYRReader* into = nullptr) {
    TGlobeLYRReader& r = into ? *into : *reader;
    r.SetFileName(fileName);
    r.SetActive(true);
    return r;
  }
  static TGeoDataObject& Object(TGlobeLYRReader& r, int i) { return dynamic_cast<TGeoDataObject&>(*r.Objects(i)); }

  TCustomVoduz4 globe;
  TGlobeLYRReader* reader = globe.NewObjectSource<TGlobeLYRReader>();
  testing::TempDir dir;
};

TEST_F(LYRReaderTest, WrittenLayersReadBack) {
  const std::string name = dir.File("layer.lyr");
  SaveLYRFile(MakeSource(), name);
  Open(name);
  EXPECT_EQ(reader->Name(), "layer.lyr");
  ASSERT_EQ(reader->Presenters()->Count(), 1);
  EXPECT_EQ(reader->Presenters()->Presenters(0)->Name(), "Coast");
  EXPECT_EQ(reader->Presenters()->Presenters(0)->PresenterID(), 12);
  ASSERT_EQ(reader->Count(), 3);
  TGeoDataObject& point = Object(*reader, 0);
  EXPECT_EQ(point.Chains().Count(), 0);
  EXPECT_EQ(point.GetCentroid(), TGeoPoint(10 * Deg + 7, -20 * Deg));
  EXPECT_EQ(point.Title(), "Harbour");
  EXPECT_EQ(point.ID(), 42);
  EXPECT_EQ(point.PresenterID(), -1);  // the Word 65535 reads back as -1
  TGeoDataObject& area = Object(*reader, 1);
  EXPECT_TRUE(area.Closed());
  ASSERT_EQ(area.Chains().Count(), 2);
  EXPECT_EQ(PointsOf(area.Chains().Chain(1)), kHole);
  EXPECT_EQ(area.PresenterID(), 12);
  TGeoDataObject& line = Object(*reader, 2);
  EXPECT_FALSE(line.Closed());
  EXPECT_EQ(line.ZoomMin(), 3);
  EXPECT_EQ(PointsOf(line.Chains().Chain(0)), kLine);
  reader->Flush();  // objects are read again from the file
  EXPECT_EQ(reader->Objects(2)->ZoomMax(), 9);
  reader->SetActive(false);
  EXPECT_EQ(reader->Presenters()->Count(), 0);
}

TEST_F(LYRReaderTest, OldVersionsAreRefusedAndPresentersOnlyGiveAnEmptyLayer) {
  const std::string old = dir.Write("old.lyr", std::string("\xFF\x02", 2) + std::string(20, '\0'));
  EXPECT_EQ(corvalis::testing::ThrownMessage<EGlobeException>([&] { Open(old); }), "Invalid File Version 2FF in " + old);
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
    if (i >= 50) bytes[std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random)] ^= char(1 << (random() % 8));
    reader->SetActive(false);
    try {
      Open(dir.Write("bad.lyr", bytes));
      for (int32_t n = 0; n < reader->Count(); ++n) reader->Objects(n);
    } catch (const EGlobeException&) {
    }
  }
}

TEST_F(LYRReaderTest, SecondOpeningUsesTheIndexFile) {
  globe.SetSaveMetaDataLocation(smdWithDataFile);
  int mappings = 0;
  globe.OnProgress = [&](TCustomVoduz4&, TProgressMessage kind, const std::string&, bool&) { mappings += kind == pmStart; };
  const std::string name = dir.File("layer.lyr");
  SaveLYRFile(MakeSource(), name);
  Open(name).SetActive(false);
  TGlobeLYRReader& second = Open(name, globe.NewObjectSource<TGlobeLYRReader>());
  EXPECT_EQ(mappings, 1);
  ASSERT_EQ(second.Count(), 3);
  ASSERT_EQ(second.Presenters()->Count(), 1);
  EXPECT_EQ(second.Presenters()->Presenters(0)->Name(), "Coast");
  EXPECT_TRUE(second.GetObjectData(1).HasState(osClosed));
  EXPECT_EQ(second.Objects(0)->Title(), "Harbour");
  EXPECT_EQ(second.Objects(2)->ZoomMax(), 9);
  EXPECT_EQ(PointsOf(Object(second, 2).Chains().Chain(0)), kLine);
}

}  // namespace
}  // namespace globe
