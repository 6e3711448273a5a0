#include <gtest/gtest.h>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeException.h"
#include "globe/data/MIFFile.h"
#include "globe/data/MIFReader.h"
#include "globe/data/XmlElement.h"
#include "TempFile.h"

namespace globe {
namespace {

using testing::TempDir;

const std::string kData = CORVALIS_TEST_DATA_DIR;

class MIFReaderTest : public ::testing::Test {
protected:
    MIFReaderTest() {
        globe.SetSaveMetaDataLocation(smdDiscard);
        SetMIFPresenterFactory([this](TGlobeObjectSource&, const TMIFObject& object) {
            ++factoryCalls;
            return object.Statement == msRegion ? 7 : 8;
        });
    }
    ~MIFReaderTest() override { SetMIFPresenterFactory(nullptr); }

    TGeoDataObject& Object(int index) {
        auto* object = dynamic_cast<TGeoDataObject*>(reader->Objects(index));
        EXPECT_NE(object, nullptr);
        return *object;
    }

    TCustomVoduz4 globe;
    TGlobeMIFReader* reader = globe.NewObjectSource<TGlobeMIFReader>();
    int factoryCalls = 0;
    TempDir dir;
};

TEST_F(MIFReaderTest, CountriesWithTheirNamesAndPresenters) {
    reader->SetTitleColumn(1);
    reader->SetFileName(kData + "/ne_110m_countries.mif");
    reader->SetActive(true);
    ASSERT_TRUE(reader->Active());
    EXPECT_EQ(factoryCalls, 177);   // one presenter a styled object, made while mapping
    EXPECT_EQ(reader->Name(), "ne_110m_countries.mif");
    EXPECT_EQ(reader->MIDDelimiter(), ",");
    EXPECT_EQ(reader->MIFCoordSys(), "CoordSys Earth Projection 1, 104");
    EXPECT_EQ(reader->MIDColumnNames().size(), 2u);
    ASSERT_EQ(reader->Count(), 177);
    EXPECT_EQ(Object(0).Title(), "Fiji");
    EXPECT_EQ(Object(1).Title(), "Tanzania");
    EXPECT_TRUE(Object(0).Closed());
    EXPECT_EQ(Object(0).Chains().Count(), 2);
    EXPECT_EQ(Object(0).PresenterID(), 7);
    // Objects built again after a flush keep their presenters and make none.
    reader->Flush();
    EXPECT_EQ(Object(5).PresenterID(), 7);
    EXPECT_EQ(factoryCalls, 177);
}

TEST_F(MIFReaderTest, OtherTablesAreRefused) {
    const std::string name = dir.Write("m.mif", "Version 300\nCoordSys NonEarth Units \"m\"\nData\nPoint 1 2\n");
    reader->SetFileName(name);
    try {
        reader->SetActive(true);
        FAIL() << "accepted a table not in longitude/latitude";
    } catch (const EGlobeException& e) {
        EXPECT_STREQ(e.what(), "MIF Import only supports Lat/Long tables.");
    }
    EXPECT_FALSE(reader->Active());
    EXPECT_EQ(reader->Count(), 0);
}

TEST_F(MIFReaderTest, EnvironmentKeepsTheSettings) {
    reader->SetFileName(dir.Write("p.mif", "Version 300\nDelimiter \";\"\nData\nPoint 1 2\n"));
    reader->SetTitleColumn(2);
    reader->SetActive(true);
    EXPECT_EQ(reader->MIDDelimiter(), ";");
    const std::unique_ptr<TGXML_Element> element = reader->SaveEnvironment();
    TGlobeMIFReader* other = globe.NewObjectSource<TGlobeMIFReader>();
    other->LoadEnvironment(element.get());
    EXPECT_TRUE(other->Active());   // loading activates
    EXPECT_EQ(other->TitleColumn(), 2);
    EXPECT_EQ(other->MIDDelimiter(), ";");
    ASSERT_EQ(other->Count(), 1);
    EXPECT_EQ(other->Objects(0)->GetCentroid(), TGeoPoint::FromDegrees(1, 2));
}

} // namespace
} // namespace globe

namespace globe {
namespace {

TEST(MIFMetaData, SecondOpeningUsesTheIndexFile) {
    TempDir dir;
    dir.Write("c.mif", testing::ReadWholeFile(kData + "/ne_110m_countries.mif"));
    dir.Write("c.mid", testing::ReadWholeFile(kData + "/ne_110m_countries.mid"));
    TCustomVoduz4 globe;
    globe.SetSaveMetaDataLocation(smdWithDataFile);
    int mappings = 0;
    globe.OnProgress = [&](TCustomVoduz4&, TProgressMessage kind, const std::string&, bool&) {
        mappings += kind == pmStart;
    };
    auto open = [&] {
        TGlobeMIFReader* reader = globe.NewObjectSource<TGlobeMIFReader>();
        reader->SetTitleColumn(1);
        reader->SetFileName(dir.File("c.mif"));
        reader->SetActive(true);
        return reader;
    };
    TGlobeMIFReader* first = open();
    const TGeoRect bounds = first->Objects(1)->GetBounds();
    first->SetActive(false);
    TGlobeMIFReader* second = open();
    EXPECT_EQ(mappings, 1);
    ASSERT_EQ(second->Count(), 177);
    EXPECT_EQ(second->MIDDelimiter(), ",");
    EXPECT_EQ(second->MIFCoordSys(), "CoordSys Earth Projection 1, 104");
    EXPECT_EQ(second->MIDColumnNames().size(), 2u);
    EXPECT_EQ(second->ObjectBounds(1), bounds);
    EXPECT_EQ(second->Objects(1)->Title(), "Tanzania");
    EXPECT_TRUE(second->Objects(1)->Closed());
    second->SetActive(false);

    // The title column stored with the index comes back with it.
    TGlobeMIFReader* third = globe.NewObjectSource<TGlobeMIFReader>();
    third->SetFileName(dir.File("c.mif"));
    third->SetActive(true);
    EXPECT_EQ(mappings, 1);
    EXPECT_EQ(third->TitleColumn(), 1);
    EXPECT_EQ(third->Objects(1)->Title(), "Tanzania");
}

} // namespace
} // namespace globe
