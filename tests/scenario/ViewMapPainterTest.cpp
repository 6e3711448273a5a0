#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "globe/view/Voduz4.h"
#include "platform/testing/RecordingDrawingSurface.h"
#include "platform/LocalFileSystem.h"
#include "platform/RegionalSettings.h"
#include "scenario/Base.h"
#include "scenario/LoadCheck.h"
#include "scenario/ScenarioState.h"
#include "scenario/ScenarioLayers.h"
#include "scenario/ViewMapPainter.h"
#include "tests/support/RecordingMapFixture.h"

namespace scenario {
namespace {

using corvalis::testing::DegreesBetween;
using globe::TGeoPoint;
using platform::testing::DrawOp;
using platform::testing::RecordingDrawingSurface;

constexpr std::int32_t kDeg = 5'400'000;

class ViewMapPainterTest : public corvalis::testing::RecordingMapFixture {
protected:
    void SetUp() override { ShowFlatWorld(); }
    TBase& NewBase(std::int32_t side, const TGeoPoint& at) {
        TBase* base = LayerByNameOrNew(view, kBasesLayer).ObjectSource()->NewObject<TBase>();
        base->Side = side;
        base->SetCentroid(at);
        return *base;
    }
    // Paints the view with the bases' passes in its render event.
    void PaintBases(const std::vector<TBase*>& bases) {
        view.OnRender = [bases](globe::TVoduz4& v) { DrawBasesOnView(bases, v); };
        PaintNow();
    }
    // The polylines drawn with a pen of this width and style.
    std::vector<platform::testing::DrawCall> LinesWithPen(int width, platform::TPenStyle style) {
        std::vector<platform::testing::DrawCall> lines;
        for (const auto& call : window.Calls(DrawOp::Polyline))
            if (call.State.CurrentPen.Width == width && call.State.CurrentPen.Style == style) lines.push_back(call);
        return lines;
    }
};

TEST_F(ViewMapPainterTest, MinefieldCircleDrawnDashedInTheSideColourAtItsRadius) {
    const TGeoPoint centre(10 * kDeg, 40 * kDeg, 0);
    TBase& mined = NewBase(0, centre);
    mined.Mines = 5 * kDeg;
    PaintBases({&mined});
    const auto circles = LinesWithPen(3, platform::psDash);
    ASSERT_FALSE(circles.empty());
    std::size_t points = 0;
    for (const auto& call : circles) {
        EXPECT_EQ(call.State.CurrentPen.Color, 0x0000FFu);  // side 0 draws red
        for (const auto& p : call.Points) {
            TGeoPoint g;
            if (!view.DeviceXYToLL(p.X, p.Y, g)) continue;
            EXPECT_NEAR(DegreesBetween(g, centre), 5.0, 0.5);
            ++points;
        }
    }
    EXPECT_GE(points, 60u);
}

TEST(LoadCheckViewTest, LoadedDemoBasesDrawTheirMinefieldsOnTheCheckView) {
    const std::filesystem::path startDir = std::filesystem::current_path();
    const std::string programDir = std::string(CORVALIS_SOURCE_DIR) + "/data";
    platform::LocalFileSystem files;
    TLoadCheck check(files, platform::RegionalSettings{}, programDir);
    check.Run(programDir + "/Scenarios/Crete1941");
    std::filesystem::current_path(startDir);  // loading changes it
    ASSERT_TRUE(check.Messages().empty());
    globe::TVoduz4& view = check.View();
    view.SetClientSize(400, 300);
    view.LocateToLL(24 * kDeg, 35 * kDeg);  // Crete in the middle
    std::vector<TBase*> bases = check.State().BaseList;
    view.OnRender = [bases](globe::TVoduz4& v) { DrawBasesOnView(bases, v); };
    RecordingDrawingSurface window{400, 300};
    view.RedrawGlobe();
    view.Paint(window);
    view.OnRender = nullptr;
    int minefieldLines = 0;
    for (const auto& call : window.Calls(DrawOp::Polyline))
        if (call.State.CurrentPen.Width == 3 && call.State.CurrentPen.Style == platform::psDash) ++minefieldLines;
    EXPECT_GT(minefieldLines, 0);  // several allied bases of the demo have mines
}

}  // namespace
}  // namespace scenario
