#pragma once
// The stream form of map objects in LYR layer files: a flag word, the optional title, ID and
// zoom range, the presenter ID, then a single point (objects without chains) or the chains
// (TGeoDataObject), or the placement and file name of a bitmap (TBitmapObject).

namespace globe {

class TGlobeObject;
class TGlobeStreamReader;
class TGlobeStreamWriter;

// Writes the object. Choosing the encoding drops repeated points of its chains (after the
// second point of each chain).
void WriteLYRObject(TGlobeStreamWriter& writer, TGlobeObject& object);
// Reads an object written by WriteLYRObject into a new object of the class it was written from.
// Raises EGlobeException when the data ends early.
void ReadLYRObject(TGlobeStreamReader& reader, TGlobeObject& object);

} // namespace globe
