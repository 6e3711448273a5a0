#include <gtest/gtest.h>

#include "FakeGlobeView.h"
#include "globe/view/GlobeBrush.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobeFont.h"
#include "globe/view/GlobePen.h"
#include "globe/view/GlobeProjection.h"
#include "platform/PatternResources.h"

namespace globe {
namespace {

using platform::BackgroundMode;
using platform::BrushKind;
using testing::FakeGlobeView;

struct AttributeFixture : testing::RecordingCanvasFixture {
  const platform::DrawingState& Selected() const { return window.State(); }
};

using GlobePenDrawing = AttributeFixture;

TEST_F(GlobePenDrawing, PixelPenIsSelectedWithTransparentBackground) {
  TGlobePen pen(clRed, psDash, 2);
  window.SetBackgroundMode(BackgroundMode::Opaque);
  EXPECT_TRUE(pen.Realize(canvas, false));
  EXPECT_EQ(Selected().CurrentPen, (platform::Pen{clRed, psDash, 2}));
  EXPECT_EQ(Selected().Background, BackgroundMode::Transparent);
  EXPECT_EQ(pen.BoundCanvas(), &canvas);
  // Selected objects are drawn in the view's selection pen.
  view.SelectionPen = platform::Pen{clYellow, psSolid, 4};
  pen.Realize(canvas, true);
  EXPECT_EQ(Selected().CurrentPen, (platform::Pen{clYellow, psSolid, 4}));
}

TEST_F(GlobePenDrawing, MapUnitPenWidensWhenZoomingIn) {
  TGlobePen pen(clBlack, psSolid, 10, TGlobeUnitTypes::Kilometer);
  view.P().SetScaleFactor(1e-4L);
  pen.Realize(canvas, false);
  EXPECT_EQ(Selected().CurrentPen.Width, 49);  // 485,961 GlobeUnit × 1e-4
  view.P().SetScaleFactor(2e-4L);
  pen.Realize(canvas, false);
  EXPECT_EQ(Selected().CurrentPen.Width, 97);
  // A pixel pen keeps its width at any zoom.
  TGlobePen thin(clBlack, psSolid, 3);
  thin.Realize(canvas, false);
  view.P().SetScaleFactor(1e-5L);
  thin.Realize(canvas, false);
  EXPECT_EQ(Selected().CurrentPen.Width, 3);
}

TEST_F(GlobePenDrawing, ChangesAndTintAreSeenAtTheNextRealize) {
  TGlobePen pen(clBlack, psSolid, 1);
  pen.Realize(canvas, false);
  pen.SetPenColor(clBlue);
  EXPECT_FALSE(pen.HandleAllocated());
  pen.Realize(canvas, false);
  EXPECT_EQ(Selected().CurrentPen.Color, clBlue);
  // A layer tint re-creates the pen in the tinted colour.
  pen.SetPenColor(clBlack);
  pen.Realize(canvas, false);
  canvas.SetTintPercent(50);
  canvas.SetTintColor(clSilver);
  pen.Realize(canvas, false);
  EXPECT_EQ(Selected().CurrentPen.Color, 0x606060u);
  // A copy is not bound to any canvas.
  EXPECT_EQ(pen.Clone()->BoundCanvas(), nullptr);
  EXPECT_FALSE(pen.Clone()->HandleAllocated());
}

TEST_F(GlobePenDrawing, OutputResolutionScalesPixelWidths) {
  TGlobePen pen(clBlack, psSolid, 2);
  canvas.SetOutputResolution(288);  // three times the screen's 96
  pen.Realize(canvas, false);
  EXPECT_EQ(Selected().CurrentPen.Width, 6);
}

using GlobeBrushDrawing = AttributeFixture;

TEST_F(GlobeBrushDrawing, StylesMakeSolidHollowHatchedAndPatternBrushes) {
  TGlobeBrush brush(clRed, bsSolid);
  brush.Realize(canvas, false);
  EXPECT_EQ(Selected().CurrentBrush.Kind, BrushKind::Solid);
  EXPECT_EQ(Selected().CurrentBrush.Color, clRed);
  brush.SetBrushStyle(bsClear);
  brush.Realize(canvas, false);
  EXPECT_EQ(Selected().CurrentBrush.Kind, BrushKind::Hollow);
  brush.SetBrushStyle(bsHorizontal);
  brush.Realize(canvas, false);
  EXPECT_EQ(Selected().CurrentBrush.Kind, BrushKind::Hatched);
  EXPECT_EQ(Selected().CurrentBrush.Hatch, platform::HatchStyle::Horizontal);
  brush.SetBrushStyle(bsDiagCross);
  brush.Realize(canvas, false);
  EXPECT_EQ(Selected().CurrentBrush.Hatch, platform::HatchStyle::DiagCross);
  // Pattern n loads "BRUSH_" + its ordinal: the first pattern is BRUSH_8, the last BRUSH_57.
  brush.SetBrushStyle(bsPattern1);
  EXPECT_TRUE(brush.Realize(canvas, false));
  EXPECT_EQ(Selected().CurrentBrush.Kind, BrushKind::Pattern);
  EXPECT_EQ(Selected().CurrentBrush.Pattern, *platform::FindPatternResource("BRUSH_8"));
  brush.SetBrushStyle(bsPattern50);
  brush.Realize(canvas, false);
  EXPECT_EQ(Selected().CurrentBrush.Pattern, *platform::FindPatternResource("BRUSH_57"));
}

TEST_F(GlobeBrushDrawing, PatternBackgroundIsOpaqueOnlyForTwoColours) {
  canvas.SetTintPercent(50);
  canvas.SetTintColor(clSilver);
  TGlobeBrush brush(clBlack, clWhite, bsPattern3);
  brush.Realize(canvas, false);
  EXPECT_EQ(Selected().Background, BackgroundMode::Opaque);
  EXPECT_EQ(Selected().BackgroundColor, 0xE0E0E0u);  // white tinted: 223.5 -> 224
  EXPECT_EQ(Selected().TextColor, 0x606060u);        // the pattern's 0 bits: black tinted
  brush.SetBrushBkColor(clBlack);
  brush.Realize(canvas, false);
  EXPECT_EQ(Selected().Background, BackgroundMode::Transparent);
  // Other styles never fill a background.
  TGlobeBrush hatch(clBlack, clWhite, bsCross);
  window.SetBackgroundMode(BackgroundMode::Opaque);
  hatch.Realize(canvas, false);
  EXPECT_EQ(Selected().Background, BackgroundMode::Transparent);
}

TEST_F(GlobeBrushDrawing, SelectedObjectsUseTheSelectionBrush) {
  TGlobeBrush brush(clBlue);
  brush.Realize(canvas, true);
  EXPECT_EQ(Selected().CurrentBrush, (platform::Brush{BrushKind::Solid, clYellow}));
}

using GlobeFontDrawing = AttributeFixture;

TEST_F(GlobeFontDrawing, FontIsMadeFromItsValues) {
  TGlobeFont font("Times", 12, TGlobeUnitTypes::Pixel, clBlue);
  font.SetFontAngle(450);
  font.SetFontStyle({fsBold, fsUnderline});
  window.SetTextAlign({platform::HorizontalAlign::Right, platform::VerticalAlign::Bottom});
  EXPECT_TRUE(font.Realize(canvas, false));
  const platform::Font& made = Selected().CurrentFont;
  EXPECT_EQ(made.Name, "Times");
  EXPECT_EQ(made.Height, 12);
  EXPECT_EQ(made.Escapement, 450);
  EXPECT_EQ(made.Weight, 700);
  EXPECT_TRUE(made.Underline);
  EXPECT_FALSE(made.Italic);
  EXPECT_EQ(Selected().TextColor, clBlue);
  EXPECT_EQ(Selected().Align, (platform::TextAlign{}));  // left / top
  EXPECT_EQ(Selected().Background, BackgroundMode::Transparent);
  font.Realize(canvas, true);
  EXPECT_EQ(Selected().TextColor, view.SelectionPen.Color);
}

TEST_F(GlobeFontDrawing, TextHeightLimits) {
  TGlobeFont tiny("Arial", 3, TGlobeUnitTypes::Pixel, clBlack);
  EXPECT_FALSE(tiny.Realize(canvas, false));  // below MinTextHeight 5: no text
  EXPECT_EQ(Selected().CurrentFont.Height, 0);
  view.MinText = 3;
  tiny.SetFontSize(4);
  EXPECT_TRUE(tiny.Realize(canvas, false));
  TGlobeFont large("Arial", 20, TGlobeUnitTypes::Pixel, clBlack);
  view.MaxText = 12;
  large.Realize(canvas, false);
  EXPECT_EQ(Selected().CurrentFont.Height, 12);
  EXPECT_EQ(large.PixelHeight(canvas), 20);
}

TEST_F(GlobeFontDrawing, MapUnitFontFollowsTheZoom) {
  TGlobeFont font("Arial", 1, TGlobeUnitTypes::NauticalMile, clBlack);
  view.P().SetScaleFactor(1e-4L);  // 1 NM = 90,000 GlobeUnit = 9 pixels
  font.Realize(canvas, false);
  EXPECT_EQ(Selected().CurrentFont.Height, 9);
  view.P().SetScaleFactor(2e-4L);
  font.Realize(canvas, false);
  EXPECT_EQ(Selected().CurrentFont.Height, 18);
  view.P().SetScaleFactor(2e-5L);  // 1.8 pixels: too small
  EXPECT_FALSE(font.Realize(canvas, false));
}

}  // namespace
}  // namespace globe
