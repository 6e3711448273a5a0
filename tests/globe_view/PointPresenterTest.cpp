// Point presenter behaviour besides persistence: copies, the font-symbol coupling, pictures by
// name, and the search for an equivalent presenter that file readers share presenters with.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "globe/data/CustomVoduz4.h"
#include "globe/view/GlobeBrush.h"
#include "globe/view/GlobeFont.h"
#include "globe/view/GlobePen.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/view/PointPresenter.h"
#include "globe/view/PolyPresenter.h"
#include "globe/view/PresenterClasses.h"
#include "tests/globe_data/TempFile.h"
#include "tests/support/BitmapFiles.h"

namespace globe {
namespace {

class PointPresenterTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterPresenterClasses(); }
  TCustomVoduz4 Globe;
};

// A 2 x 2 bitmap file of 24 bits, bottom-up: bottom row blue, green; top row red, white.
std::string TinyBitmapFile() {
  const std::string bottom = std::string("\xFF\x00\x00\x00\xFF\x00", 6) + std::string(2, '\0');
  const std::string top = std::string("\x00\x00\xFF\xFF\xFF\xFF", 6) + std::string(2, '\0');
  return corvalis::testing::BitmapFile(2, 2, 24, "", bottom + top);
}

TEST_F(PointPresenterTest, CloneIsAnIndependentCopyOfTheSameClass) {
  TPointPresenter point(&Globe, 8);
  point.SetName("Ships");
  point.SetPointType(ppDiamond);
  point.SetPointSize(11);
  point.SetMaxPointSize(30);
  point.PointPen().SetPenColor(0x0000FF);
  point.TitleFont().SetFontSize(14);
  point.SetImage(std::make_unique<platform::Bitmap24>(3, 2, 0x00FF00));

  std::unique_ptr<TGlobePresenter> clone = point.Clone();
  auto* copy = dynamic_cast<TPointPresenter*>(clone.get());
  ASSERT_NE(nullptr, copy);
  EXPECT_EQ(&Globe, copy->Globe());
  EXPECT_EQ(8, copy->PresenterID());
  EXPECT_EQ("Ships", copy->Name());
  EXPECT_EQ(ppDiamond, copy->PointType());
  EXPECT_EQ(11, copy->PointSize());
  EXPECT_EQ(30, copy->MaxPointSize());
  EXPECT_EQ(14, copy->TitleFont().FontSize());
  ASSERT_NE(nullptr, copy->Image());
  EXPECT_NE(point.Image(), copy->Image());
  EXPECT_EQ(0x00FF00u, copy->Image()->Pixel(2, 1));

  copy->PointPen().SetPenColor(0xFF0000);
  copy->TitleFont().SetFontSize(20);
  copy->SetImage(nullptr);
  EXPECT_EQ(0x0000FFu, point.PointPen().PenColor());
  EXPECT_EQ(14, point.TitleFont().FontSize());
  EXPECT_NE(nullptr, point.Image());

  TPolygonPresenter polygon(&Globe, 3);
  polygon.PolyBrush().SetBrushStyle(bsCross);
  auto polygonCopy = polygon.Clone();
  EXPECT_EQ("TPolygonPresenter", polygonCopy->ClassName());
  EXPECT_EQ(bsCross, dynamic_cast<TPolyPresenter&>(*polygonCopy).PolyBrush().BrushStyle());
}

TEST_F(PointPresenterTest, AssignBetweenFamiliesCopiesOnlyTheCommonFields) {
  TPolylinePresenter line(&Globe, 5);
  line.SetName("Route");
  line.SetTitleOffset(9);
  line.SetHidden(true);
  line.PolyPen().SetPenColor(0x00FFFF);

  TPointPresenter point(&Globe, 1);
  point.PointPen().SetPenColor(0x112233);
  point.SetPointSize(13);
  point.Assign(line);
  EXPECT_EQ(5, point.PresenterID());
  EXPECT_EQ("Route", point.Name());
  EXPECT_EQ(9, point.TitleOffset());
  EXPECT_TRUE(point.Hidden());
  EXPECT_EQ(0x112233u, point.PointPen().PenColor());
  EXPECT_EQ(13, point.PointSize());

  // Within the poly family the pen and brush go along.
  TPolygonPresenter polygon(&Globe, 2);
  polygon.Assign(line);
  EXPECT_EQ(0x00FFFFu, polygon.PolyPen().PenColor());
  EXPECT_EQ("TPolygonPresenter", polygon.ClassName());
}

TEST_F(PointPresenterTest, FontSymbolSizeAndUnitFollowIntoThePointFont) {
  TPointPresenter point(&Globe, 1);
  point.PointFont().SetFontSize(9);
  point.SetPointSize(20);  // not a font symbol: the font keeps its size
  EXPECT_EQ(9, point.PointFont().FontSize());

  point.SetPointType(ppFontSymbol);
  point.SetPointSize(24);
  point.SetPointUnit(TGlobeUnitTypes::Kilometer);
  EXPECT_EQ(24, point.PointFont().FontSize());
  EXPECT_EQ(TGlobeUnitTypes::Kilometer, point.PointFont().FontUnit());

  point.SetPointSize(-1);  // ignored
  EXPECT_EQ(24, point.PointSize());
  point.SetPointType(static_cast<TPointPresenterType>(11));  // ignored
  EXPECT_EQ(ppFontSymbol, point.PointType());
}

TEST_F(PointPresenterTest, ImageNameIsResolvedLoadedAndSavedRelative) {
  testing::TempDir dir;
  dir.Write("flag.bmp", TinyBitmapFile());
  Globe.SetDataDirectory(dir.Path.string());

  TPointPresenter point(&Globe, 1);
  point.SetImageName("flag.bmp");
  EXPECT_EQ((dir.Path / "flag.bmp").lexically_normal(),
            std::filesystem::path(point.ImageName()).lexically_normal());
  ASSERT_NE(nullptr, point.Image());
  EXPECT_EQ(2, point.Image()->Width());
  EXPECT_EQ(0x0000FFu, point.Image()->Pixel(0, 0));  // top-left red
  EXPECT_EQ(0xFF0000u, point.Image()->Pixel(0, 1));  // bottom-left blue
  EXPECT_EQ("flag.bmp", point.SaveEnvironment()->Attribute("ImageName", std::string_view()));

  // A picture given directly replaces the named one and clears the name.
  point.SetImage(std::make_unique<platform::Bitmap24>(1, 1));
  EXPECT_EQ("", point.ImageName());
  EXPECT_EQ(1, point.Image()->Width());

  // A name that cannot be resolved is stored empty and frees the picture.
  point.SetImageName("missing.bmp");
  EXPECT_EQ("", point.ImageName());
  EXPECT_EQ(nullptr, point.Image());
}

TEST_F(PointPresenterTest, EquivalentPresenterSearch) {
  TGlobePresenterStore store(&Globe);
  auto poly = std::make_unique<TPolyPresenter>(&Globe, 0);
  poly->PolyPen().SetPenColor(0x0000FF);
  store.Add(std::move(poly));
  auto red = std::make_unique<TPointPresenter>(&Globe, 0);
  red->PointPen().SetPenColor(0x0000FF);
  const int32_t redID = store.Add(std::move(red));
  auto blue = std::make_unique<TPointPresenter>(&Globe, 0);
  blue->PointPen().SetPenColor(0xFF0000);
  blue->TitleFont().SetFontName("Courier");
  const int32_t blueID = store.Add(std::move(blue));

  TGlobePen bluePen;
  bluePen.SetPenColor(0xFF0000);
  TGlobePen greenPen;
  greenPen.SetPenColor(0x00FF00);
  TGlobeBrush brush;  // equal to the presenters' own new brushes
  TGlobeFont courier;
  courier.SetFontName("Courier");
  courier.SetFontUnit(TGlobeUnitTypes::Pixel);
  courier.SetFontSize(9);

  EXPECT_EQ(blueID, FindEquivalentPointPresenter(store, &bluePen, &brush, nullptr, nullptr,
                                                 ppCircle, TGlobeUnitTypes::Pixel, 6, ""));
  // Attributes not given are not compared: the first point presenter matches.
  EXPECT_EQ(redID, FindEquivalentPointPresenter(store, nullptr, nullptr, nullptr, nullptr, ppCircle,
                                                TGlobeUnitTypes::Pixel, 6, ""));
  EXPECT_EQ(blueID, FindEquivalentPointPresenter(store, nullptr, nullptr, nullptr, &courier,
                                                 ppCircle, TGlobeUnitTypes::Pixel, 6, ""));
  EXPECT_EQ(0, FindEquivalentPointPresenter(store, &greenPen, nullptr, nullptr, nullptr, ppCircle,
                                            TGlobeUnitTypes::Pixel, 6, ""));
  EXPECT_EQ(0, FindEquivalentPointPresenter(store, &bluePen, nullptr, nullptr, nullptr, ppSquare,
                                            TGlobeUnitTypes::Pixel, 6, ""));
  EXPECT_EQ(0, FindEquivalentPointPresenter(store, &bluePen, nullptr, nullptr, nullptr, ppCircle,
                                            TGlobeUnitTypes::Meter, 6, ""));
  EXPECT_EQ(0, FindEquivalentPointPresenter(store, &bluePen, nullptr, nullptr, nullptr, ppCircle,
                                            TGlobeUnitTypes::Pixel, 7, ""));
  EXPECT_EQ(0, FindEquivalentPointPresenter(store, &bluePen, nullptr, nullptr, nullptr, ppCircle,
                                            TGlobeUnitTypes::Pixel, 6, "x.bmp"));
}

}  // namespace
}  // namespace globe
