#include "globe/data/MetaDataFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "globe/data/GlobeHost.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeFileReader.h"
#include "globe/data/GlobeObject.h"
#include "globe/data/GlobeObjectData.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/data/GlobeStream.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"

namespace globe {

namespace fs = std::filesystem;

std::string MetaDataFileName(const TGlobeFileReader& reader) {
    const std::string& data = reader.FileName();
    if (data.empty())
        return {};
    const TGlobeHost& globe = *reader.Globe();
    const std::string name = fs::path(data).filename().string() + ".md";
    switch (globe.SaveMetaDataLocation()) {
    case smdInDataDirectory:
        if (!globe.DataDirectory().empty())
            return (fs::path(globe.DataDirectory()) / name).string();
        return data + ".md";
    case smdWithDataFile:
        return data + ".md";
    case smdWithExeFile:
        return (fs::path(globe.ProgramDirectory()) / name).string();
    case smdDiscard:
        break;
    }
    return {};
}

bool MetaDataIsCurrent(const std::string& metaDataFile, const std::string& dataFile) {
    std::error_code error;
    if (metaDataFile.empty() || !fs::is_regular_file(metaDataFile, error))
        return false;
    const auto metaTime = fs::last_write_time(metaDataFile, error);
    if (error)
        return false;
    const auto dataTime = fs::last_write_time(dataFile, error);
    return !error && metaTime >= dataTime;
}

std::string ReadFileBytes(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void SaveMetaDataFile(const std::string& fileName, TGlobeFileReader& reader,
                      const std::function<void(TGlobeStreamWriter&)>& writeIndex) {
    auto bytes = std::make_unique<TGlobeMemoryStream>();
    TGlobeMemoryStream& memory = *bytes;
    TGlobeStreamWriter writer(std::move(bytes));
    writer.SetVersion(GlobeStreamVersion);
    WriteSharedMetaData(writer, reader);
    writeIndex(writer);
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out.write(memory.Bytes().data(), static_cast<std::streamsize>(memory.Bytes().size()));
}

void DiscardMetaData(const std::string& fileName, TGlobeFileReader& reader) {
    reader.SetCount(0);
    reader.Presenters()->Clear();
    std::error_code ignored;
    fs::remove(fileName, ignored);
}

void WriteSharedMetaData(TGlobeStreamWriter& writer, TGlobeFileReader& reader) {
    writer.WriteWord(MetaDataVersion);
    reader.Presenters()->WriteToStream(writer);
    writer.WriteInteger(reader.Count());
    for (int32_t i = 0; i < reader.Count(); ++i) {
        TGlobeObjectData& data = reader.GetObjectData(i);
        // A light record whose bounds were never computed gets them from its object.
        const TGeoRect bounds =
            data.HasState(osBoundsValid) || data.AsObject() ? data.GetBounds() : reader.Objects(i)->GetBounds();
        TGlobeObjectData& record = reader.GetObjectData(i);
        writer.WriteRect(bounds);
        writer.WriteInteger(record.PresenterID());
        writer.WriteBoolean(record.HasState(osClosed));
    }
}

void ReadSharedMetaData(TGlobeStreamReader& stream, TGlobeFileReader& reader) {
    if (stream.ReadWord() != MetaDataVersion)
        throw EGlobeException("Invalid meta-data version");
    reader.Presenters()->Clear();
    reader.Presenters()->ReadFromStream(stream);
    const int32_t count = stream.ReadInteger();
    // Every record takes 21 bytes: a count beyond the data is refused before anything is made.
    if (count < 0 || count > stream.Stream().Remaining() / 21)
        throw EGlobeException("Invalid meta-data object count");
    reader.SetCount(count);
    for (int32_t i = 0; i < count; ++i) {
        TGlobeObjectData& data = reader.GetObjectData(i);
        data.SetBounds(stream.ReadRect());
        data.SetPresenterID(stream.ReadInteger());
        uint16_t state = osBoundsValid;
        if (stream.ReadBoolean())
            state |= osClosed;
        data.SetState(state);
    }
}

} // namespace globe
