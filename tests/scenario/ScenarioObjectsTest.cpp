#include <gtest/gtest.h>

#include <span>
#include <vector>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/view/PointPresenter.h"
#include "platform/testing/ScriptedDialogs.h"
#include "scenario/Base.h"
#include "scenario/BaseDrawing.h"
#include "scenario/CompassBearing.h"
#include "scenario/Force.h"
#include "scenario/Overlay.h"
#include "scenario/ScenarioLayers.h"

namespace scenario {
namespace {

using globe::TGeoPoint;

// The demos' kept output has the headings and recon sectors; these are the edges.
TEST(CompassBearingTest, AnglesAndBearingSums) {
    // 400 degrees do not fit in 32 bits and wrap like the original: 2,160,000,000 - 2^32.
    EXPECT_EQ(BearingToAngle(-40), -2'134'967'296);
    EXPECT_EQ(AddBearing(350, 20), 10);
    EXPECT_EQ(AddBearing(-400, 0), -40);  // the remainder keeps the dividend's sign
}

class MapObjectTest : public ::testing::Test {
protected:
    globe::TGlobeLayer& Layer(std::string_view name) { return LayerByNameOrNew(globe, name); }
    TBase& NewBase(std::int32_t side, std::int32_t port) {
        TBase* base = Layer(kBasesLayer).ObjectSource()->NewObject<TBase>();
        base->Side = side;
        base->Port = port;
        return *base;
    }

    globe::TCustomVoduz4 globe;
    platform::testing::ScriptedDialogs dialogs;
};

TEST_F(MapObjectTest, ForceHeadingAndLocationExtendTrackAndRoute) {
    TForce* force = TForce::CreateIn(*Layer(kTrackingLayer).ObjectSource());
    const TGeoPoint b(1'800'000, 2'700'000);
    force->SetLocation(TGeoPoint(900'000, 1'800'000));
    force->SetLocation(b);
    EXPECT_EQ(force->GetCentroid(), b);
    for (TOverlay* overlay : {force->TrackOverlay, force->RouteOverlay}) {
        const globe::TPointStore& chain = overlay->Chains().Chain(0);
        ASSERT_EQ(chain.Count(), 2);
        EXPECT_EQ(chain.Point(1), b);
    }
    force->FreeOverlays();
    EXPECT_EQ(Layer(kTrackingLayer).ObjectSource()->Count(), 1);
}

// Without a bases layer a base is reported; the environment's presenter is reused.
TEST_F(MapObjectTest, PresenterOfTheEnvironmentIsReusedAndNoBasesLayerReported) {
    TBase* other = Layer("Other").ObjectSource()->NewObject<TBase>();
    other->AttachToBaseLayer(globe, dialogs);
    EXPECT_EQ(dialogs.Reports(), std::vector<std::string>{"Error finding base layer!"});
    EXPECT_EQ(other->PresenterID(), 0);
    auto own = std::make_unique<globe::TPointPresenter>(&globe, 0);
    own->SetName("AxisPort");
    const std::int32_t id = Layer(kBasesLayer).Presenters()->Add(std::move(own));
    TBase& base = NewBase(0, 1);
    base.AttachToBaseLayer(globe, dialogs);
    EXPECT_EQ(base.PresenterID(), id);
    EXPECT_EQ(Layer(kBasesLayer).Presenters()->Count(), 1);
}

class RecordingPainter : public TMapPainter {
public:
    void SetPen(globe::TColor color, platform::TPenStyle style, std::int32_t width) override {
        calls.push_back("pen " + std::to_string(color) + " " + std::to_string(style) + " " + std::to_string(width));
    }
    void RenderPolyline(std::span<const TGeoPoint> points) override {
        calls.push_back("line " + std::to_string(points.size()));
    }
    void RenderCircle(const TGeoPoint&, std::int32_t radius, std::int32_t segments) override {
        calls.push_back("circle " + std::to_string(radius) + " " + std::to_string(segments));
    }
    std::vector<std::string> calls;
};

TEST_F(MapObjectTest, RangeAndMinefieldPasses) {
    TBase& withMines = NewBase(1, 1);
    withMines.Mines = 900'000;
    TBase& without = NewBase(0, 0);  // strike range 0, no mines
    RecordingPainter ranges;
    DrawBaseRanges({&withMines, &without}, ranges);
    const std::string dotted = " " + std::to_string(platform::psDot) + " 1", solid = " " + std::to_string(platform::psSolid) + " 1";
    // Per base its recon outline in the side colour, then its strike circle in grey (drawn for a
    // range of 0 too).
    EXPECT_EQ(ranges.calls, (std::vector<std::string>{"pen 16711680" + dotted, "line 23", "pen 8421504" + solid,
                                                      "circle 0 72", "pen 255" + dotted, "line 23", "pen 8421504" + solid,
                                                      "circle 0 72"}));
    RecordingPainter mines;
    DrawMinefields({&withMines, &without}, mines);
    EXPECT_EQ(mines.calls, (std::vector<std::string>{"pen 16711680 " + std::to_string(platform::psDash) + " 3",
                                                     "circle 900000 72"}));
}

}  // namespace
}  // namespace scenario
