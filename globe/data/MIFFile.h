#pragma once
// The MapInfo interchange pair: a ".MIF" file of graphic statements and an optional ".MID" file
// with one attribute line per object. Reads the header, indexes where each object statement
// starts and parses one object on demand into plain geometry, title and style values. Keywords
// are compared without regard to case.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "globe/data/TextReader.h"

namespace globe {

// Style values read from the Pen, Brush and Font clauses of a statement. Colours are already in
// the platform order 0x00BBGGRR. Pen styles are ordinals of solid, dash, dot, dash-dot,
// dash-dot-dot, clear, inside-frame; brush styles are ordinals of the globe brush styles.
struct TMIFStyle {
    int PenWidth = 1;
    int PenStyle = 0;
    std::uint32_t PenColor = 0;
    int BrushStyle = 0;
    std::uint32_t BrushColor = 0xFFFFFF;
    std::uint32_t BrushBkColor = 0xFFFFFF;
    std::string FontName = "Arial";
    int FontSize = 0;
    std::uint32_t FontColor = 0;
    int FontAngle = 0;   // tenths of a degree
};

enum TMIFStatement { msPoint, msLine, msPline, msRegion, msText };

struct TMIFObject {
    TMIFStatement Statement = msPoint;
    bool Closed = false;
    std::string Title;
    // Point and Text objects have no chains; their position is Centre.
    TGeoPoint Centre;
    std::vector<std::vector<TGeoPoint>> Chains;
    bool HasStyle = false;   // style clauses were parsed (first build of the object)
    TMIFStyle Style;
};

namespace mif {
// Pen pattern number to pen style ordinal; brush pattern number to brush style ordinal.
int PenStyleOf(int pattern);
int BrushStyleOf(int pattern);
// 0x00RRGGBB (as written in the file) to 0x00BBGGRR.
std::uint32_t ColorOf(std::int64_t rgb);
// Words of a line, split at runs of blanks and tabs.
std::vector<std::string> Tokens(const std::string& line);
// Field `column` (0-based) of an attribute line split at the delimiter, outside double quotes,
// with its quotes removed; the whole line when the column is outside the fields.
std::string MIDField(const std::string& line, char delimiter, int column);
// The ".MID" file beside a ".MIF" file (the case of its extension kept, then either case); "" when
// there is none.
std::string MIDFileFor(const std::string& mifFileName);
} // namespace mif

class TMIFFile {
public:
    // Opens the ".MIF" file and, when one exists beside it, its ".MID" file.
    explicit TMIFFile(const std::string& mifFileName);

    // Reads the header up to "Data". Raises EGlobeException
    // "MIF Import only supports Lat/Long tables." unless the coordinate system is longitude and
    // latitude; a CoordSys line already set (from saved settings) is used when the file has none.
    void ReadHeader();
    // Indexes the next object statement; false at the end of the file.
    bool ReadObject();
    // Parses object `index`; with `firstBuild` its style clauses too.
    TMIFObject GetObject(int index, bool firstBuild);

    int Count() const { return static_cast<int>(FIndex.size()); }
    // Position of object statements in the ".MIF" file and of their records in the ".MID" file.
    struct TEntry {
        std::int64_t MIFPosition = 0;
        std::int64_t MIDPosition = -1;   // -1 without a ".MID" file
    };
    const std::vector<TEntry>& Index() const { return FIndex; }
    void SetIndex(std::vector<TEntry> index) { FIndex = std::move(index); }
    bool HasMID() const { return FMID != nullptr; }
    // The ".MIF" file's mapped stream; its position is the reading position.
    TGlobeStream& MIFStream() { return FMIF->Stream(); }

    int Version = 0;
    std::string CoordSys;
    char Delimiter = '\t';
    std::vector<std::string> ColumnNames;   // "name=type"
    int TitleColumn = 0;

private:
    bool NextLine();
    std::string Token(std::size_t n) const { return n < FTokens.size() ? FTokens[n] : std::string(); }
    bool TokenIs(std::size_t n, const char* keyword) const;
    // The point whose longitude and latitude are tokens n and n + 1 of the current line.
    TGeoPoint PointAt(std::size_t n) const;
    void ReadChain(std::int64_t count, std::vector<TGeoPoint>& chain);
    void ReadSections(std::int64_t sections, TMIFObject& object);
    void ParseStyles(TMIFObject& object, const std::vector<const char*>& accepted);
    void ParsePen(TMIFStyle& style) const;
    void ParseBrush(TMIFStyle& style) const;
    void ParseFont(TMIFStyle& style) const;
    std::string RecordTitle() const;

    std::unique_ptr<TGlobeTextReader> FMIF;
    std::unique_ptr<TGlobeTextReader> FMID;
    std::vector<TEntry> FIndex;
    std::string FLine;
    std::vector<std::string> FTokens;
    std::string FRecord;
    int FCollectionParts = 0;          // parts of a Collection still to come
    std::int64_t FCollectionMID = -1;  // the Collection's ".MID" line, shared by its parts
};

} // namespace globe
