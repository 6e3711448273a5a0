// Environment files: XML documents in the file layout, read leniently with their repairs reported,
// the attribute values of their elements, persistent classes in their elements, and the globe's
// layers saved and loaded.

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <locale>
#include <string>
#include <tuple>

#include "GlobeDataFixtures.h"
#include "TempFile.h"
#include "globe/data/FloatText.h"
#include "globe/data/GlobeColor.h"
#include "globe/data/GlobeENVPersistent.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/XmlDocument.h"
#include "globe/data/XmlElement.h"
#include "platform/ConvertError.h"
#include "platform/FileError.h"
#include "platform/testing/MemoryFileSystem.h"
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
    return dir.Write(name, "<TGlobe DataDirectory=\"" + dir.Path.string() +
                               "\" MinTextHeight=\"7\">\r\n <LayerStore>\r\n" + layers +
                               " </LayerStore>\r\n</TGlobe>\r\n" + tail);
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
  EXPECT_EQ(ReadWholeFile(dir.File("a.env")),
            "<TSample Name=\"Coast lines\" Units=\"KM\">\r\n <Child Flag=\"T\" />\r\n</TSample>\r\n");
  EXPECT_TRUE(b.LoadFromFile(dir.File("a.env")));
  EXPECT_EQ(std::tuple(b.Name, b.Units, b.ChildFlag), std::tuple("Coast lines", TGlobeUnitTypes::Kilometer, true));
  // The first element of its class only; absent attributes keep the current value.
  dir.Write("b.env",
            "<Other Name=\"wrong\" />\r\n<TSample Name=\"first\" />\r\n<TSample Name=\"second\" Units=\"XX\" />");
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
  EXPECT_EQ(std::tuple(coast->ObjectSource()->ClassName(), coast->ObjectSource()->Active(), coast->ZoomMax(),
                       coast->Modified()),
            std::tuple("TFileCheckingReader", true, 5000, false));
  EXPECT_EQ(std::tuple(globe.SurfaceColor(), globe.MaxTextHeight()),
            std::tuple(platform::MakeColor(0x12, 0x34, 0x56), 40));
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
  EXPECT_EQ(std::tuple(globe.ObjectSourceCount(), globe.MinTextHeight(), globe.EnvironmentFile()),
            std::tuple(2, 7, name));
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
                                   "   <Objects Class=\"TGlobeLayer\" />\r\n  </Layer>\r\n");
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { globe.SetEnvironmentFile(source); }),
            "Class TGlobeLayer does not inherit from TGlobeObjectSource");
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

// The text of a small environment-like tree, written out by hand from the layout rules:
// one blank of indentation per level, CR LF line ends, attribute-only elements self-closing.
const std::string kTree =
    "<TGlobe DataDirectory=\"C:\\Data\" MaxTextHeight=\"40\">\r\n"
    " <Projection Class=\"TGlobeProjection\" />\r\n"
    " <LayerStore>\r\n"
    "  <GlobalPresenters />\r\n"
    "  <Layer Name=\"Coast\" Visible=\"T\" />\r\n"
    " </LayerStore>\r\n"
    "</TGlobe>\r\n";

TEST(XmlDocumentTest, WritesTreeInFileLayoutAndReadsItBack) {
  TGXML_Document doc;
  TGXML_Element* globe = doc.Root().AddElement("TGlobe");
  globe->AddAttribute("DataDirectory", "C:\\Data");
  globe->AddAttribute("MaxTextHeight", int32_t{40});
  globe->AddElement("Projection")->AddAttribute("Class", "TGlobeProjection");
  TGXML_Element* store = globe->AddElement(" LayerStore ");  // tag names are trimmed
  store->AddElement("GlobalPresenters");
  TGXML_Element* layer = store->AddElement("Layer");
  layer->AddAttribute("Name", "  Coast ");  // values are trimmed
  layer->AddAttribute("Visible", true);
  EXPECT_EQ(doc.SaveToText(), kTree);
  doc.LoadFromText(kTree);
  EXPECT_EQ(doc.Root().Element("TGlobe")->Element("LayerStore")->Element("Layer")->Attribute("Name"), "Coast");
  EXPECT_EQ(doc.SaveToText(), kTree);
}

TEST(XmlDocumentTest, TextLinesSpecialCharactersAndLineBreaks) {
  TGXML_Document doc;
  doc.Root().AddText("  leading text ");
  TGXML_Element* a = doc.Root().AddElement("A");
  a->AddAttribute("v", "say \"hi\" <b> & 1>0");
  a->AddText("x < y & z");
  const std::string text = doc.SaveToText();
  EXPECT_EQ(text.find("leading text\r\n"), 0u);
  TGXML_Document back;
  back.LoadFromText(text);
  const TGXML_Element* b = back.Root().Element("A");
  ASSERT_EQ(b->Count(), 2);
  EXPECT_EQ(std::tuple(b->Attribute("v"), b->Line(1).Kind, b->Line(1).Name),
            std::tuple("say \"hi\" <b> & 1>0", TGXML_Element::TLineKind::lkText, "x < y & z"));
  EXPECT_EQ(back.SaveToText(), text);
  // Reading drops line breaks inside values and text, and keeps the order of text and children.
  back.LoadFromText("<A v=\"ab\r\ncd\" w=\"1\n2\" />\r\n<B>\r\n  some text  \r\n<C/></B>");
  EXPECT_EQ(back.Root().Element("A")->Attribute("v") + "|" + back.Root().Element("A")->Attribute("w"), "abcd|12");
  const TGXML_Element* withText = back.Root().Element("B");
  ASSERT_EQ(withText->Count(), 2);
  EXPECT_EQ(withText->Line(0).Name, "some text");
  EXPECT_TRUE(withText->Line(1).Child->OnlyAttributes());
}

// Faulty text is read the lenient way, keeping what can be read; each repair is a warning
// naming its line.
TEST(XmlDocumentTest, FaultyTextIsRepairedWithWarnings) {
  const struct {
    const char* Text;
    const char* Tree;  // what was read, written out
    std::vector<std::string> Warnings;
  } cases[] = {
      {"<A />\r\n</A><B />", "<A />\r\n", {"line 2: closing tag </A> without an open element: the rest is ignored"}},
      {"<>", "", {"line 1: closing tag <> without an open element: the rest is ignored"}},
      {"<A b=\"1 />\n<C d=\"2\" />",
       "<A b=\"1\" />\r\n<C d=\"2\" />\r\n",
       {"line 1: a quote of <A> is not closed: the tag ends at the first \">\"",
        "line 1: the value of b in <A> has no closing quote: it runs to the end of the tag"}},
      {"<A b />", "<A />\r\n", {"line 1: \"b\" in <A> is not an attribute (name=\"value\") and is ignored"}},
      {"<A b=1 c=\"2\" />",
       "<A c=\"2\" />\r\n",
       {"line 1: \"b=1\" in <A> is not an attribute (name=\"value\") and is ignored"}},
      {"<A =\"1\" d=\"4\" />", "<A d=\"4\" />\r\n", {"line 1: a value without a name in <A> is ignored"}},
  };
  for (const auto& c : cases) {
    TGXML_Document doc;
    doc.LoadFromText(c.Text);
    EXPECT_EQ(doc.SaveToText(), c.Tree) << c.Text;
    EXPECT_EQ(doc.Warnings(), c.Warnings) << c.Text;
  }
  TGXML_Document doc;  // sound text leaves no warning behind
  doc.LoadFromText("<A b />");
  doc.LoadFromText(kTree);
  EXPECT_TRUE(doc.Warnings().empty());
}

TEST(XmlDocumentTest, DeepNestingIsParsedAndDestroyedWithoutRecursion) {
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "<a>";
  TGXML_Document doc;
  doc.LoadFromText(deep);
  const TGXML_Element* e = &doc.Root();
  int depth = 0;
  while ((e = e->Element("a"))) ++depth;
  EXPECT_EQ(depth, 100000);
}

TEST(XmlDocumentTest, FilesOnDiskAndThroughAFileSystem) {
  testing::TempDir dir;
  const std::string name = dir.File("env.env");
  TGXML_Document doc;
  doc.Root().AddElement("Keep");
  EXPECT_FALSE(doc.LoadFromFile(name));
  EXPECT_NE(doc.Root().Element("Keep"), nullptr);
  doc.Root().Clear();
  doc.Root().AddElement("TGlobe")->AddAttribute("DataDirectory", "D:\\Maps");
  doc.SaveToFile(name);
  std::ofstream(name, std::ios::app | std::ios::binary) << "<Tail a=\"x\ny\" />";
  TGXML_Document back;
  EXPECT_TRUE(back.LoadFromFile(name));
  EXPECT_EQ(back.Root().Element("TGlobe")->Attribute("DataDirectory") + back.Root().Element("Tail")->Attribute("a"),
            "D:\\Mapsxy");
  EXPECT_THROW(doc.SaveToFile(dir.File("no_such_dir/x.env")), platform::EFileError);
  platform::testing::MemoryFileSystem files;
  files.AddDirectory("/Data/Env");
  EXPECT_FALSE(doc.LoadFromFile("Data/Env/World.env", files));
  doc.Root().Clear();
  doc.Root().AddElement("TGlobe")->AddAttribute("MinTextHeight", int32_t{5});
  doc.SaveToFile("Data/Env/World.env", files);
  EXPECT_EQ(files.ReadBytes("Data/Env/World.env"), "<TGlobe MinTextHeight=\"5\" />\r\n");
  EXPECT_TRUE(back.LoadFromFile("data\\env\\world.ENV", files));  // letter case and "\\"
  EXPECT_EQ(back.Root().Element("TGlobe")->Attribute("MinTextHeight", int32_t{0}), 5);
}

TEST(XmlAttributeTest, ElementFindsTheNthChildOfThatTagAndTheFirstTextAttribute) {
  TGXML_Element e;
  e.AddElement("Layer")->AddAttribute("Name", "a");
  e.AddElement("Presenters");
  e.AddAttribute("Layer", "not a child");
  e.AddElement("Layer")->AddAttribute("Name", "c");
  EXPECT_EQ(e.Element("Layer", 1)->Attribute("Name") + e.Element("Layer")->Attribute("Name"), "ca");
  EXPECT_EQ(std::tuple(e.Element("Layer", 2), e.Element("Layer", -1), e.Element("layer")),  // tags compare exactly
            std::tuple(nullptr, nullptr, nullptr));
  e.AddAttribute("Name", "first");
  e.AddAttribute("Name", "second");
  e.AddAttribute("Empty", "");
  EXPECT_EQ(e.Attribute("Name", "def") + e.Attribute("Empty", "def") + e.Attribute("name", "def"), "firstdefdef");
  EXPECT_EQ(std::tuple(e.HasAttribute("Empty"), e.HasAttribute("Missing")), std::tuple(true, false));
}

TEST(XmlAttributeTest, BooleansAndIntegers) {
  TGXML_Element e;
  e.AddAttribute("On", true);
  e.AddAttribute("Off", false);
  e.AddAttribute("Lower", "t");
  e.AddAttribute("Min", int32_t{-2147483647 - 1});
  e.AddAttribute("Blank", " 12 ");
  e.AddAttribute("Word", "abc");
  EXPECT_EQ(e.Line(0).Value + e.Line(1).Value + e.Line(3).Value, "TF-2147483648");
  for (bool def : {false, true})  // only "T" and "F"
    EXPECT_EQ(std::tuple(e.Attribute("On", def), e.Attribute("Off", def), e.Attribute("Lower", def),
                         e.Attribute("Missing", def)),
              std::tuple(true, false, def, def));
  EXPECT_EQ(
      std::tuple(e.Attribute("Min", int32_t{0}), e.Attribute("Blank", int32_t{0}), e.Attribute("Missing", int32_t{7})),
      std::tuple(-2147483647 - 1, 12, 7));
  EXPECT_EQ(ThrownMessage<platform::EConvertError>([&] { e.Attribute("Word", int32_t{0}); }),
            "'abc' is not a valid integer value");
  for (const char* bad : {"12x", "2147483648", "1.5"}) {
    e.AddAttribute(bad, bad);
    EXPECT_THROW(e.Attribute(bad, int32_t{0}), platform::EConvertError) << bad;
  }
}

TEST(XmlAttributeTest, FloatTextFormsRoundTripFifteenDigits) {
  for (auto [value, text] : std::vector<std::pair<long double, std::string>>{
           {0.0L, "0"}, {1.5L, "1.5"}, {-2.25L, "-2.25"}, {100.0L, "100"}, {0.1L, "0.1"}, {0.00001L, "0.00001"},
           {0.000001L, "1E-6"}, {1e20L, "1E20"}, {2.5e-7L, "2.5E-7"}, {123456789012345.0L, "123456789012345"},
           {1234567890123456.0L, "1.23456789012346E15"}, {1.0L / 3.0L, "0.333333333333333"}, {INFINITY, "INF"}})
    EXPECT_EQ(FloatToText(value), text);
  EXPECT_EQ(std::tuple(TextToFloat(" -0.5 "), TextToFloat("+3"), TextToFloat("-INF")),
            std::tuple(-0.5L, 3.0L, -HUGE_VALL));
  for (const char* bad : {"1,5", "", "abc", "1.5.2", "--1", "1e99999", "0x10", " . "})
    EXPECT_THROW(TextToFloat(bad), platform::EConvertError) << bad;
  for (long double v : {3.14159265358979L, -1e-300L, 6378137.0L, 0.0174532925199433L, 1e300L}) {
    const std::string text = FloatToText(v);
    EXPECT_EQ(FloatToText(TextToFloat(text)), text);
    EXPECT_NEAR(static_cast<double>(TextToFloat(text) / v), 1.0, 1e-14) << text;
  }
}

TEST(XmlAttributeTest, FloatsUseAPointWhateverTheLocale) {
  // A global C++ locale with a decimal comma must not leak into the file text, nor the C
  // library's numeric locale when one with a comma is installed here.
  struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
  };
  const std::locale old = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
  const std::string oldC = std::setlocale(LC_NUMERIC, nullptr);
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  TGXML_Element e;
  e.AddAttribute("Scale", 1234.5);
  e.AddAttribute("Comma", "1,5");
  EXPECT_EQ(std::tuple(e.Attribute("Scale"), e.Attribute("Scale", 0.0), e.Attribute("Missing", 2.5L)),
            std::tuple("1234.5", 1234.5, 2.5L));
  EXPECT_THROW(e.Attribute("Comma", 0.0), platform::EConvertError);
  std::setlocale(LC_NUMERIC, oldC.c_str());
  std::locale::global(old);
}

TEST(GlobeColorTest, StandardColoursByNameOthersInHexadecimalAlsoAsAttributes) {
  // Red in the lowest byte: 0x563412 is red 0x12, green 0x34, blue 0x56.
  for (auto [colour, text] : std::vector<std::pair<TColor, std::string>>{
           {0x0000FF, "clRed"}, {0xC0C0C0, "clSilver"}, {clNone, "clNone"}, {0x8000000F, "clBtnFace"},
           {0x563412, "$00563412"}, {0xFFFFFFFF, "$FFFFFFFF"}}) {
    EXPECT_EQ(ColorToString(colour), text);
    EXPECT_EQ(StringToColor(text), colour) << text;
  }
  for (auto [text, colour] : std::vector<std::pair<std::string, TColor>>{
           {"CLWHITE", 0xFFFFFF}, {" clNavy ", 0x800000}, {"$00abcdef", 0xABCDEF}, {"0xFF", 0xFF}, {"255", 0xFF}})
    EXPECT_EQ(StringToColor(text), colour) << text;
  for (const char* bad : {"", "clRedd", "$", "$1234567890", "#FF0000"})
    EXPECT_THROW(StringToColor(bad), platform::EConvertError) << bad;
  TGXML_Element e;
  AddColorAttribute(e, "SurfaceColor", 0x00A0B0C0);
  AddColorAttribute(e, "Pen", clMaroon);
  e.AddAttribute("Bad", "purple-ish");
  EXPECT_EQ(e.Attribute("SurfaceColor") + " " + e.Attribute("Pen"), "$00A0B0C0 clMaroon");
  EXPECT_EQ(std::tuple(ColorAttribute(e, "SurfaceColor", clBlack), ColorAttribute(e, "Missing", clTeal)),
            std::tuple(0xA0B0C0u, clTeal));
  EXPECT_THROW(ColorAttribute(e, "Bad", clBlack), platform::EConvertError);
}

}  // namespace
}  // namespace globe
