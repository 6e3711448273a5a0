#include <gtest/gtest.h>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/data/MIFReader.h"
#include "globe/view/GlobeBrush.h"
#include "globe/view/GlobeFont.h"
#include "globe/view/GlobePen.h"
#include "globe/view/PointPresenter.h"
#include "globe/view/PolyPresenter.h"
#include "globe/view/PresenterClasses.h"
#include "tests/globe_data/TempFile.h"


namespace globe {
namespace {

class MIFPresentersTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterPresenterClasses(); }
    MIFPresentersTest() { globe.SetSaveMetaDataLocation(smdDiscard); }

    void Open(const std::string& body) {
        reader->SetFileName(dir.Write("t.mif", "Version 300\nCoordSys Earth Projection 1, 0\nData\n" + body));
        reader->SetActive(true);
    }
    TGlobePresenter* PresenterOf(int index) {
        return reader->Presenters()->ByID(reader->Objects(index)->PresenterID(), false);
    }

    testing::TempDir dir;   // outlives the reader of its file
    TCustomVoduz4 globe;
    TGlobeMIFReader* reader = globe.NewObjectSource<TGlobeMIFReader>();
};

TEST_F(MIFPresentersTest, StylesBecomePresentersSharedWhenEqual) {
    Open("Region 1\n 3\n0 0\n1 0\n0 0\n  Pen (2,2,0)\n  Brush (2,16711680)\n"
         "Region 1\n 3\n5 5\n6 5\n5 5\n  Pen (2,2,0)\n  Brush (2,16711680)\n"
         "Region 1\n 3\n5 5\n6 5\n5 5\n  Pen (2,2,0)\n  Brush (1,16711680)\n"
         "Pline 2\n0 0\n1 1\n  Pen (3,5,255)\n"
         "Text\n \"Cape\"\n 10 10 11 11\n  Font (\"Times\",0,9,65280)\n");
    ASSERT_EQ(reader->Count(), 5);
    EXPECT_EQ(reader->Presenters()->Count(), 4);

    auto* polygon = dynamic_cast<TPolygonPresenter*>(PresenterOf(0));
    ASSERT_NE(polygon, nullptr);
    EXPECT_EQ(polygon->PolyBrush().BrushColor(), 255u);   // red in the platform order
    EXPECT_EQ(polygon->PolyBrush().BrushStyle(), bsSolid);
    EXPECT_EQ(polygon->PolyPen().PenWidth(), 2);
    EXPECT_EQ(PresenterOf(1), PresenterOf(0));
    auto* hollow = dynamic_cast<TPolygonPresenter*>(PresenterOf(2));
    ASSERT_NE(hollow, nullptr);
    EXPECT_NE(hollow, polygon);
    EXPECT_EQ(hollow->PolyBrush().BrushStyle(), bsClear);

    auto* line = dynamic_cast<TPolylinePresenter*>(PresenterOf(3));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->PolyPen().PenStyle(), psDash);
    EXPECT_EQ(line->PolyPen().PenColor(), 0xFF0000u);

    auto* label = dynamic_cast<TPointPresenter*>(PresenterOf(4));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->PointFont().FontName(), "Times");
    EXPECT_EQ(label->PointFont().FontSize(), 9);
    EXPECT_EQ(label->PointFont().FontUnit(), TGlobeUnitTypes::Meter);
    EXPECT_EQ(label->TitleFont().FontName(), "Arial");
}

TEST_F(MIFPresentersTest, RebuildingAfterAFlushAddsNoPresenters) {
    Open("Region 1\n 3\n0 0\n1 0\n0 0\n  Brush (5,255)\nPline 2\n0 0\n1 1\n");
    const int32_t before = reader->Presenters()->Count();
    const int32_t id = reader->Objects(0)->PresenterID();
    reader->Flush();
    EXPECT_EQ(reader->Objects(0)->PresenterID(), id);
    reader->Objects(1);
    EXPECT_EQ(reader->Presenters()->Count(), before);
}

} // namespace
} // namespace globe
