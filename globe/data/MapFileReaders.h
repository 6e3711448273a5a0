#pragma once
// Map-file readers found by the file's extension. Each format is one registration: the reader
// class (created by name as a TGlobeObjectSource of its host) and the extension that selects it,
// compared without regard to case. RegisterGlobeDataClasses registers the LYR, SHP and MIF
// readers; lyrconvert and the scenario's land file open map files through here.

#include <string>
#include <string_view>
#include <vector>

#include "globe/data/ClassRegistry.h"
#include "globe/data/GlobeHost.h"

namespace globe {

class TGlobeFileReader;
class TGlobeObjectSource;

// Files with `extension` (without the dot) are read by the class registered as `readerClass`.
// A second registration of an extension replaces the first.
void AddMapFileExtension(std::string_view extension, std::string_view readerClass);

// Registers `Reader` by class name and as the reader of `extension`.
template <class Reader>
void RegisterMapFileReader(std::string_view extension, std::string_view readerClass) {
  RegisterGlobeClass<Reader, TGlobeObjectSource, TGlobeHost*>(readerClass);
  AddMapFileExtension(extension, readerClass);
}

// The reader class for the file's extension; "" when no reader is registered for it.
std::string MapFileReaderClass(std::string_view fileName);
// The registered extensions in upper case, in registration order ("LYR", "SHP", "MIF").
std::vector<std::string> MapFileExtensions();
// What an unknown extension is told: "not a LYR, SHP or MIF file" (the registered formats).
std::string UnknownMapFileMessage();

// Makes the reader for the file's extension as a source owned by `host` (its file name not yet
// set); raises EGlobeException with UnknownMapFileMessage() for any other extension.
TGlobeFileReader& NewMapFileReader(TGlobeHost& host, std::string_view fileName);

}  // namespace globe
