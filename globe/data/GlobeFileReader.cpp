#include "globe/data/GlobeFileReader.h"

#include <filesystem>
#include <system_error>

#include "globe/data/GlobeHost.h"
#include "globe/data/GlobeStream.h"
#include "globe/data/XmlElement.h"

namespace globe {

TGlobeFileReader::TGlobeFileReader(TGlobeHost* globe) : TGlobeObjectSource(globe) {}

void TGlobeFileReader::SetFileName(const std::string& name) { FileName_ = Globe()->ResolveFileName(name); }

bool TGlobeFileReader::ReadHeader(TGlobeStream&) { return true; }

bool TGlobeFileReader::ReadObject(TGlobeStream&, int32_t) { return false; }

bool TGlobeFileReader::TakeNameFromFile() {
    const std::string& fileName = FileName();
    std::error_code error;
    if (fileName.empty() || !std::filesystem::is_regular_file(fileName, error))
        return false;
    SetName(std::filesystem::path(fileName).filename().string());
    return true;
}

bool TGlobeFileReader::MapStream(TGlobeStream& stream) {
  TGlobeHost& globe = *Globe();
  bool abort = globe.DoProgress(pmStart, "Mapping");
  const int64_t size = stream.Size();
  stream.Seek(0);
  SetCount(0);
  const bool headerRead = ReadHeader(stream);
  if (headerRead) {
    while (!abort && ReadObject(stream, Count())) {
      SetCount(Count() + 1);
      Objects(Count() - 1);
      if (Count() % 256 == 0 && size > 0)
        abort = globe.DoProgress(pmProgress, std::to_string((stream.Position() * 100 + size / 2) / size));
    }
  }
  globe.DoProgress(pmEnd, "Finished");
  return headerRead;
}

void TGlobeFileReader::LoadEnvironment(const TGXML_Element* element) {
  TGlobeObjectSource::LoadEnvironment(element);
  if (element == nullptr) return;
  SetFileName(element->Attribute("Filename", FileName_));
}

std::unique_ptr<TGXML_Element> TGlobeFileReader::SaveEnvironment() const {
  std::unique_ptr<TGXML_Element> element = TGlobeObjectSource::SaveEnvironment();
  element->AddAttribute("Filename", RelativeFileName(FileName_, Globe()->DataDirectory()));
  return element;
}

std::string RelativeFileName(const std::string& path, const std::string& directory) {
  if (path.empty()) return path;
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(path, error).lexically_normal();
  if (error || directory.empty()) return path;
  const std::filesystem::path base = std::filesystem::absolute(directory, error).lexically_normal();
  if (error) return path;
  const std::filesystem::path relative = full.lexically_relative(base);
  return relative.empty() ? full.string() : relative.string();
}

}  // namespace globe
