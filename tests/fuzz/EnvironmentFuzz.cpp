// The environment file: the XML text is parsed and loaded into a headless map view (projection,
// layers, presenters, readers), which is then drawn once and saved back to text. The view's data
// folder holds the small map files of tests/fuzz/maps, so layers can name real files.

#include <cstdint>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>

#include "FuzzScratch.h"
#include "globe/data/XmlDocument.h"
#include "globe/view/GlobeClasses.h"
#include "globe/view/Voduz4.h"
#include "platform/NullDrawingSurface.h"

namespace {

// Copies the map files into the scratch folder once.
void PrepareDataFolder() {
  namespace fs = std::filesystem;
  static const bool done = [] {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(CORVALIS_SOURCE_DIR "/tests/fuzz/maps", error))
      fs::copy_file(entry.path(), fuzz::ScratchDir() + entry.path().filename().string(),
                    fs::copy_options::overwrite_existing, error);
    return true;
  }();
  (void)done;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PrepareDataFolder();
  globe::RegisterGlobeClasses();
  globe::TGXML_Document document;
  document.LoadFromText(fuzz::AsText(data, size));  // faulty XML is repaired, never refused

  globe::TVoduz4 view;
  view.SetSaveMetaDataLocation(globe::smdDiscard);
  view.SetDataDirectory(fuzz::ScratchDir());
  try {
    view.LoadEnvironment(document.Root().Element("TGlobe"));
  } catch (const std::exception&) {
    // Data errors end the load with their message, as the editor shows them.
  }
  view.SetClientSize(80, 60);
  platform::NullDrawingSurface surface(80, 60);
  view.Paint(surface);

  globe::TGXML_Document saved;
  saved.Root().AddElement("TGlobe", view.SaveEnvironment());
  globe::TGXML_Document reloaded;
  reloaded.LoadFromText(saved.SaveToText());  // what we write must read back
  return 0;
}
