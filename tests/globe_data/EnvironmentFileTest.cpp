// Environment files: persistent classes in their elements, saving and loading the globe's layers,
// and what bad files leave behind.

#include <gtest/gtest.h>

#include <tuple>

#include "GlobeDataFixtures.h"
#include "TempFile.h"
#include "globe/data/GlobeENVPersistent.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/XmlDocument.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using Names = std::vector<std::string>;
using corvalis::testing::ThrownMessage;
using testing::ReadWholeFile;

// A small persistent class as engine classes write them: an attribute, a unit and a child.
class TSample : public TGlobeENVPersistent {
 public:
  std::string ClassName() const override { return "TSample"; }
  void LoadEnvironment(const TGXML_Element* e) override {
    ++Loads;
    if (!e) return;
    Name = e->Attribute("Name", Name);
    Units = UnitAttribute(*e, "Units", Units);
    if (const TGXML_Element* child = e->Element("Child")) ChildFlag = child->Attribute("Flag", false);
  }
  std::unique_ptr<TGXML_Element> SaveEnvironment() const override {
    auto e = TGlobeENVPersistent::SaveEnvironment();
    e->AddAttribute("Name", Name);
    AddUnitAttribute(*e, "Units", Units);
    e->AddElement("Child")->AddAttribute("Flag", ChildFlag);
    return e;
  }

  std::string Name = "none";
  TGlobeUnitTypes Units = TGlobeUnitTypes::NauticalMile;
  bool ChildFlag = false;
  int Loads = 0;
};

struct EnvironmentFixture : ::testing::Test {
  testing::TempDir dir;
  void SetUp() override { testing::RegisterTestSources(); }

  // An environment file in the scratch directory with the given layer elements.
  std::string Write(const char* name, const std::string& layers, const std::string& tail = "") {
    return dir.Write(name, "<TGlobe DataDirectory=\"" + dir.Path.string() + "\" MinTextHeight=\"7\">\r\n <LayerStore>\r\n" +
                               layers + " </LayerStore>\r\n</TGlobe>\r\n" + tail);
  }
  static Names LayerNames(TCustomVoduz4& globe) {
    Names names;
    for (int i = 0; i < globe.LayerStore().Count(); ++i) names.push_back(globe.LayerStore().Layers(i)->Name());
    return names;
  }
};

TEST_F(EnvironmentFixture, PersistentClassesSaveToAndLoadFromTheirElement) {
  TSample a, b;
  a.Name = "Coast lines";
  a.Units = TGlobeUnitTypes::Kilometer;
  a.ChildFlag = true;
  a.SaveToFile(dir.File("a.env"));
  EXPECT_EQ(ReadWholeFile(dir.File("a.env")), "<TSample Name=\"Coast lines\" Units=\"KM\">\r\n <Child Flag=\"T\" />\r\n</TSample>\r\n");
  EXPECT_TRUE(b.LoadFromFile(dir.File("a.env")));
  EXPECT_EQ(std::tuple(b.Name, b.Units, b.ChildFlag), std::tuple("Coast lines", TGlobeUnitTypes::Kilometer, true));
  // The first element of its class only; absent attributes keep the current value.
  dir.Write("b.env", "<Other Name=\"wrong\" />\r\n<TSample Name=\"first\" />\r\n<TSample Name=\"second\" Units=\"XX\" />");
  EXPECT_TRUE(b.LoadFromFile(dir.File("b.env")));
  EXPECT_EQ(std::tuple(b.Name, b.Units), std::tuple("first", TGlobeUnitTypes::Kilometer));
  // A missing file tells it with a null element, a file without its element changes nothing.
  EXPECT_FALSE(b.LoadFromFile(dir.File("missing.env")));
  EXPECT_TRUE(b.LoadFromFile(dir.Write("c.env", "<TGlobe />")));
  EXPECT_EQ(std::tuple(b.Loads, b.Name), std::tuple(4, "first"));
  TGXML_Document doc;
  doc.LoadFromText("<TSample Units=\"XX\" />");
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { b.LoadEnvironment(doc.Root().Element("TSample")); }),
            "StrToUnits: Unknown Unit XX");
}

TEST_F(EnvironmentFixture, SeveralLayersSurviveSaveLoadSave) {
  const std::string first = dir.File("first.env"), second = dir.File("second.env");
  {
    TCustomVoduz4 globe;
    dir.Write("coast.dat", "data");
    globe.SetDataDirectory(dir.Path.string());
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
  EXPECT_EQ(loadedName, first);
  EXPECT_EQ(LayerNames(globe), (Names{"Bases", "Coast", "Lines"}));
  TGlobeLayer* coast = globe.LayerStore().LayerByName("coast");
  EXPECT_EQ(std::tuple(coast->ObjectSource()->ClassName(), coast->ObjectSource()->Active(), coast->ZoomMax(), coast->Modified()),
            std::tuple("TFileCheckingReader", true, 5000, false));
  EXPECT_EQ(globe.SurfaceColor(), platform::MakeColor(0x12, 0x34, 0x56));
  globe.SaveEnvironmentFile(second);
  EXPECT_EQ(ReadWholeFile(second), text);
}

TEST_F(EnvironmentFixture, ALayerWhoseFileIsMissingIsDroppedAndTheRestLoads) {
  const std::string name = Write("missing.env",
                                 "  <Layer Class=\"TGlobeLayer\" Name=\"Before\" />\r\n"
                                 "  <Layer Class=\"TGlobeLayer\" Name=\"Gone\">\r\n"
                                 "   <Objects Class=\"TFileCheckingReader\" Filename=\"nowhere.dat\" />\r\n"
                                 "  </Layer>\r\n"
                                 "  <Layer Class=\"TGlobeLayer\" Name=\"After\" />\r\n");
  TCustomVoduz4 globe;
  Names notFound;
  globe.OnFileNotFound = [&](TCustomVoduz4&, std::string& f, bool&) { notFound.push_back(f); };
  globe.SetEnvironmentFile(name);
  EXPECT_EQ(notFound, Names{"nowhere.dat"});
  EXPECT_EQ(LayerNames(globe), (Names{"Before", "After"}));  // the dropped layer's reader went with it
  EXPECT_EQ(std::tuple(globe.ObjectSourceCount(), globe.MinTextHeight(), globe.EnvironmentFile()), std::tuple(2, 7, name));
}

// An unknown class or unit stops the load with its message and leaves no half-loaded layer; the
// view goes on working.
TEST_F(EnvironmentFixture, UnknownClassesAndUnitsStopTheLoadWithTheirMessages) {
  TCustomVoduz4 globe;
  globe.LayerStore().NewLayer()->SetName("Old");
  const std::string unknown = Write("unknown.env",
                                    "  <Layer Class=\"TGlobeLayer\" Name=\"Kept\" />\r\n"
                                    "  <Layer Class=\"TNoSuchLayer\" Name=\"Odd\" />\r\n"
                                    "  <Layer Class=\"TGlobeLayer\" Name=\"Never\" />\r\n");
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { globe.SetEnvironmentFile(unknown); }), "Class TNoSuchLayer not found");
  EXPECT_EQ(std::tuple(globe.EnvironmentFile(), LayerNames(globe)), std::tuple("", Names{"Kept"}));
  const std::string source = Write("source.env",
                                   "  <Layer Class=\"TGlobeLayer\" Name=\"Odd\">\r\n"
                                   "   <Objects Class=\"TNoSuchReader\" />\r\n  </Layer>\r\n");
  EXPECT_THROW(globe.SetEnvironmentFile(source), EGlobeException);
  EXPECT_EQ(std::tuple(globe.LayerStore().Count(), globe.ObjectSourceCount()), std::tuple(0, 0));
  globe.LayerStore().NewLayer()->ObjectSource()->NewObject<TGeoDataObject>();
  EXPECT_EQ(globe.LayerStore().Layers(0)->ObjectSource()->Count(), 1);
  const std::string unit = Write("unit.env", "  <Layer Class=\"TGlobeLayer\" ZoomUnits=\"XX\" />\r\n");
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { globe.SetEnvironmentFile(unit); }), "StrToUnits: Unknown Unit XX");
  EXPECT_EQ(globe.LayerStore().Count(), 0);
}

// A file written by hand with faults loads what can be read; each repair is reported.
TEST_F(EnvironmentFixture, AFaultyFileLoadsWithItsRepairsReported) {
  const std::string name = Write("faulty.env",
                                 "  <Layer Class=\"TGlobeLayer\" Name=\"Land\" ShowTitles />\r\n"
                                 "  <Layer Class=\"TGlobeLayer\" Name=\"Sea />\r\n"
                                 "  <Layer Class=\"TGlobeLayer\" Name=\"Air\" />\r\n",
                                 "</TGlobe>\r\n<TGlobe MinTextHeight=\"9\" />\r\n");
  TCustomVoduz4 globe;
  Names warnings;
  globe.OnEnvironmentWarning = [&](TCustomVoduz4&, const std::string& text) { warnings.push_back(text); };
  globe.SetEnvironmentFile(name);
  const std::string file = "Environment file " + name + ", ";
  EXPECT_EQ(warnings,
            (Names{file + "line 3: \"ShowTitles\" in <Layer> is not an attribute (name=\"value\") and is ignored",
                   file + "line 4: a quote of <Layer> is not closed: the tag ends at the first \">\"",
                   file + "line 4: the value of Name in <Layer> has no closing quote: it runs to the end of the tag",
                   file + "line 8: closing tag </TGlobe> without an open element: the rest is ignored"}));
  EXPECT_EQ(std::tuple(globe.EnvironmentFile(), globe.MinTextHeight(), LayerNames(globe)),
            std::tuple(name, 7, Names{"Land", "Sea", "Air"}));
  globe.SetEnvironmentFile(dir.File("absent.env"));  // a missing file leaves the view cleared
  EXPECT_EQ(std::tuple(globe.EnvironmentFile(), globe.LayerStore().Count()), std::tuple("", 0));
}

}  // namespace
}  // namespace globe
