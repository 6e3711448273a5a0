// The window-free view core: data directory and file names, object numbering, notifications and
// the progress-reporting mapping read of file readers.

#include <gtest/gtest.h>

#include <utility>

#include "GlobeDataFixtures.h"
#include "TempFile.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobeStream.h"

namespace globe {
namespace {

using testing::TempDir;

TEST(ViewFiles, DataDirectoryIsTrimmedAndEndsWithASeparator) {
  TempDir dir;
  TCustomVoduz4 globe;
  std::vector<std::string> missing;
  globe.OnDirectoryNotFound = [&](TCustomVoduz4&, const std::string& d) { missing.push_back(d); };
  globe.SetDataDirectory("  " + dir.Path.string() + " ");
  EXPECT_EQ(globe.DataDirectory(), dir.Path.string() + "/");
  globe.SetDataDirectory(dir.Path.string() + "/");
  EXPECT_EQ(globe.DataDirectory(), dir.Path.string() + "/");
  EXPECT_TRUE(missing.empty());
  globe.SetDataDirectory(dir.File("nothing"));
  EXPECT_EQ(missing, std::vector<std::string>{dir.File("nothing") + "/"});
  globe.SetDataDirectory("");
  EXPECT_EQ(globe.DataDirectory(), "");
  EXPECT_EQ(missing.size(), 1u);
}

TEST(ViewFiles, NamesResolveAgainstTheDataDirectory) {
  TempDir dir;
  const std::string coast = dir.Write("coast.dat", "x");
  std::filesystem::create_directories(dir.Path / "maps");
  const std::string deep = dir.Write("maps/deep.dat", "x");
  TCustomVoduz4 globe;
  globe.SetDataDirectory(dir.Path.string());
  EXPECT_EQ(globe.ResolveFileName(coast), coast);                       // the name itself
  EXPECT_EQ(globe.ResolveFileName("coast.dat"), dir.Path.string() + "/coast.dat");
  EXPECT_EQ(globe.ResolveFileName("maps\\deep.dat"), dir.Path.string() + "/maps/deep.dat");
  EXPECT_EQ(globe.ResolveFileName("C:\\Game\\Data\\coast.dat"), dir.Path.string() + "/coast.dat");
  EXPECT_EQ(globe.ResolveFileName("absent.dat"), "");
  (void)deep;
}

TEST(ViewFiles, TheApplicationMayOfferAnotherName) {
  TempDir dir;
  const std::string coast = dir.Write("coast.dat", "x");
  TCustomVoduz4 globe;
  globe.SetDataDirectory(dir.Path.string());
  std::vector<std::string> asked;
  globe.OnFileNotFound = [&](TCustomVoduz4&, std::string& name, bool& tryAgain) {
    asked.push_back(name);
    if (name == "old.dat") {
      name = coast;
      tryAgain = true;
    }
  };
  EXPECT_EQ(globe.ResolveFileName("old.dat"), coast);
  EXPECT_EQ(globe.ResolveFileName("other.dat"), "");
  EXPECT_EQ(globe.ResolveFileName(" "), "");  // no name: nothing to ask about
  EXPECT_EQ(asked, (std::vector<std::string>{"old.dat", "other.dat"}));

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
  const std::string notABitmap = dir.Write("sea.bmp", "not a bitmap");
  TCustomVoduz4 globe;
  globe.SetSurfaceTextureName(notABitmap);
  EXPECT_EQ(globe.SurfaceTextureName(), "");
  globe.SetSurfaceTextureName(dir.File("missing.bmp"));
  EXPECT_EQ(globe.SurfaceTextureName(), "");
  EXPECT_FALSE(globe.SurfaceTexture().HasTexture());
}

TEST(ViewNotifications, SourcesAndRedrawsAreReported) {
  TCustomVoduz4 globe;
  std::vector<std::string> events;
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
  EXPECT_EQ(events, (std::vector<std::string>{"create", "open", "close", "free"}));
  EXPECT_EQ(globe.NewObjectID(), 1);
  EXPECT_EQ(globe.NewObjectID(), 2);
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

TEST(ViewProgress, TheMappingReadReportsStartPercentagesAndEnd) {
  TCustomVoduz4 globe;
  auto* reader = globe.NewObjectSource<TByteReader>();
  std::vector<std::pair<int, std::string>> reports;
  globe.OnProgress = [&](TCustomVoduz4&, TProgressMessage kind, const std::string& text, bool&) {
    reports.emplace_back(kind, text);
  };
  TGlobeMemoryStream stream(std::string(600, 'x'));
  stream.Seek(100);  // the read starts from the beginning whatever the position
  EXPECT_TRUE(reader->MapStream(stream));
  EXPECT_EQ(reader->Count(), 600);
  EXPECT_EQ(reader->Built, 600);
  // 256 and 512 of 600 bytes: 42.7 and 85.3 percent.
  EXPECT_EQ(reports, (std::vector<std::pair<int, std::string>>{
                         {pmStart, "Mapping"}, {pmProgress, "43"}, {pmProgress, "85"}, {pmEnd, "Finished"}}));
}

TEST(ViewProgress, AnAbortEndsTheMappingRead) {
  TCustomVoduz4 globe;
  auto* reader = globe.NewObjectSource<TByteReader>();
  globe.OnProgress = [&](TCustomVoduz4&, TProgressMessage kind, const std::string&, bool& abort) {
    abort = kind == pmProgress;
  };
  TGlobeMemoryStream stream(std::string(600, 'x'));
  EXPECT_TRUE(reader->MapStream(stream));
  EXPECT_EQ(reader->Count(), 256);
}

}  // namespace
}  // namespace globe
