#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "globe/data/GlobeENVPersistent.h"
#include "globe/data/GlobeException.h"
#include "globe/data/XmlDocument.h"
#include "platform/ConvertError.h"
#include "TempFile.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::ThrownMessage;

// A small persistent class as engine classes write them: attributes, a unit and a child.
class TSample : public TGlobeENVPersistent {
 public:
  std::string ClassName() const override { return "TSample"; }
  void LoadEnvironment(const TGXML_Element* e) override {
    ++Loads;
    if (!e) return;
    Name = e->Attribute("Name", Name);
    Count = e->Attribute("Count", Count);
    Scale = e->Attribute("Scale", Scale);
    Units = UnitAttribute(*e, "Units", Units);
    if (const TGXML_Element* child = e->Element("Child")) ChildFlag = child->Attribute("Flag", false);
  }
  std::unique_ptr<TGXML_Element> SaveEnvironment() const override {
    auto e = TGlobeENVPersistent::SaveEnvironment();
    e->AddAttribute("Name", Name);
    e->AddAttribute("Count", Count);
    e->AddAttribute("Scale", Scale);
    AddUnitAttribute(*e, "Units", Units);
    e->AddElement("Child")->AddAttribute("Flag", ChildFlag);
    return e;
  }

  std::string Name = "none";
  int32_t Count = 0;
  long double Scale = 1;
  TGlobeUnitTypes Units = TGlobeUnitTypes::NauticalMile;
  bool ChildFlag = false;
  int Loads = 0;
};

class GlobeENVPersistentTest : public ::testing::Test {
 protected:
  std::string File(const char* name) const { return Dir.File(name); }
  testing::TempDir Dir;
};

TEST_F(GlobeENVPersistentTest, SaveToFileThenLoadFromFile) {
  TSample a;
  a.Name = "Coast lines";
  a.Count = -12;
  a.Scale = 0.125L;
  a.Units = TGlobeUnitTypes::Kilometer;
  a.ChildFlag = true;
  a.SaveToFile(File("a.env"));

  TGXML_Document doc;
  ASSERT_TRUE(doc.LoadFromFile(File("a.env")));
  EXPECT_EQ(doc.SaveToText(),
            "<TSample Name=\"Coast lines\" Count=\"-12\" Scale=\"0.125\" Units=\"KM\">\r\n"
            " <Child Flag=\"T\" />\r\n"
            "</TSample>\r\n");

  TSample b;
  EXPECT_TRUE(b.LoadFromFile(File("a.env")));
  EXPECT_EQ(b.Name, "Coast lines");
  EXPECT_EQ(b.Count, -12);
  EXPECT_EQ(b.Scale, 0.125L);
  EXPECT_EQ(b.Units, TGlobeUnitTypes::Kilometer);
  EXPECT_TRUE(b.ChildFlag);
}

TEST_F(GlobeENVPersistentTest, LoadsTheFirstElementOfItsClassOnly) {
  Dir.Write("b.env", "<Other Name=\"wrong\" />\r\n<TSample Name=\"first\" />\r\n<TSample Name=\"second\" />");
  TSample s;
  s.Count = 5;
  EXPECT_TRUE(s.LoadFromFile(File("b.env")));
  EXPECT_EQ(s.Name, "first");
  EXPECT_EQ(s.Count, 5);  // absent attributes keep the current value
  EXPECT_EQ(s.Units, TGlobeUnitTypes::NauticalMile);
}

TEST_F(GlobeENVPersistentTest, MissingFileOrElementChangesNothing) {
  TSample s;
  s.Name = "kept";
  EXPECT_FALSE(s.LoadFromFile(File("missing.env")));
  EXPECT_EQ(s.Loads, 1);  // told with a null element
  EXPECT_EQ(s.Name, "kept");
  Dir.Write("c.env", "<TGlobe />");
  EXPECT_TRUE(s.LoadFromFile(File("c.env")));
  EXPECT_EQ(s.Name, "kept");
}

TEST_F(GlobeENVPersistentTest, BadValuesRaiseTheirMessages) {
  TGXML_Document doc;
  TSample s;
  doc.LoadFromText("<TSample Units=\"XX\" />");
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { s.LoadEnvironment(doc.Root().Element("TSample")); }),
            "StrToUnits: Unknown Unit XX");
  doc.LoadFromText("<TSample Count=\"many\" />");
  EXPECT_THROW(s.LoadEnvironment(doc.Root().Element("TSample")), platform::EConvertError);
  doc.LoadFromText("<TSample Units=\"gu\" />");
  s.LoadEnvironment(doc.Root().Element("TSample"));
  EXPECT_EQ(s.Units, TGlobeUnitTypes::GlobeUnit);
}

}  // namespace
}  // namespace globe
