#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/GlobePresenter.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"
#include "globe/data/LYRReader.h"
#include "TempFile.h"

namespace globe {
namespace {

using testing::TempDir;

constexpr int32_t kDegree = 5400000;

// A presenter that draws nothing: enough to carry presenter blocks through a file.
class TTestLYRPresenter : public TGlobePresenter {
public:
    TTestLYRPresenter(TCustomVoduz4* globe, int32_t id) : TGlobePresenter(globe, id) {}
    std::string ClassName() const override { return "TTestLYRPresenter"; }
    TGlobeFont& TitleFont() override { throw std::logic_error("no title font"); }
    const TGlobeFont& TitleFont() const override { throw std::logic_error("no title font"); }
    // Its record: the ID and the name.
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

class LYRReaderTest : public ::testing::Test {
protected:
    LYRReaderTest() {
        RegisterPresenterClass<TTestLYRPresenter>("TTestLYRPresenter");
        globe.SetSaveMetaDataLocation(smdDiscard);
    }

    // A source with a named presenter and three objects of different kinds.
    TGlobeObjectSource& MakeSource() {
        TGlobeObjectSource& source = *globe.NewObjectSource<TGlobeObjectSource>();
        auto presenter = std::make_unique<TTestLYRPresenter>(&globe, 12);
        presenter->SetName("Coast");
        source.Presenters()->Add(std::move(presenter));

        auto* point = source.NewObject<TGeoDataObject>();
        point->SetCentroid(TGeoPoint(10 * kDegree + 7, -20 * kDegree));
        point->SetTitle("Harbour");
        point->SetID(42);
        point->SetPresenterID(-1);

        auto* area = source.NewObject<TGeoDataObject>();
        area->SetClosed(true);
        for (const auto& ring : {std::vector<TGeoPoint>{{0, 0}, {0, kDegree}, {kDegree, kDegree}, {kDegree, 0}, {0, 0}},
                                 std::vector<TGeoPoint>{{5 * kDegree, 5 * kDegree}, {5 * kDegree + 17, 5 * kDegree},
                                                        {5 * kDegree, 5 * kDegree + 3}, {5 * kDegree, 5 * kDegree}}}) {
            TPointStore& chain = area->Chains().Chain(area->Chains().Count());
            for (const TGeoPoint& p : ring)
                chain.Add(p);
        }
        area->SetPresenterID(12);

        auto* line = source.NewObject<TGeoDataObject>();
        line->SetZoomMin(3);
        line->SetZoomMax(9);
        TPointStore& chain = line->Chains().Chain(0);
        chain.Add(TGeoPoint(-179 * kDegree, 1));
        chain.Add(TGeoPoint(179 * kDegree, 2));
        return source;
    }

    TGlobeLYRReader& Open(const std::string& fileName) {
        reader->SetFileName(fileName);
        reader->SetActive(true);
        return *reader;
    }

    std::vector<TGeoPoint> Points(TGlobeObject* object, int chain) {
        std::vector<TGeoPoint> out;
        const TPointStore& store = dynamic_cast<TGeoDataObject&>(*object).Chains().Chain(chain);
        for (int32_t i = 0; i < store.Count(); ++i)
            out.push_back(store.Point(i));
        return out;
    }

    TCustomVoduz4 globe;
    TGlobeLYRReader* reader = globe.NewObjectSource<TGlobeLYRReader>();
    TempDir dir;
};

TEST_F(LYRReaderTest, WrittenLayersReadBack) {
    TGlobeObjectSource& source = MakeSource();
    const std::string name = dir.File("layer.lyr");
    SaveLYRFile(source, name);
    Open(name);
    ASSERT_TRUE(reader->Active());
    EXPECT_EQ(reader->Name(), "layer.lyr");
    ASSERT_EQ(reader->Presenters()->Count(), 1);
    EXPECT_EQ(reader->Presenters()->Presenters(0)->Name(), "Coast");
    EXPECT_EQ(reader->Presenters()->Presenters(0)->PresenterID(), 12);
    ASSERT_EQ(reader->Count(), 3);

    auto& point = dynamic_cast<TGeoDataObject&>(*reader->Objects(0));
    EXPECT_EQ(point.Chains().Count(), 0);
    EXPECT_EQ(point.GetCentroid(), TGeoPoint(10 * kDegree + 7, -20 * kDegree));
    EXPECT_EQ(point.Title(), "Harbour");
    EXPECT_EQ(point.ID(), 42);
    EXPECT_EQ(point.PresenterID(), -1);   // the Word 65535 reads back as -1

    auto& area = dynamic_cast<TGeoDataObject&>(*reader->Objects(1));
    EXPECT_TRUE(area.Closed());
    ASSERT_EQ(area.Chains().Count(), 2);
    EXPECT_EQ(Points(&area, 0).size(), 5u);
    EXPECT_EQ(Points(&area, 1), (std::vector<TGeoPoint>{{5 * kDegree, 5 * kDegree}, {5 * kDegree + 17, 5 * kDegree},
                                                         {5 * kDegree, 5 * kDegree + 3}, {5 * kDegree, 5 * kDegree}}));
    EXPECT_EQ(area.PresenterID(), 12);

    auto& line = dynamic_cast<TGeoDataObject&>(*reader->Objects(2));
    EXPECT_FALSE(line.Closed());
    EXPECT_EQ(line.ZoomMin(), 3);
    EXPECT_EQ(line.ZoomMax(), 9);
    EXPECT_EQ(Points(&line, 0), (std::vector<TGeoPoint>{{-179 * kDegree, 1}, {179 * kDegree, 2}}));

    // Objects are read again from the file after a flush.
    reader->Flush();
    EXPECT_EQ(reader->Objects(2)->ZoomMax(), 9);
    reader->SetActive(false);
    EXPECT_EQ(reader->Presenters()->Count(), 0);
}

TEST_F(LYRReaderTest, OldVersionsAreRefused) {
    const std::string name = dir.Write("old.lyr", std::string("\xFF\x02", 2) + std::string(20, '\0'));
    try {
        Open(name);
        FAIL() << "accepted version 0x2FF";
    } catch (const EGlobeException& e) {
        EXPECT_EQ(std::string(e.what()), "Invalid File Version 2FF in " + name);
    }
    EXPECT_FALSE(reader->Active());
}

TEST_F(LYRReaderTest, PresentersOnlyGiveAnEmptyLayer) {
    TGlobeObjectSource& source = *globe.NewObjectSource<TGlobeObjectSource>();
    source.Presenters()->Add(std::make_unique<TTestLYRPresenter>(&globe, 3));
    const std::string name = dir.File("p.lyr");
    SaveLYRFile(source, name);
    Open(name);
    EXPECT_TRUE(reader->Active());
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
            for (int32_t n = 0; n < reader->Count(); ++n)
                reader->Objects(n);
        } catch (const EGlobeException&) {
        }
    }
}

} // namespace
} // namespace globe

namespace globe {
namespace {

TEST_F(LYRReaderTest, SecondOpeningUsesTheIndexFile) {
    globe.SetSaveMetaDataLocation(smdWithDataFile);
    int mappings = 0;
    globe.OnProgress = [&](TCustomVoduz4&, TProgressMessage kind, const std::string&, bool&) {
        mappings += kind == pmStart;
    };
    const std::string name = dir.File("layer.lyr");
    SaveLYRFile(MakeSource(), name);
    Open(name);
    reader->SetActive(false);
    TGlobeLYRReader* second = globe.NewObjectSource<TGlobeLYRReader>();
    second->SetFileName(name);
    second->SetActive(true);
    EXPECT_EQ(mappings, 1);
    ASSERT_EQ(second->Count(), 3);
    ASSERT_EQ(second->Presenters()->Count(), 1);
    EXPECT_EQ(second->Presenters()->Presenters(0)->Name(), "Coast");
    EXPECT_TRUE(second->GetObjectData(1).HasState(osClosed));
    EXPECT_EQ(second->Objects(0)->Title(), "Harbour");
    EXPECT_EQ(second->Objects(2)->ZoomMax(), 9);
    EXPECT_EQ(Points(second->Objects(2), 0), (std::vector<TGeoPoint>{{-179 * kDegree, 1}, {179 * kDegree, 2}}));
}

} // namespace
} // namespace globe
