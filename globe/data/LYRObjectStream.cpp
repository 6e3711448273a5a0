#include "globe/data/LYRObjectStream.h"

#include <algorithm>

#include "globe/data/BitmapObject.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"
#include "globe/data/LYRChainStream.h"

namespace globe {

namespace {

uint16_t HeaderFlags(const TGlobeObject& object) {
    uint16_t flags = 0;
    if (!object.Title().empty())
        flags |= ofHasTitle;
    if (object.ID() != 0)
        flags |= ofHasID;
    if (object.ZoomMin() != object.ZoomMax())
        flags |= ofHasZoomRange;
    if (object.Closed())
        flags |= ofClosed;
    return flags;
}

void WriteHeader(TGlobeStreamWriter& writer, TGlobeObject& object, uint16_t flags) {
    object.SetObjectFlags(flags);
    writer.WriteWord(flags);
    if (flags & ofHasTitle)
        writer.WriteShortString(object.Title());
    if (flags & ofHasID)
        writer.WriteInteger(object.ID());
    if (flags & ofHasZoomRange) {
        writer.WriteInteger(object.ZoomMin());
        writer.WriteInteger(object.ZoomMax());
    }
    writer.WriteWord(static_cast<uint16_t>(object.PresenterID()));
}

void WriteGeoData(TGlobeStreamWriter& writer, TGeoDataObject& object, uint16_t flags) {
    TChainStore& chains = object.Chains();
    // The chain count is a Word: chains past 65,535 cannot be written.
    const int32_t count = std::min<int32_t>(chains.Count(), 65535);
    if (count == 0) {
        WriteHeader(writer, object, flags | ofNoChains);
        const TGeoPoint centre = object.GetCentroid();
        writer.WritePoint(TGeoPoint(centre.LongX, centre.LatY, 0), false, false);
        return;
    }
    const uint16_t firstFlags = ChooseChainFlags(chains.Chain(0));
    if (count > 1)
        flags |= ofMultipleChains;
    WriteHeader(writer, object, flags | firstFlags);
    if (count > 1)
        writer.WriteWord(static_cast<uint16_t>(count));
    WritePointList(writer, chains.Chain(0), firstFlags);
    for (int32_t c = 1; c < count; ++c) {
        const uint16_t chainFlags = ChooseChainFlags(chains.Chain(c));
        writer.WriteWord(chainFlags);
        WritePointList(writer, chains.Chain(c), chainFlags);
    }
}

void WriteBitmap(TGlobeStreamWriter& writer, TBitmapObject& object, uint16_t flags) {
    WriteHeader(writer, object, flags);
    const TGeoPoint corner = object.GetCentroid();
    writer.WriteInteger(corner.LongX);
    writer.WriteInteger(corner.LatY);
    writer.WriteInteger(object.GlobeUnitsPerXPixel());
    writer.WriteInteger(object.GlobeUnitsPerYPixel());
    writer.WriteInteger(object.TransparentIndex());
    writer.WriteShortString(object.BMPFilename());
}

void ReadGeoData(TGlobeStreamReader& reader, TGeoDataObject& object, uint16_t flags) {
    if (flags & ofNoChains) {
        object.SetCentroid(reader.ReadPoint(flags & ofHeights, flags & ofMinutes));
        return;
    }
    const int32_t count = (flags & ofMultipleChains) ? reader.ReadWord() : 1;
    TChainStore& chains = object.Chains();
    for (int32_t c = 0; c < count; ++c) {
        const uint16_t chainFlags = c == 0 ? static_cast<uint16_t>(flags & ChainFlagMask) : reader.ReadWord();
        ReadPointList(reader, chains.Chain(c), chainFlags);
    }
}

void ReadBitmap(TGlobeStreamReader& reader, TBitmapObject& object) {
    const int32_t longX = reader.ReadInteger();
    const int32_t latY = reader.ReadInteger();
    object.SetCentroid(TGeoPoint(longX, latY));
    object.SetGlobeUnitsPerPixel(1, reader.ReadInteger());
    object.SetGlobeUnitsPerPixel(2, reader.ReadInteger());
    object.SetTransparentIndex(reader.ReadInteger());
    object.SetBMPFilename(reader.ReadShortString());
}

} // namespace

void WriteLYRObject(TGlobeStreamWriter& writer, TGlobeObject& object) {
    const uint16_t flags = HeaderFlags(object);
    if (auto* geo = dynamic_cast<TGeoDataObject*>(&object))
        WriteGeoData(writer, *geo, flags);
    else if (auto* bitmap = dynamic_cast<TBitmapObject*>(&object))
        WriteBitmap(writer, *bitmap, flags);
    else
        WriteHeader(writer, object, flags);
}

void ReadLYRObject(TGlobeStreamReader& reader, TGlobeObject& object) {
    const uint16_t flags = reader.ReadWord();
    object.SetObjectFlags(flags);
    if (flags & ofHasTitle)
        object.SetTitle(reader.ReadShortString());
    if (flags & ofHasID)
        object.SetID(reader.ReadInteger());
    if (flags & ofHasZoomRange) {
        object.SetZoomMin(reader.ReadInteger());
        object.SetZoomMax(reader.ReadInteger());
    }
    object.SetPresenterID(static_cast<int16_t>(reader.ReadWord()));
    if (flags & ofClosed)
        object.SetClosed(true);
    if (auto* geo = dynamic_cast<TGeoDataObject*>(&object))
        ReadGeoData(reader, *geo, flags);
    else if (auto* bitmap = dynamic_cast<TBitmapObject*>(&object))
        ReadBitmap(reader, *bitmap);
}

} // namespace globe
