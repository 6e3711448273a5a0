#include <gtest/gtest.h>

#include <span>
#include <vector>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/view/GlobeBrush.h"
#include "globe/view/PointPresenter.h"
#include "globe/view/PolyPresenter.h"
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

// Headings and recon sectors of every kind (through north, of no width, in steps that jump to the
// sector's end) are in the demos' kept output; these are the edges.
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
    EXPECT_EQ(Layer(kTrackingLayer).ObjectSource()->Count(), 4);
    const TGeoPoint a(900'000, 1'800'000), b(1'800'000, 2'700'000);
    force->SetLocation(a);
    force->SetLocation(b);
    EXPECT_EQ(force->GetCentroid(), b);
    for (TOverlay* overlay : {force->TrackOverlay, force->RouteOverlay}) {
        ASSERT_EQ(overlay->Force, force);
        const globe::TPointStore& chain = overlay->Chains().Chain(0);
        ASSERT_EQ(chain.Count(), 2);
        EXPECT_EQ(chain.Point(1), b);
    }
    EXPECT_EQ(force->SpareOverlay->Chains().Chain(0).Count(), 0);
    force->FreeOverlays();
    EXPECT_EQ(Layer(kTrackingLayer).ObjectSource()->Count(), 1);
}

TEST_F(MapObjectTest, BasePresentersAreSharedPerSideAndKind) {
    Layer(kBasesLayer);
    TBase& port1 = NewBase(0, 1);
    TBase& port2 = NewBase(0, 3);
    TBase& airfield = NewBase(0, 0);
    TBase& allied = NewBase(1, 2);
    for (TBase* base : {&port1, &port2, &airfield, &allied}) base->AttachToBaseLayer(globe, dialogs);
    EXPECT_TRUE(dialogs.Reports().empty());
    globe::TGlobePresenterStore& store = *Layer(kBasesLayer).Presenters();
    ASSERT_EQ(store.Count(), 3);  // named as in the demos' kept output
    EXPECT_EQ(port1.PresenterID(), port2.PresenterID());
    const auto presenter = [&](const TBase& base) {
        return dynamic_cast<const globe::TPointPresenter*>(store.ByID(base.PresenterID(), false));
    };
    ASSERT_TRUE(presenter(port1) && presenter(airfield) && presenter(allied));
    EXPECT_EQ(presenter(port1)->PointType(), globe::ppCircle);
    EXPECT_EQ(presenter(port1)->PointBrush().BrushColor(), 0x0000FFu);
    EXPECT_EQ(presenter(airfield)->PointType(), globe::ppTriangleUp);
    EXPECT_EQ(presenter(allied)->PointBrush().BrushColor(), 0xFF0000u);
}

TEST_F(MapObjectTest, PresenterOfTheEnvironmentIsReusedWithItsStyle) {
    auto own = std::make_unique<globe::TPointPresenter>(&globe, 0);
    own->SetName("AxisPort");
    own->SetPointSize(3);
    const std::int32_t id = Layer(kBasesLayer).Presenters()->Add(std::move(own));
    TBase& base = NewBase(0, 1);
    base.AttachToBaseLayer(globe, dialogs);
    EXPECT_EQ(base.PresenterID(), id);
    EXPECT_EQ(Layer(kBasesLayer).Presenters()->Count(), 1);
}

TEST_F(MapObjectTest, BaseWithoutBasesLayerIsReported) {
    TBase* base = Layer("Other").ObjectSource()->NewObject<TBase>();
    base->AttachToBaseLayer(globe, dialogs);
    EXPECT_EQ(dialogs.Reports(), std::vector<std::string>{"Error finding base layer!"});
    EXPECT_EQ(base->PresenterID(), 0);
}

TEST_F(MapObjectTest, ForceAndZonePresentersAreFoundByPenColour) {
    const std::int32_t red = PointPresenterFor(globe, 0x0000FF);
    EXPECT_EQ(PointPresenterFor(globe, 0x0000FF), red);
    EXPECT_NE(PointPresenterFor(globe, 0xFF0000), red);
    const std::int32_t grey = PolyPresenterFor(globe, 0x808080);
    EXPECT_NE(PolyPresenterFor(globe, 0x000000), grey);
    EXPECT_EQ(PolyPresenterFor(globe, 0x808080), grey);
    EXPECT_EQ(Layer(kTrackingLayer).Presenters()->Count(), 4);

    globe::TGlobeLayer& subs1 = Layer(kAlliedSubsLayer);
    globe::TGlobeLayer& subs0 = Layer(kAxisSubsLayer);
    const std::int32_t zone1 = PolygonPresenterFor(subs1, 0x0000FF);
    EXPECT_EQ(PolygonPresenterFor(subs1, 0x0000FF), zone1);
    PolygonPresenterFor(subs0, 0x0000FF);
    EXPECT_EQ(subs0.Presenters()->Count(), 1);  // its own, though of the same colour
    const auto* polygon = dynamic_cast<globe::TPolygonPresenter*>(subs1.Presenters()->ByID(zone1, false));
    ASSERT_NE(polygon, nullptr);
    EXPECT_EQ(polygon->PolyBrush().BrushStyle(), globe::bsClear);
    // Letter case does not matter when a layer is looked up.
    EXPECT_EQ(&LayerByNameOrNew(globe, "trackinglayer"), &Layer(kTrackingLayer));
}

// Each call as a line of text.
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
