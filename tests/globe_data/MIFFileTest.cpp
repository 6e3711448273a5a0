// MapInfo interchange files: the file itself (header, statements, styles, ".MID" lines) and the
// reader that makes map objects from it.

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <tuple>

#include "TempFile.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeException.h"
#include "globe/data/MIFFile.h"
#include "globe/data/MIFReader.h"
#include "globe/data/XmlElement.h"
#include "platform/ConvertError.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using Chains = std::vector<std::vector<TGeoPoint>>;
using corvalis::testing::ThrownMessage;
using testing::TempDir;

const std::string kData = CORVALIS_TEST_DATA_DIR;
const std::string kHeader =
    "Version 300\nDelimiter \",\"\nCoordSys Earth Projection 1, 104\nColumns 1\n  name Char(10)\nData\n\n";

TGeoPoint Deg(long double lon, long double lat) { return TGeoPoint::FromDegrees(lon, lat); }

// Opens a MIF (and MID when given), reads the header and indexes every object.
std::unique_ptr<TMIFFile> Open(TempDir& dir, const std::string& mif, const std::string* mid = nullptr) {
  const std::string name = dir.Write("t.mif", mif);
  if (mid) dir.Write("t.mid", *mid);
  auto file = std::make_unique<TMIFFile>(name);
  file->ReadHeader();
  while (file->ReadObject()) {
  }
  return file;
}

std::string StyleText(const TMIFStyle& s) {
  char text[160];
  std::snprintf(text, sizeof text, "pen %d %d %06X brush %d %06X %06X font %s %d %06X %d", s.PenWidth, s.PenStyle,
                s.PenColor, s.BrushStyle, s.BrushColor, s.BrushBkColor, s.FontName.c_str(), s.FontSize, s.FontColor,
                s.FontAngle);
  return text;
}

TEST(MIFFile, AcceptsOnlyLongitudeLatitude) {
  TempDir dir;
  const std::string refused = "MIF Import only supports Lat/Long tables.";
  for (const auto& [coordSys, message] : std::vector<std::pair<std::string, std::string>>{
           {"CoordSys NonEarth Units \"m\"", refused},
           {"CoordSys Earth Projection 8, 104, \"m\", 9, 0, 0.9996, 500000, 0", refused},
           {"coordsys earth PROJECTION 1,0", "(nothing thrown)"},
           {"", "(nothing thrown)"}})  // no CoordSys: longitude/latitude
    EXPECT_EQ(ThrownMessage<EGlobeException>([&] { Open(dir, "Version 300\n" + coordSys + "\nData\n"); }), message)
        << coordSys;
}

TEST(MIFFile, PlineFormsAndStyleClauses) {
  TempDir dir;
  auto file = Open(
      dir, kHeader +
               "Pline Multiple 2\n  3\n0 0\n1 1\n2 2\n  2\n10 10\n11 11\n"
               "PLINE 3\n1 2\n3 4\n5 6\n    Pen (2,2,0)\n"
               "Pline\n2\n7 8\n9 10\n"
               "Line 1 2 3 4\n"
               "Region 1\n  4\n0 0\n0 1\n1 1\n0 0\n    Pen (3,5,65280)\n    Brush (2,16711680)\n    Center 0.5 0.5\n"
               "Region 1\n  3\n0 0\n0 1\n1 1\n    BRUSH (10,255,16777215)\n    pen (1,1,0)\n"
               "Text\n    \"Two\\nlines\"\n    20.5 -10.25 21 -10\n    Font (\"Times\",0,12,16711935)\n    Angle 45.4\n"
               "Point 5 6\n    Symbol (35,0,12)\n");
  ASSERT_EQ(file->Count(), 8);
  const TMIFObject multiple = file->GetObject(0, true);
  EXPECT_EQ(multiple.Chains, (Chains{{Deg(0, 0), Deg(1, 1), Deg(2, 2)}, {Deg(10, 10), Deg(11, 11)}}));
  EXPECT_EQ(std::tuple(multiple.Closed, multiple.Title), std::tuple(false, "New Polyline"));
  EXPECT_EQ(file->GetObject(1, true).Style.PenWidth, 2);
  EXPECT_EQ(file->GetObject(2, false).Chains, (Chains{{Deg(7, 8), Deg(9, 10)}}));  // count on the next line
  EXPECT_EQ(file->GetObject(3, false).Chains, (Chains{{Deg(1, 2), Deg(3, 4)}}));
  const TMIFObject region = file->GetObject(4, true);
  EXPECT_EQ(std::tuple(region.Closed, region.Title), std::tuple(true, "New Polygon"));  // no ".MID" file
  // Pen pattern 5 is a dash, brush pattern 2 solid; colours come in the platform order.
  EXPECT_EQ(StyleText(region.Style), "pen 3 1 00FF00 brush 0 0000FF FFFFFF font Arial 0 000000 0");
  // Brush pattern 10 is style 39, pen pattern 1 clear.
  EXPECT_EQ(StyleText(file->GetObject(5, true).Style), "pen 1 5 000000 brush 39 FF0000 FFFFFF font Arial 0 000000 0");
  const TMIFObject text = file->GetObject(6, true);
  EXPECT_EQ(std::tuple(text.Title, text.Chains.size(), text.Centre), std::tuple("Two lines", 0u, Deg(20.5, -10.25)));
  EXPECT_EQ(StyleText(text.Style), "pen 1 0 000000 brush 0 FFFFFF FFFFFF font Times 12 FF00FF 450");
  EXPECT_EQ(file->GetObject(7, true).Centre, Deg(5, 6));
}

// Objects not read (Rect, MultiPoint) still own their ".MID" lines. The Pline and Region parts of
// a Collection are objects of their own, titled by the Collection's line; its Multipoint part is
// not read.
TEST(MIFFile, AttributeLinesStayWithTheirObjects) {
  TempDir dir;
  const std::string body =
      "Point 1 1\nRect 0 0 1 1\nMultipoint 2\n3 3\n4 4\nRegion 1\n 3\n0 0\n1 0\n0 0\n"
      "Collection 3\n  Multipoint 2\n  3 3\n  4 4\n  Pline 2\n  5 5\n  6 6\n    Pen (1,2,0)\n"
      "  Region 1\n    4\n  0 0\n  1 0\n  1 1\n  0 0\n    Brush (2,255)\nPoint 2 2\n";
  const std::string mid = "\"a\",\"first\"\n\"b\",\"rect\"\n\"c\",\"multi\"\n\"d\",\"region, with comma\"\n"
                          "\"e\",\"group\"\n\"f\",\"\"\"q\"\"\"\n";
  auto file = Open(dir, kHeader + body, &mid);
  ASSERT_EQ(file->Count(), 5);
  file->TitleColumn = 1;
  EXPECT_EQ(
      file->GetObject(0, false).Title + "|" + file->GetObject(1, false).Title + "|" + file->GetObject(4, false).Title,
      "first|region, with comma|\"q\"");
  const TMIFObject pline = file->GetObject(2, true), region = file->GetObject(3, true);
  EXPECT_EQ(std::tuple(pline.Statement, pline.Title, pline.Chains),
            std::tuple(msPline, "New Polyline", Chains{{Deg(5, 5), Deg(6, 6)}}));
  EXPECT_EQ(std::tuple(region.Statement, region.Title, region.Style.BrushColor),
            std::tuple(msRegion, "group", 0xFF0000u));
  EXPECT_EQ(region.Chains, (Chains{{Deg(0, 0), Deg(1, 0), Deg(1, 1), Deg(0, 0)}}));
  file->TitleColumn = 5;  // no such field: the whole line
  EXPECT_EQ(file->GetObject(0, false).Title, "\"a\",\"first\"");
}

// Every line from Columns up to Data is a column, whatever number the statement announces; bad
// numbers raise conversion errors; counts beyond the end stop at the end.
TEST(MIFFile, ColumnsRunUpToDataBadNumbersRaiseAndCountsStopAtTheEnd) {
  TempDir dir;
  auto columns =
      Open(dir, "Version 300\nCoordSys Earth Projection 1, 0\nColumns 1\n  id Integer\n  name Char(10)\nData\n");
  EXPECT_EQ(columns->ColumnNames, (std::vector<std::string>{"id=Integer", "name=Char(10)"}));
  auto file = Open(dir, kHeader + "Region 1\n  2\nabc 1\n1 1\nPline x\n");
  ASSERT_EQ(file->Count(), 2);
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { file->GetObject(0, false); }),
            "StrToExtended: Conversion failed for abc");
  EXPECT_THROW(file->GetObject(1, false), platform::EConvertError);
  file = Open(dir, kHeader + "Region 2000000000\n  2000000000\n1 1\n2 2");
  ASSERT_EQ(file->Count(), 1);
  EXPECT_EQ(file->GetObject(0, true).Chains, (Chains{{Deg(1, 1), Deg(2, 2)}}));
}

// Cut and corrupted copies of the real file: data errors at most, never a crash or a hang.
TEST(MIFFile, DamagedFilesNeverCrash) {
  TempDir dir;
  const std::string original = testing::ReadWholeFile(kData + "/ne_110m_countries.mif");
  std::mt19937 random(5);
  for (int i = 0; i < 30; ++i) {
    std::string bytes = original.substr(0, std::uniform_int_distribution<std::size_t>(0, 20000)(random));
    for (int flips = 0; flips < 3 && !bytes.empty(); ++flips)
      bytes[std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random)] ^= char(1 << (random() % 7));
    try {
      auto file = Open(dir, bytes);
      for (int n = 0; n < file->Count(); ++n) file->GetObject(n, true);
    } catch (const EGlobeException&) {
    } catch (const platform::EConvertError&) {
    }
  }
}

class MIFReaderTest : public ::testing::Test {
 protected:
  MIFReaderTest() {
    globe.SetSaveMetaDataLocation(smdDiscard);
    SetMIFPresenterFactory([this](TGlobeObjectSource&, const TMIFObject& object) {
      ++factoryCalls;
      return object.Statement == msRegion ? 7 : 8;
    });
    globe.OnProgress = [this](TCustomVoduz4&, TProgressMessage kind, const std::string&, bool&) {
      mappings += kind == pmStart;
    };
  }
  ~MIFReaderTest() override { SetMIFPresenterFactory(nullptr); }
  TGlobeMIFReader* Open(const std::string& name, int32_t titleColumn = -1) {
    TGlobeMIFReader* reader = globe.NewObjectSource<TGlobeMIFReader>();
    if (titleColumn >= 0) reader->SetTitleColumn(titleColumn);
    reader->SetFileName(name);
    reader->SetActive(true);
    return reader;
  }
  TCustomVoduz4 globe;
  int factoryCalls = 0, mappings = 0;
  TempDir dir;
};

// Countries with their names and presenters, made while mapping; the index file beside the data
// spares the mapping pass on the next opening and brings back the title column.
TEST_F(MIFReaderTest, CountriesWithTheirNamesAndPresentersOpenedAgainFromTheIndexFile) {
  globe.SetSaveMetaDataLocation(smdWithDataFile);
  dir.Write("c.mif", testing::ReadWholeFile(kData + "/ne_110m_countries.mif"));
  dir.Write("c.mid", testing::ReadWholeFile(kData + "/ne_110m_countries.mid"));
  TGlobeMIFReader* first = Open(dir.File("c.mif"), 1);
  EXPECT_EQ(std::tuple(factoryCalls, first->Name(), first->Count()),
            std::tuple(177, "c.mif", 177));  // a presenter each
  auto& fiji = dynamic_cast<TGeoDataObject&>(*first->Objects(0));
  EXPECT_EQ(std::tuple(fiji.Title(), fiji.Chains().Count(), fiji.PresenterID(), fiji.Chains().Chain(0).Point(0),
                       fiji.Chains().Chain(1).Point(1).LongX),  // 180 degrees east, not wrapped
            std::tuple("Fiji", 2, 7, Deg(178.124381243812L, -17.5055572523276L), 972000000));
  first->Flush();  // objects built again keep their presenters and make none
  EXPECT_EQ((std::tuple{first->Objects(5)->PresenterID(), factoryCalls}), std::tuple(7, 177));
  const TGeoRect bounds = first->Objects(1)->GetBounds();
  first->SetActive(false);
  TGlobeMIFReader* second = Open(dir.File("c.mif"));
  EXPECT_EQ(std::tuple(mappings, second->Count(), second->TitleColumn()), std::tuple(1, 177, 1));
  EXPECT_EQ(std::tuple(second->MIDDelimiter(), second->MIFCoordSys(), second->MIDColumnNames().size()),
            std::tuple(",", "CoordSys Earth Projection 1, 104", 2u));
  EXPECT_EQ(std::tuple(second->ObjectBounds(1), second->Objects(1)->Closed(), second->Objects(1)->Title()),
            std::tuple(bounds, true, "Tanzania"));
}

TEST_F(MIFReaderTest, OtherTablesAreRefusedAndTheEnvironmentKeepsTheSettings) {
  TGlobeMIFReader* refused = globe.NewObjectSource<TGlobeMIFReader>();
  refused->SetFileName(dir.Write("m.mif", "Version 300\nCoordSys NonEarth Units \"m\"\nData\nPoint 1 2\n"));
  EXPECT_THROW(refused->SetActive(true), EGlobeException);
  EXPECT_FALSE(refused->Active());
  TGlobeMIFReader* reader = Open(dir.Write("p.mif", "Version 300\nDelimiter \";\"\nData\nPoint 1 2\n"), 2);
  TGlobeMIFReader* other = globe.NewObjectSource<TGlobeMIFReader>();
  other->LoadEnvironment(reader->SaveEnvironment().get());
  EXPECT_EQ(
      std::tuple(other->Active(), other->TitleColumn(), other->MIDDelimiter(), other->Count()),  // loading activates
      std::tuple(true, 2, ";", 1));
  EXPECT_EQ(other->Objects(0)->GetCentroid(), Deg(1, 2));
}

}  // namespace
}  // namespace globe
