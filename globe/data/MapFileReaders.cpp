#include "globe/data/MapFileReaders.h"

#include <cctype>
#include <filesystem>
#include <memory>
#include <utility>

#include "globe/data/GlobeException.h"
#include "globe/data/GlobeFileReader.h"

namespace globe {

namespace {

struct TMapFileFormat {
  std::string Extension;  // upper case, without the dot
  std::string ReaderClass;
};

std::vector<TMapFileFormat>& Formats() {
  static std::vector<TMapFileFormat> formats;
  return formats;
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

std::string UpperExtensionOf(std::string_view fileName) {
  const std::string extension = std::filesystem::path(fileName).extension().string();
  return extension.empty() ? std::string() : UpperCase(std::string_view(extension).substr(1));
}

}  // namespace

void AddMapFileExtension(std::string_view extension, std::string_view readerClass) {
  const std::string key = UpperCase(extension);
  for (TMapFileFormat& format : Formats())
    if (format.Extension == key) {
      format.ReaderClass = std::string(readerClass);
      return;
    }
  Formats().push_back({key, std::string(readerClass)});
}

std::string MapFileReaderClass(std::string_view fileName) {
  const std::string key = UpperExtensionOf(fileName);
  for (const TMapFileFormat& format : Formats())
    if (!key.empty() && format.Extension == key) return format.ReaderClass;
  return {};
}

std::vector<std::string> MapFileExtensions() {
  std::vector<std::string> extensions;
  for (const TMapFileFormat& format : Formats()) extensions.push_back(format.Extension);
  return extensions;
}

std::string UnknownMapFileMessage() {
  const std::vector<std::string> extensions = MapFileExtensions();
  std::string list;
  for (size_t i = 0; i < extensions.size(); ++i)
    list += (i == 0 ? "" : i + 1 == extensions.size() ? " or " : ", ") + extensions[i];
  return "not a " + list + " file";
}

TGlobeFileReader& NewMapFileReader(TGlobeHost& host, std::string_view fileName) {
  const std::string readerClass = MapFileReaderClass(fileName);
  if (readerClass.empty()) throw EGlobeException(UnknownMapFileMessage());
  std::unique_ptr<TGlobeObjectSource> source =
      CreateGlobeClass<TGlobeObjectSource>(readerClass, "TGlobeObjectSource", &host);
  if (dynamic_cast<TGlobeFileReader*>(source.get()) == nullptr)
    throw EGlobeException(FormatGlobeMessage("Class %s does not inherit from TGlobeFileReader", readerClass));
  return static_cast<TGlobeFileReader&>(*host.AddObjectSource(std::move(source)));
}

}  // namespace globe
