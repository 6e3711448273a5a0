// Environment files: saving and loading the globe's layers, and what bad files leave behind.

#include <gtest/gtest.h>

#include "GlobeDataFixtures.h"
#include "TempFile.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"

namespace globe {
namespace {

using testing::ReadWholeFile;
using testing::TempDir;

struct EnvironmentFixture : ::testing::Test {
  TempDir dir;
  void SetUp() override { testing::RegisterTestSources(); }

  // A view whose data directory is the scratch directory, holding one map file "coast.dat".
  void Prepare(TCustomVoduz4& globe) {
    dir.Write("coast.dat", "data");
    globe.SetDataDirectory(dir.Path.string());
  }

  std::string EnvironmentText(const char* layers) {
    return std::string("<TGlobe DataDirectory=\"") + dir.Path.string() +
           "\" MinTextHeight=\"7\">\r\n <LayerStore>\r\n" + layers + " </LayerStore>\r\n</TGlobe>\r\n";
  }
};

TEST_F(EnvironmentFixture, SeveralLayersSurviveSaveLoadSave) {
  const std::string first = dir.File("first.env");
  const std::string second = dir.File("second.env");
  {
    TCustomVoduz4 globe;
    Prepare(globe);
    globe.SetSurfaceColor(platform::MakeColor(0x12, 0x34, 0x56));
    globe.SetMaxTextHeight(40);
    TGlobeLayer* bases = globe.LayerStore().NewLayer();
    bases->SetName("Bases");
    bases->SetShowTitles(false);
    TGlobeLayer* coast = globe.LayerStore().NewLayer();
    auto* reader = globe.NewObjectSource<testing::TFileCheckingReader>();
    reader->SetFileName("coast.dat");
    coast->SetObjectSource(reader);
    coast->SetName("Coast");
    coast->SetZoomUnits(TGlobeUnitTypes::Kilometer);
    coast->SetZoomMin(5);
    coast->SetZoomMax(5000);
    coast->SetVisible(false);
    TGlobeLayer* lines = globe.LayerStore().NewLayer();
    lines->SetObjectSource(globe.NewObjectSource<testing::TLineReader>());
    lines->SetName("Lines");
    lines->SetAnimated(true);
    lines->SetEnabled(false);
    globe.SaveEnvironmentFile(first);
  }
  const std::string text = ReadWholeFile(first);
  EXPECT_NE(text.find("Filename=\"coast.dat\""), std::string::npos) << text;  // relative to the data
  EXPECT_NE(text.find("ZoomUnits=\"KM\""), std::string::npos) << text;

  TCustomVoduz4 globe;
  std::string loadedName;
  globe.OnLoadEnvironment = [&](TCustomVoduz4& g, TGXML_Document&) { loadedName = g.EnvironmentFile(); };
  globe.SetEnvironmentFile(first);
  EXPECT_EQ(globe.EnvironmentFile(), first);
  EXPECT_EQ(loadedName, first);
  ASSERT_EQ(globe.LayerStore().Count(), 3);
  TGlobeLayer* coast = globe.LayerStore().LayerByName("coast");
  ASSERT_NE(coast, nullptr);
  EXPECT_EQ(coast->ObjectSource()->ClassName(), "TFileCheckingReader");
  EXPECT_TRUE(coast->ObjectSource()->Active());
  EXPECT_EQ(coast->ZoomMax(), 5000);
  EXPECT_FALSE(coast->Visible());
  EXPECT_FALSE(coast->Modified());
  EXPECT_TRUE(globe.LayerStore().LayerByName("Lines")->Animated());
  EXPECT_EQ(globe.MaxTextHeight(), 40);
  EXPECT_EQ(globe.SurfaceColor(), platform::MakeColor(0x12, 0x34, 0x56));

  globe.SaveEnvironmentFile(second);
  EXPECT_EQ(ReadWholeFile(second), text);
}

TEST_F(EnvironmentFixture, ALayerWhoseFileIsMissingIsDroppedAndTheRestLoads) {
  const std::string name = dir.Write(
      "missing.env",
      EnvironmentText("  <Layer Class=\"TGlobeLayer\" Name=\"Before\" />\r\n"
                      "  <Layer Class=\"TGlobeLayer\" Name=\"Gone\">\r\n"
                      "   <Objects Class=\"TFileCheckingReader\" Filename=\"nowhere.dat\" />\r\n"
                      "  </Layer>\r\n"
                      "  <Layer Class=\"TGlobeLayer\" Name=\"After\" />\r\n"));
  TCustomVoduz4 globe;
  std::vector<std::string> notFound;
  globe.OnFileNotFound = [&](TCustomVoduz4&, std::string& f, bool&) { notFound.push_back(f); };
  globe.SetEnvironmentFile(name);
  EXPECT_EQ(notFound, std::vector<std::string>{"nowhere.dat"});
  ASSERT_EQ(globe.LayerStore().Count(), 2);
  EXPECT_EQ(globe.LayerStore().Layers(0)->Name(), "Before");
  EXPECT_EQ(globe.LayerStore().Layers(1)->Name(), "After");
  EXPECT_EQ(globe.ObjectSourceCount(), 2);  // the dropped layer's reader went with it
  EXPECT_EQ(globe.MinTextHeight(), 7);
  EXPECT_EQ(globe.EnvironmentFile(), name);
}

TEST_F(EnvironmentFixture, AnUnknownClassStopsTheLoadWithTheRegistryMessage) {
  const std::string name = dir.Write(
      "unknown.env", EnvironmentText("  <Layer Class=\"TGlobeLayer\" Name=\"Kept\" />\r\n"
                                     "  <Layer Class=\"TNoSuchLayer\" Name=\"Odd\" />\r\n"
                                     "  <Layer Class=\"TGlobeLayer\" Name=\"Never\" />\r\n"));
  TCustomVoduz4 globe;
  globe.LayerStore().NewLayer()->SetName("Old");
  try {
    globe.SetEnvironmentFile(name);
    FAIL();
  } catch (const EGlobeException& e) {
    EXPECT_STREQ(e.what(), "Class TNoSuchLayer not found");
  }
  EXPECT_EQ(globe.EnvironmentFile(), "");
  ASSERT_EQ(globe.LayerStore().Count(), 1);
  EXPECT_EQ(globe.LayerStore().Layers(0)->Name(), "Kept");
}

TEST_F(EnvironmentFixture, AnUnknownSourceClassLeavesNoHalfLoadedLayer) {
  const std::string name = dir.Write(
      "source.env", EnvironmentText("  <Layer Class=\"TGlobeLayer\" Name=\"Odd\">\r\n"
                                    "   <Objects Class=\"TNoSuchReader\" />\r\n"
                                    "  </Layer>\r\n"));
  TCustomVoduz4 globe;
  EXPECT_THROW(globe.SetEnvironmentFile(name), EGlobeException);
  EXPECT_EQ(globe.LayerStore().Count(), 0);
  EXPECT_EQ(globe.ObjectSourceCount(), 0);
  // The view goes on working.
  TGlobeLayer* layer = globe.LayerStore().NewLayer();
  layer->ObjectSource()->NewObject<TGeoDataObject>();
  EXPECT_EQ(layer->ObjectSource()->Count(), 1);
}

TEST_F(EnvironmentFixture, AnUnknownZoomUnitIsReported) {
  const std::string name =
      dir.Write("unit.env", EnvironmentText("  <Layer Class=\"TGlobeLayer\" ZoomUnits=\"XX\" />\r\n"));
  TCustomVoduz4 globe;
  try {
    globe.SetEnvironmentFile(name);
    FAIL();
  } catch (const EGlobeException& e) {
    EXPECT_STREQ(e.what(), "StrToUnits: Unknown Unit XX");
  }
  EXPECT_EQ(globe.LayerStore().Count(), 0);
}

// A file written by hand with faults loads what can be read; each repair is reported.
TEST_F(EnvironmentFixture, AFaultyFileLoadsWithItsRepairsReported) {
  const std::string name = dir.Write(
      "faulty.env", EnvironmentText("  <Layer Class=\"TGlobeLayer\" Name=\"Land\" ShowTitles />\r\n"
                                    "  <Layer Class=\"TGlobeLayer\" Name=\"Sea />\r\n"
                                    "  <Layer Class=\"TGlobeLayer\" Name=\"Air\" />\r\n") +
                        "</TGlobe>\r\n<TGlobe MinTextHeight=\"9\" />\r\n");
  TCustomVoduz4 globe;
  std::vector<std::string> warnings;
  globe.OnEnvironmentWarning = [&](TCustomVoduz4&, const std::string& text) { warnings.push_back(text); };
  globe.SetEnvironmentFile(name);
  const std::string file = "Environment file " + name + ", ";
  const std::vector<std::string> expected = {
      file + "line 3: \"ShowTitles\" in <Layer> is not an attribute (name=\"value\") and is ignored",
      file + "line 4: a quote of <Layer> is not closed: the tag ends at the first \">\"",
      file + "line 4: the value of Name in <Layer> has no closing quote: it runs to the end of the tag",
      file + "line 8: closing tag </TGlobe> without an open element: the rest is ignored",
  };
  EXPECT_EQ(warnings, expected);
  EXPECT_EQ(globe.EnvironmentFile(), name);
  EXPECT_EQ(globe.MinTextHeight(), 7);
  ASSERT_EQ(globe.LayerStore().Count(), 3);
  EXPECT_EQ(globe.LayerStore().Layers(0)->Name(), "Land");
  EXPECT_EQ(globe.LayerStore().Layers(1)->Name(), "Sea");
  EXPECT_EQ(globe.LayerStore().Layers(2)->Name(), "Air");
}

TEST_F(EnvironmentFixture, AMissingFileLeavesTheViewCleared) {
  TCustomVoduz4 globe;
  globe.LayerStore().NewLayer();
  globe.SetEnvironmentFile(dir.File("absent.env"));
  EXPECT_EQ(globe.EnvironmentFile(), "");
  EXPECT_EQ(globe.LayerStore().Count(), 0);
}

}  // namespace
}  // namespace globe
