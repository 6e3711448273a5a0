#pragma once
// Meta-data (index) files of the file readers: the data file's name with ".md" appended, kept
// where the view's SaveMetaDataLocation says. The shared first part (version Word 259, the
// source's presenters, then per object its bounds, PresenterID and closed state) lets a source
// answer those questions without reading the data file; each reader appends its own index.

#include <cstdint>
#include <functional>
#include <string>

namespace globe {

class TGlobeFileReader;
class TGlobeStreamReader;
class TGlobeStreamWriter;

inline constexpr uint16_t MetaDataVersion = 259;

// The meta-data file of the reader's data file; empty with smdDiscard or without a file name.
std::string MetaDataFileName(const TGlobeFileReader& reader);

// Whether a meta-data file exists that is not older than the data file.
bool MetaDataIsCurrent(const std::string& metaDataFile, const std::string& dataFile);

// The whole file (empty when it cannot be read or is not a regular file of a sane size); writing ignores a folder that cannot be
// written (the indexing pass is then only repeated next time).
std::string ReadFileBytes(const std::string& fileName);

// Writes the reader's meta-data file: the shared part, then the reader's own index, which
// `writeIndex` appends. A folder that cannot be written is ignored (the indexing pass is then
// only repeated next time).
void SaveMetaDataFile(const std::string& fileName, TGlobeFileReader& reader,
                      const std::function<void(TGlobeStreamWriter&)>& writeIndex);

// Forgets what an unusable meta-data file put into the reader (its records and presenters) and
// deletes the file, so that the data file is indexed again. The reader clears its own index.
void DiscardMetaData(const std::string& fileName, TGlobeFileReader& reader);

// The shared part. Writing builds nothing: records that were never filled are written as they
// stand. Reading replaces the presenters and sets Count and every object record; it raises
// EGlobeException on a wrong version or data ending early.
void WriteSharedMetaData(TGlobeStreamWriter& writer, TGlobeFileReader& reader);
void ReadSharedMetaData(TGlobeStreamReader& stream, TGlobeFileReader& reader);

} // namespace globe
