// The window-free view core: data directory and file names, notifications, the progress-reporting
// mapping read of file readers, and classes created by name.

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "GlobeDataFixtures.h"
#include "TempFile.h"
#include "globe/data/ClassRegistry.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobeRoot.h"
#include "globe/data/GlobeStream.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using Names = std::vector<std::string>;
using testing::TempDir;

TEST(ViewFiles, DataDirectoryIsTrimmedAndEndsWithASeparator) {
  TempDir dir;
  TCustomVoduz4 globe;
  Names missing;
  globe.OnDirectoryNotFound = [&](TCustomVoduz4&, const std::string& d) { missing.push_back(d); };
  for (const std::string& name : {"  " + dir.Path.string() + " ", dir.Path.string() + "/"}) {
    globe.SetDataDirectory(name);
    EXPECT_EQ(globe.DataDirectory(), dir.Path.string() + "/");
  }
  globe.SetDataDirectory(dir.File("nothing"));
  globe.SetDataDirectory("");
  EXPECT_EQ(std::tuple(globe.DataDirectory(), missing), std::tuple("", Names{dir.File("nothing") + "/"}));
}

TEST(ViewFiles, NamesResolveAgainstTheDataDirectoryOrAsTheApplicationOffers) {
  TempDir dir;
  const std::string coast = dir.Write("coast.dat", "x");
  std::filesystem::create_directories(dir.Path / "maps");
  dir.Write("maps/deep.dat", "x");
  TCustomVoduz4 globe;
  globe.SetDataDirectory(dir.Path.string());
  EXPECT_EQ(globe.ResolveFileName(coast), coast);  // the name itself
  EXPECT_EQ(globe.ResolveFileName("coast.dat"), coast);
  EXPECT_EQ(globe.ResolveFileName("maps\\deep.dat"), dir.Path.string() + "/maps/deep.dat");
  EXPECT_EQ(globe.ResolveFileName("C:\\Game\\Data\\coast.dat"), coast);
  Names asked;
  globe.OnFileNotFound = [&](TCustomVoduz4&, std::string& name, bool& tryAgain) {
    asked.push_back(name);
    tryAgain = name == "old.dat";
    if (tryAgain) name = coast;
  };
  EXPECT_EQ(globe.ResolveFileName("old.dat"), coast);
  EXPECT_EQ(globe.ResolveFileName("other.dat") + globe.ResolveFileName(" "), "");  // no name: nothing to ask about
  EXPECT_EQ(asked, (Names{"old.dat", "other.dat"}));
  // A handler that never gives up cannot hold the view.
  int calls = 0;
  globe.OnFileNotFound = [&](TCustomVoduz4&, std::string& name, bool& tryAgain) {
    ++calls;
    name = "still-missing.dat";
    tryAgain = true;
  };
  EXPECT_EQ(globe.ResolveFileName("x.dat"), "");
  EXPECT_GT(calls, 1);
}

TEST(ViewFiles, AnUnreadableTextureLeavesNoName) {
  TempDir dir;
  TCustomVoduz4 globe;
  for (const std::string& name : {dir.Write("sea.bmp", "not a bitmap"), dir.File("missing.bmp")}) {
    globe.SetSurfaceTextureName(name);
    EXPECT_EQ(std::tuple(globe.SurfaceTextureName(), globe.SurfaceTexture().HasTexture()), std::tuple("", false));
  }
}

TEST(ViewNotifications, SourcesAndRedrawsAreReported) {
  TCustomVoduz4 globe;
  Names events;
  globe.OnObjectSourceCreate = [&](TCustomVoduz4&, TGlobeObjectSource*) { events.push_back("create"); };
  globe.OnObjectSourceActiveChange = [&](TCustomVoduz4&, TGlobeObjectSource* s) {
    events.push_back(s->Active() ? "open" : "close");
  };
  globe.OnObjectSourceFree = [&](TCustomVoduz4&, TGlobeObjectSource*) { events.push_back("free"); };
  TGlobeLayer* layer = globe.LayerStore().NewLayer();
  globe.RedrawDone();
  const uint64_t requests = globe.RedrawRequests();
  layer->ObjectSource()->SetActive(true);
  layer->ObjectSource()->SetActive(true);  // no change, no report
  layer->ObjectSource()->SetActive(false);
  EXPECT_TRUE(globe.RedrawNeeded());
  EXPECT_GT(globe.RedrawRequests(), requests);
  globe.ClearEnvironment();
  EXPECT_EQ(events, (Names{"create", "open", "close", "free"}));
  EXPECT_EQ((std::tuple{globe.NewObjectID(), globe.NewObjectID()}), std::tuple(1, 2));  // a braced list calls in order
}

// A reader whose every byte is one object.
class TByteReader : public TGlobeFileReader {
 public:
  explicit TByteReader(TCustomVoduz4* globe) : TGlobeFileReader(globe) {}
  using TGlobeFileReader::MapStream;
  int Built = 0;

 protected:
  bool ReadObject(TGlobeStream& stream, int32_t) override {
    if (stream.Remaining() == 0) return false;
    char byte;
    stream.Read(&byte, 1);
    return true;
  }
  std::unique_ptr<TGlobeObject> GetObject(int32_t, bool) override {
    ++Built;
    return std::make_unique<TGeoDataObject>(this);
  }
};

TEST(ViewProgress, TheMappingReadReportsStartPercentagesAndEndOrStopsAtAnAbort) {
  TCustomVoduz4 globe;
  std::vector<std::pair<int, std::string>> reports;
  bool abort = false;
  globe.OnProgress = [&](TCustomVoduz4&, TProgressMessage kind, const std::string& text, bool& stop) {
    reports.emplace_back(kind, text);
    stop = abort && kind == pmProgress;
  };
  TGlobeMemoryStream stream(std::string(600, 'x'));
  stream.Seek(100);  // the read starts from the beginning whatever the position
  auto* reader = globe.NewObjectSource<TByteReader>();
  EXPECT_TRUE(reader->MapStream(stream));
  EXPECT_EQ(std::tuple(reader->Count(), reader->Built), std::tuple(600, 600));
  // 256 and 512 of 600 bytes: 42.7 and 85.3 percent.
  EXPECT_EQ(reports, (std::vector<std::pair<int, std::string>>{
                         {pmStart, "Mapping"}, {pmProgress, "43"}, {pmProgress, "85"}, {pmEnd, "Finished"}}));
  abort = true;
  auto* aborted = globe.NewObjectSource<TByteReader>();
  EXPECT_TRUE(aborted->MapStream(stream));
  EXPECT_EQ(aborted->Count(), 256);
}

class TTestModel : public TGlobeRoot {
 public:
  explicit TTestModel(int* parent) : Parent(parent) {}
  std::string ClassName() const override { return "TTestModel"; }
  int* Parent;
};

class TTestFlatModel : public TTestModel {
 public:
  using TTestModel::TTestModel;
  std::string ClassName() const override { return "TTestFlatModel"; }
};

class TTestOther : public TGlobeRoot {
 public:
  std::string ClassName() const override { return "TTestOther"; }
};

TEST(ClassRegistry, CreatesRegisteredClassesByNameIgnoringCaseOrRaisesTheirMessages) {
  using corvalis::testing::ThrownMessage;
  RegisterGlobeClass<TTestFlatModel, TTestModel, int*>("TTestFlatModel");
  RegisterGlobeClass<TTestOther, TGlobeRoot>("TTestOther");
  int parent = 7;
  std::unique_ptr<TTestModel> model = CreateGlobeClass<TTestModel>("ttestflatMODEL", "TTestModel", &parent);
  EXPECT_EQ(std::tuple(model->ClassName(), model->Parent), std::tuple("TTestFlatModel", &parent));
  EXPECT_EQ(FindGlobeClass("TTESTFLATMODEL").Name(), "TTestFlatModel");
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { CreateGlobeClass<TTestModel>("TNoSuchClass", "TTestModel", &parent); }),
            "Class TNoSuchClass not found");
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { CreateGlobeClass<TTestModel>("TTestOther", "TTestModel", &parent); }),
            "Class TTestOther does not inherit from TTestModel");
  // Registered as a plain root with no arguments, it is creatable that way.
  EXPECT_EQ(FindGlobeClass("TTestOther").Create<TGlobeRoot>()->ClassName(), "TTestOther");
}

}  // namespace
}  // namespace globe
