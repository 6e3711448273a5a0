#pragma once
// The point list of one chain in LYR layer files: a point count, the first point in full, then
// every further point in full or as small differences from the point before it. The chain flags
// (the bits of an object's stream flag word that describe a chain) choose the encoding.

#include <cstdint>

namespace globe {

class TPointStore;
class TGlobeStreamReader;
class TGlobeStreamWriter;

// Object stream flag word bits.
enum TLYRObjectFlag : uint16_t {
    ofHasTitle = 0x0001,
    ofHasID = 0x0002,
    ofHeights = 0x0004,          // chain: heights stored
    ofMinutes = 0x0008,          // chain: coordinates in whole minutes of arc (16-bit)
    ofDelta = 0x0010,            // chain: points after the first as differences
    ofNoChains = 0x0020,         // single point object
    ofLongCount = 0x0040,        // chain: more than 65,535 points (32-bit count)
    ofHasZoomRange = 0x0080,
    ofClosed = 0x0100,
    ofMultipleChains = 0x0400,
};
inline constexpr uint16_t ChainFlagMask = ofHeights | ofMinutes | ofDelta | ofLongCount;

// Whether point i is left out when the chain is written: it equals the point after it and is
// neither one of the first two points nor the last.
bool IsRepeatedPoint(const TPointStore& chain, int32_t i);

// The number of points the chain has once written (its repeated points left out).
int32_t WrittenPointCount(const TPointStore& chain);

// Chooses the chain flags for writing the chain. Removes a point equal (with its height) to the
// point after it, except the first two points. Minute precision is kept only when every
// coordinate is a whole minute and, unlike the format's own rule, every height too.
uint16_t ChooseChainFlags(TPointStore& chain);

// Writes the chain's point list in the encoding of `chainFlags`.
void WritePointList(TGlobeStreamWriter& writer, const TPointStore& chain, uint16_t chainFlags);

// Reads a point list written with `chainFlags` into the chain (replacing its points); the
// chain keeps heights when the flags say so. Raises EGlobeException when the data ends early.
void ReadPointList(TGlobeStreamReader& reader, TPointStore& chain, uint16_t chainFlags);

} // namespace globe
