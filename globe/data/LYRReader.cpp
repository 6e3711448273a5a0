#include "globe/data/LYRReader.h"

#include <cstdio>
#include <algorithm>
#include <filesystem>

#include "globe/data/ClassRegistry.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeFileStream.h"
#include "globe/data/GlobePresenter.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"
#include "globe/data/GlobeObject.h"
#include "globe/data/MemoryMapStream.h"
#include "globe/data/MetaDataFile.h"

namespace globe {

namespace {

bool IsObjectClass(const TGlobeClassEntry& entry) { return entry.CreatesAs<TGlobeObject, TGlobeObjectSource*>(); }

std::string Hex(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", value);
    return text;
}

} // namespace

TGlobeLYRReader::TGlobeLYRReader(TGlobeHost* globe) : TGlobeFileReader(globe) {}

TGlobeLYRReader::~TGlobeLYRReader() {
    // The source's own destructor cannot reach this reader's Close.
    if (Active()) {
        SetCount(0);
        Release();
    }
}

bool TGlobeLYRReader::Open() {
    const std::string fileName = FileName();
    if (!TakeNameFromFile())
        return false;
    try {
        FStream = std::make_unique<TMemoryMapStream>(fileName);
        FReader = std::make_unique<TGlobeStreamReader>(*FStream);
        const std::string metaData = MetaDataFileName(*this);
        if (MetaDataIsCurrent(metaData, fileName) && FStream->Size() >= 2 && LoadMetaData(metaData)) {
            FReader->SetVersion(FReader->ReadWord());   // the file version, as the header pass would
        } else {
            if (!MapStream(*FStream)) {
                Release();
                return false;
            }
            if (!metaData.empty())
                SaveMetaData(metaData);
        }
    } catch (...) {
        SetCount(0);
        Presenters()->Clear();
        Release();
        throw;
    }
    return TGlobeFileReader::Open();
}

bool TGlobeLYRReader::Close() {
    SetCount(0);
    Presenters()->Clear();
    Release();
    return TGlobeFileReader::Close();
}

void TGlobeLYRReader::Release() {
    FIndex.clear();
    FIndex.shrink_to_fit();
    FClasses.clear();
    FClassNames.clear();
    FObjectsLeft = 0;
    FReader.reset();
    FStream.reset();
}

bool TGlobeLYRReader::ReadHeader(TGlobeStream& stream) {
    TGlobeStreamReader& reader = *FReader;
    const uint16_t version = reader.ReadWord();
    if (version < 0x0300)
        throw EGlobeException("Invalid File Version " + Hex(version) + " in " + FileName());
    reader.SetVersion(version);
    reader.ReadRect();   // the extent: not used
    FIndex.clear();
    FClasses.clear();
    FClassNames.clear();
    FObjectsLeft = 0;
    int32_t count = stream.Remaining() >= 4 ? reader.ReadInteger() : 0;
    while (count > 0 && stream.Remaining() > 0) {
        const std::string className = reader.ReadShortString();
        const TGlobeClassEntry& entry = FindGlobeClass(className);
        if (IsObjectClass(entry)) {
            // The first object block: step back over its class name and count.
            stream.Seek(stream.Position() - 1 - static_cast<int64_t>(className.size()) - 4);
            break;
        }
        for (int32_t i = 0; i < count; ++i) {
            std::unique_ptr<TGlobePresenter> presenter = CreatePresenter(className, Globe(), 0);
            presenter->ReadFromStream(reader);
            Presenters()->Add(std::move(presenter));
        }
        count = stream.Remaining() >= 4 ? reader.ReadInteger() : 0;
    }
    return true;
}

bool TGlobeLYRReader::ReadObject(TGlobeStream& stream, int32_t index) {
    TGlobeStreamReader& reader = *FReader;
    if (FObjectsLeft <= 0) {
        if (stream.Remaining() < 4)
            return false;
        const int32_t count = reader.ReadInteger();
        if (count <= 0)
            return false;
        const std::string className = reader.ReadShortString();
        int32_t number = 0;
        while (number < static_cast<int32_t>(FClassNames.size()) && FClassNames[number] != className)
            ++number;
        if (number == static_cast<int32_t>(FClassNames.size())) {
            const TGlobeClassEntry& entry = FindGlobeClass(className);
            if (!IsObjectClass(entry))
                throw EGlobeException(FormatGlobeMessage("Class %s does not inherit from TGlobeObject", className));
            FClassNames.push_back(className);
            FClasses.push_back(&entry);
        }
        FCurrentClass = number;
        FObjectsLeft = count;
    }
    if (static_cast<int32_t>(FIndex.size()) != index)
        FIndex.resize(static_cast<std::size_t>(index));
    FIndex.push_back({FCurrentClass, stream.Position()});
    --FObjectsLeft;
    return true;
}

std::unique_ptr<TGlobeObject> TGlobeLYRReader::GetObject(int32_t index, bool) {
    if (!FReader || index < 0 || index >= static_cast<int32_t>(FIndex.size()))
        return nullptr;
    const TEntry& entry = FIndex[static_cast<std::size_t>(index)];
    FStream->Seek(entry.Offset);
    std::unique_ptr<TGlobeObject> object =
        FClasses[static_cast<std::size_t>(entry.ClassNumber)]->Create<TGlobeObject, TGlobeObjectSource*>(this);
    if (object)
        object->ReadFromStream(*FReader);
    return object;
}

bool TGlobeLYRReader::LoadMetaData(const std::string& fileName) {
    try {
        TGlobeStreamReader reader(std::make_unique<TGlobeMemoryStream>(ReadFileBytes(fileName)));
        reader.SetVersion(GlobeStreamVersion);
        ReadSharedMetaData(reader, *this);
        const int32_t classCount = reader.ReadInteger();
        if (classCount < 0 || classCount > 256)   // class numbers are bytes
            throw EGlobeException("Invalid meta-data class count");
        std::vector<std::string> names(static_cast<std::size_t>(classCount));
        std::vector<const TGlobeClassEntry*> classes;
        for (std::string& name : names) {
            name = reader.ReadShortString();
            const TGlobeClassEntry* entry = FindGlobeClassOrNull(name);
            if (!entry || !IsObjectClass(*entry))
                throw EGlobeException("Invalid meta-data class");
            classes.push_back(entry);
        }
        const int32_t count = reader.ReadInteger();
        if (count != Count() || count > reader.Stream().Remaining() / 5)
            throw EGlobeException("Invalid meta-data index");
        std::vector<TEntry> index(static_cast<std::size_t>(count));
        for (TEntry& entry : index) {
            entry.ClassNumber = reader.ReadByte();
            entry.Offset = reader.ReadInteger();
            if (entry.ClassNumber >= static_cast<int32_t>(classes.size()) || entry.Offset < 0 ||
                entry.Offset >= FStream->Size())
                throw EGlobeException("Invalid meta-data index");
        }
        FClassNames = std::move(names);
        FClasses = std::move(classes);
        FIndex = std::move(index);
        return true;
    } catch (const EGlobeException&) {
        FIndex.clear();
        DiscardMetaData(fileName, *this);
        return false;
    }
}

void TGlobeLYRReader::SaveMetaData(const std::string& fileName) {
    SaveMetaDataFile(fileName, *this, [&](TGlobeStreamWriter& writer) {
        writer.WriteInteger(static_cast<int32_t>(FClassNames.size()));
        for (const std::string& name : FClassNames)
            writer.WriteShortString(name.substr(0, 255));
        writer.WriteInteger(static_cast<int32_t>(FIndex.size()));
        for (const TEntry& entry : FIndex) {
            writer.WriteByte(static_cast<uint8_t>(entry.ClassNumber));
            writer.WriteInteger(static_cast<int32_t>(entry.Offset));
        }
    });
}

void SaveLYRFile(TGlobeObjectSource& source, const std::string& fileName) {
    TGlobeStreamWriter writer(std::make_unique<TGlobeFileStream>(fileName, TGlobeFileStream::TMode::fmCreate));
    writer.WriteWord(LYRFileVersion);
    writer.WriteRect(source.Bounds());
    // Presenters in runs of one class each.
    const TGlobePresenterStore& presenters = *source.Presenters();
    for (int32_t i = 0; i < presenters.Count();) {
        const std::string className = presenters.Presenters(i)->ClassName();
        int32_t end = i;
        while (end < presenters.Count() && presenters.Presenters(end)->ClassName() == className)
            ++end;
        writer.WriteInteger(end - i);
        writer.WriteShortString(className);
        for (; i < end; ++i)
            presenters.Presenters(i)->WriteToStream(writer);
    }
    // Objects in runs of one class each.
    for (int32_t i = 0; i < source.Count();) {
        const std::string className = source.Objects(i)->ClassName();
        int32_t end = i + 1;
        while (end < source.Count() && source.Objects(end)->ClassName() == className)
            ++end;
        writer.WriteInteger(end - i);
        writer.WriteShortString(className);
        for (; i < end; ++i)
            source.Objects(i)->WriteToStream(writer);
    }
    writer.WriteInteger(0);
}

} // namespace globe
