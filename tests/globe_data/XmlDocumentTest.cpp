#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "TempFile.h"
#include "globe/data/XmlDocument.h"
#include "platform/FileError.h"
#include "platform/testing/MemoryFileSystem.h"

namespace globe {
namespace {

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
  TGXML_Document back;
  back.LoadFromText(kTree);
  EXPECT_EQ(back.Root().Element("TGlobe")->Element("LayerStore")->Element("Layer")->Attribute("Name"), "Coast");
  EXPECT_EQ(back.SaveToText(), kTree);
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
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Attribute("v"), "say \"hi\" <b> & 1>0");
  ASSERT_EQ(b->Count(), 2);
  EXPECT_EQ(b->Line(1).Kind, TGXML_Element::TLineKind::lkText);
  EXPECT_EQ(b->Line(1).Name, "x < y & z");
  EXPECT_EQ(back.SaveToText(), text);
  // Reading drops line breaks inside values and text, and keeps the order of text and children.
  back.LoadFromText("<A v=\"ab\r\ncd\" w=\"1\n2\" />\r\n<B>\r\n  some text  \r\n<C/></B>");
  EXPECT_EQ(back.Root().Element("A")->Attribute("v"), "abcd");
  EXPECT_EQ(back.Root().Element("A")->Attribute("w"), "12");
  const TGXML_Element* withText = back.Root().Element("B");
  ASSERT_EQ(withText->Count(), 2);
  EXPECT_EQ(withText->Line(0).Name, "some text");
  EXPECT_TRUE(withText->Line(1).Child->OnlyAttributes());
}

TEST(XmlDocumentTest, TolerantStructureRules) {
  const std::pair<const char*, const char*> cases[] = {
      // Unclosed elements end with the text; a missing ">" ends the tag there too.
      {"<A><B x=\"1\"><C y=\"2\"", "<A>\r\n <B x=\"1\">\r\n  <C y=\"2\" />\r\n </B>\r\n</A>\r\n"},
      // A closing tag ends the current element whatever its name.
      {"<A><B></X></A><C />", "<A>\r\n <B />\r\n</A>\r\n<C />\r\n"},
      // Declarations and comments are skipped; "<Name/>" closes itself; ">" inside a value is data.
      {"<?xml version=\"1.0\"?><!-- <X> --><A/><B v=\"1>2\" /><C />", "<A />\r\n<B v=\"1&gt;2\" />\r\n<C />\r\n"},
      {"   ", ""},
  };
  for (const auto& [text, tree] : cases) {
    TGXML_Document doc;
    doc.LoadFromText(text);
    EXPECT_EQ(doc.SaveToText(), tree) << text;
  }
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
      {"<A></A></A>", "<A />\r\n", {"line 1: closing tag </A> without an open element: the rest is ignored"}},
      {"<>", "", {"line 1: closing tag <> without an open element: the rest is ignored"}},
      {"<A b=\"1 />\n<C d=\"2\" />", "<A b=\"1\" />\r\n<C d=\"2\" />\r\n",
       {"line 1: a quote of <A> is not closed: the tag ends at the first \">\"",
        "line 1: the value of b in <A> has no closing quote: it runs to the end of the tag"}},
      {"<A b />", "<A />\r\n", {"line 1: \"b\" in <A> is not an attribute (name=\"value\") and is ignored"}},
      {"<A b=1 c=\"2\" />", "<A c=\"2\" />\r\n", {"line 1: \"b=1\" in <A> is not an attribute (name=\"value\") and is ignored"}},
      {"<A =\"1\" d=\"4\" />", "<A d=\"4\" />\r\n", {"line 1: a value without a name in <A> is ignored"}},
      {"<Layer Name=\"x\"\r\n Visible />", "<Layer Name=\"x\" />\r\n",
       {"line 2: \"Visible\" in <Layer> is not an attribute (name=\"value\") and is ignored"}},
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

TEST(XmlDocumentTest, HostileInputNeverCrashes) {
  std::string deep;  // deep nesting is parsed and destroyed without recursion
  for (int i = 0; i < 100000; ++i) deep += "<a>";
  {
    TGXML_Document doc;
    doc.LoadFromText(deep);
    const TGXML_Element* e = &doc.Root();
    int depth = 0;
    while ((e = e->Element("a"))) ++depth;
    EXPECT_EQ(depth, 100000);
  }
  // Random mixtures of the syntax characters are read, with repairs where needed; what was read
  // without repairs is written and read back the same.
  const std::string alphabet = "<>/=\" aT\r\n!?-";
  uint32_t seed = 12345;
  for (int n = 0; n < 3000; ++n) {
    std::string text;
    seed = seed * 1103515245u + 12345u;
    for (size_t i = 0, length = (seed >> 16) % 48; i < length; ++i) {
      seed = seed * 1103515245u + 12345u;
      text += alphabet[(seed >> 16) % alphabet.size()];
    }
    TGXML_Document doc, again;
    doc.LoadFromText(text);
    again.LoadFromText(doc.SaveToText());
    if (doc.Warnings().empty()) EXPECT_EQ(again.SaveToText(), doc.SaveToText()) << text;
  }
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
  EXPECT_EQ(back.Root().Element("TGlobe")->Attribute("DataDirectory"), "D:\\Maps");
  EXPECT_EQ(back.Root().Element("Tail")->Attribute("a"), "xy");
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

}  // namespace
}  // namespace globe
