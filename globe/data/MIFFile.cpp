#include "globe/data/MIFFile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>

#include "globe/data/GlobeException.h"
#include "globe/data/GlobeUnits.h"
#include "platform/IntegerText.h"

namespace globe {

namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string Trim(const std::string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ')
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ')
        --end;
    return text.substr(begin, end - begin);
}

bool ParseInt(const std::string& text, std::int64_t& value) {
    const std::string t = Trim(text);
    const char* first = t.data();
    if (!t.empty() && *first == '+')
        ++first;
    const auto [end, error] = std::from_chars(first, t.data() + t.size(), value);
    return !t.empty() && error == std::errc() && end == t.data() + t.size();
}

std::int64_t IntOrDefault(const std::string& text, std::int64_t fallback) {
    std::int64_t value = 0;
    return ParseInt(text, value) ? value : fallback;
}

// A point or section count; anything else raises the platform's conversion error.
std::int64_t CountOf(const std::string& text) { return platform::StrToInt(text); }

// The comma-separated values between the first "(" and the last ")" of a clause.
std::vector<std::string> ClauseValues(const std::string& line) {
    std::vector<std::string> values;
    const std::size_t open = line.find('(');
    if (open == std::string::npos)
        return values;
    std::size_t close = line.rfind(')');
    if (close == std::string::npos || close < open)
        close = line.size();
    std::string current;
    for (std::size_t i = open + 1; i < close; ++i) {
        if (line[i] == ',') {
            values.push_back(Trim(current));
            current.clear();
        } else {
            current += line[i];
        }
    }
    values.push_back(Trim(current));
    return values;
}

std::string WithoutQuotes(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != '"')
            out += c;
    return out;
}

const std::array<const char*, 5> kStatements = {"point", "line", "pline", "region", "text"};
// The parts a Collection statement announces (at most one of each).
const std::array<const char*, 3> kCollectionParts = {"region", "pline", "multipoint"};
// Object statements that are not read; each still owns one ".MID" line.
const std::array<const char*, 7> kOtherObjects = {"none", "arc", "ellipse", "rect", "roundrect", "multipoint",
                                                  "collection"};

template <std::size_t N>
int IndexIn(const std::array<const char*, N>& words, const std::string& lowerWord) {
    for (std::size_t i = 0; i < N; ++i)
        if (lowerWord == words[i])
            return static_cast<int>(i);
    return -1;
}

} // namespace

namespace mif {

std::string MIDFileFor(const std::string& mifFileName) {
    namespace fs = std::filesystem;
    const fs::path mif(mifFileName);
    const std::string ext = mif.extension().string();
    std::vector<std::string> candidates;
    if (ext.size() == 4)   // keep the case of the ".MIF" extension: ".mif" -> ".mid"
        candidates.push_back(ext.substr(0, 3) + (ext[3] == 'F' ? 'D' : 'd'));
    candidates.insert(candidates.end(), {".MID", ".mid", ".Mid"});
    for (const std::string& candidate : candidates) {
        fs::path mid = mif;
        mid.replace_extension(candidate);
        std::error_code error;
        if (fs::is_regular_file(mid, error))
            return mid.string();
    }
    return {};
}

int PenStyleOf(int pattern) {
    if (pattern == 1)
        return 5;   // clear
    if (pattern >= 3 && pattern <= 9)
        return 1;   // dash
    if (pattern >= 10 && pattern <= 13)
        return 2;   // dot
    if (pattern >= 14 && pattern <= 16)
        return 3;   // dash-dot
    if (pattern >= 20 && pattern <= 25)
        return 4;   // dash-dot-dot
    if (pattern >= 71 && pattern <= 77)
        return 6;   // inside frame
    return 0;       // solid
}

int BrushStyleOf(int pattern) {
    static constexpr std::array<std::uint8_t, 69> kStyles = {
        0,  1,  0,  2,  3,  5,  4,  6,  7,  8,  39, 33, 36, 40, 8,  42, 2,  10, 11, 12, 13, 3,  15,
        16, 17, 18, 4,  20, 21, 22, 23, 5,  25, 26, 27, 28, 6,  30, 31, 32, 33, 34, 35, 36, 37, 38,
        39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 53, 52, 51, 57};
    if (pattern < 0 || pattern >= static_cast<int>(kStyles.size()))
        return 0;
    return kStyles[static_cast<std::size_t>(pattern)];
}

std::uint32_t ColorOf(std::int64_t rgb) {
    const auto v = static_cast<std::uint32_t>(rgb);
    return ((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16);
}

std::vector<std::string> Tokens(const std::string& line) {
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start)
            tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
}

std::string MIDField(const std::string& line, char delimiter, int column) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';   // a doubled quote inside quotes
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (c == delimiter && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    if (column < 0 || column >= static_cast<int>(fields.size()))
        return line;
    return fields[static_cast<std::size_t>(column)];
}

} // namespace mif

TMIFFile::TMIFFile(const std::string& mifFileName) : FMIF(std::make_unique<TGlobeTextReader>(mifFileName)) {
    const std::string mid = mif::MIDFileFor(mifFileName);
    if (!mid.empty())
        FMID = std::make_unique<TGlobeTextReader>(mid);
}

bool TMIFFile::NextLine() {
    while (!FMIF->Eof()) {
        FLine = FMIF->ReadLine();
        FTokens = mif::Tokens(FLine);
        if (!FTokens.empty())
            return true;
    }
    FLine.clear();
    FTokens.clear();
    return false;
}

bool TMIFFile::TokenIs(std::size_t n, const char* keyword) const {
    return Lower(Token(n)) == keyword;
}

void TMIFFile::ReadHeader() {
    Delimiter = '\t';
    FMIF->Seek(0);
    bool fileCoordSys = false;
    bool columns = false;
    while (NextLine() && !TokenIs(0, "data")) {
        if (columns) {
            // Every line from the Columns statement to Data describes a column.
            ColumnNames.push_back(Token(0) + "=" + Token(1));
        } else if (TokenIs(0, "version")) {
            Version = static_cast<int>(IntOrDefault(Token(1), 0));
        } else if (TokenIs(0, "delimiter")) {
            const std::size_t quote = FLine.find('"');
            if (quote != std::string::npos && quote + 1 < FLine.size())
                Delimiter = FLine[quote + 1];
        } else if (TokenIs(0, "coordsys")) {
            CoordSys = Trim(FLine);
            fileCoordSys = true;
        } else if (TokenIs(0, "columns")) {
            ColumnNames.clear();
            columns = true;
        }
    }
    // Longitude/latitude is "Earth Projection 1" (the datum follows after a comma). A file without
    // a CoordSys line is in longitude/latitude by definition of the format.
    if (fileCoordSys || !CoordSys.empty()) {
        const std::vector<std::string> t = mif::Tokens(CoordSys);
        const auto at = [&](std::size_t n) { return n < t.size() ? t[n] : std::string(); };
        const bool earth = Lower(at(1)) == "earth" && Lower(at(2)) == "projection";
        const bool latLong = at(3).rfind("1,", 0) == 0 || (at(3) == "1" && at(4).rfind(',', 0) == 0);
        if (!earth || !latLong)
            throw EGlobeException("MIF Import only supports Lat/Long tables.");
    }
    FIndex.clear();
    FCollectionParts = 0;
    FCollectionMID = -1;
}

bool TMIFFile::ReadObject() {
    while (NextLine()) {
        const std::string word = Lower(Token(0));
        if (FCollectionParts > 0 && IndexIn(kCollectionParts, word) >= 0) {
            // A part of a Collection: its Region or Pline is an object of its own, titled by the
            // Collection's ".MID" line; a Multipoint part is not read (as anywhere else).
            --FCollectionParts;
            if (IndexIn(kStatements, word) < 0)
                continue;
            FIndex.push_back({FMIF->LineStart(), FCollectionMID});
            return true;
        }
        const int statement = IndexIn(kStatements, word);
        const int other = statement < 0 ? IndexIn(kOtherObjects, word) : -1;
        if (statement < 0 && other < 0)
            continue;
        TEntry entry;
        entry.MIFPosition = FMIF->LineStart();
        if (FMID) {
            entry.MIDPosition = FMID->Position();
            FMID->ReadLine();
        }
        if (other >= 0) {
            if (word == "collection") {
                FCollectionParts = static_cast<int>(std::clamp<std::int64_t>(IntOrDefault(Token(1), 0), 0, 3));
                FCollectionMID = entry.MIDPosition;
            }
            continue;
        }
        FIndex.push_back(entry);
        return true;
    }
    return false;
}

TGeoPoint TMIFFile::PointAt(std::size_t n) const {
    return TGeoPoint(DegToGU(StrToExtended(Token(n))), DegToGU(StrToExtended(Token(n + 1))));
}

void TMIFFile::ReadChain(std::int64_t count, std::vector<TGeoPoint>& chain) {
    for (std::int64_t i = 0; i < count && NextLine(); ++i)
        chain.push_back(PointAt(0));
}

void TMIFFile::ReadSections(std::int64_t sections, TMIFObject& object) {
    for (std::int64_t s = 0; s < sections && NextLine(); ++s) {
        const std::int64_t count = CountOf(Token(0));
        object.Chains.emplace_back();
        ReadChain(count, object.Chains.back());
    }
}

std::string TMIFFile::RecordTitle() const {
    if (!FMID)
        return {};
    return mif::MIDField(FRecord, Delimiter, TitleColumn);
}

TMIFObject TMIFFile::GetObject(int index, bool firstBuild) {
    if (index < 0 || index >= Count())
        throw EGlobeException("TMIFFile.GetObject: Invalid Index");
    const TEntry& entry = FIndex[static_cast<std::size_t>(index)];
    // Parsing reads ahead; the indexing pass goes on from where it was.
    struct TRestore {
        TMIFFile& File;
        std::int64_t MIF, MID;
        ~TRestore() {
            File.FMIF->Seek(MIF);
            if (File.FMID)
                File.FMID->Seek(MID);
        }
    } restore{*this, FMIF->Position(), FMID ? FMID->Position() : 0};
    FRecord.clear();
    if (FMID && entry.MIDPosition >= 0) {
        FMID->Seek(entry.MIDPosition);
        FRecord = FMID->ReadLine();
    }
    FMIF->Seek(entry.MIFPosition);
    NextLine();

    TMIFObject object;
    object.HasStyle = firstBuild;
    const std::string word = Lower(Token(0));
    if (word == "point") {
        object.Statement = msPoint;
        object.Centre = PointAt(1);
        object.Title = RecordTitle();
        if (firstBuild)
            ParseStyles(object, {"symbol"});
    } else if (word == "line") {
        object.Statement = msLine;
        object.Chains = {{PointAt(1), PointAt(3)}};
        object.Title = "New Polyline";
        if (firstBuild)
            ParseStyles(object, {"pen"});
    } else if (word == "pline") {
        object.Statement = msPline;
        if (TokenIs(1, "multiple")) {
            ReadSections(CountOf(Token(2)), object);
        } else {
            // "Pline n" holds the point count itself; "Pline" alone has it on the next line.
            std::int64_t count = 0;
            if (!Token(1).empty())
                count = CountOf(Token(1));
            else if (NextLine())
                count = CountOf(Token(0));
            object.Chains.resize(1);
            ReadChain(count, object.Chains[0]);
        }
        object.Title = "New Polyline";
        if (firstBuild)
            ParseStyles(object, {"pen", "smooth"});
    } else if (word == "region") {
        object.Statement = msRegion;
        object.Closed = true;
        ReadSections(CountOf(Token(1)), object);
        object.Title = RecordTitle();
        if (object.Title.empty())
            object.Title = "New Polygon";
        if (firstBuild)
            ParseStyles(object, {"pen", "brush", "center"});
    } else if (word == "text") {
        object.Statement = msText;
        // The text is on the statement line after the keyword or, usually, on the next line.
        std::string text = Trim(FLine.substr(std::min(FLine.size(), FLine.find(Token(0)) + Token(0).size())));
        if (text.empty() && NextLine())
            text = Trim(FLine);
        text = WithoutQuotes(text);
        for (std::size_t at; (at = text.find("\\n")) != std::string::npos;)
            text.replace(at, 2, " ");
        object.Title = text;
        if (NextLine())
            object.Centre = PointAt(0);
        if (firstBuild)
            ParseStyles(object, {"font", "angle", "spacing", "justify", "label"});
    }
    return object;
}

void TMIFFile::ParseStyles(TMIFObject& object, const std::vector<const char*>& accepted) {
    while (NextLine()) {
        const std::string word = Lower(Token(0));
        if (std::none_of(accepted.begin(), accepted.end(), [&](const char* a) { return word == a; }))
            break;
        if (word == "pen")
            ParsePen(object.Style);
        else if (word == "brush")
            ParseBrush(object.Style);
        else if (word == "font")
            ParseFont(object.Style);
        else if (word == "angle")
            object.Style.FontAngle =
                static_cast<int>(std::nearbyint(std::clamp<long double>(StrToExtended(Token(1)), -3600, 3600))) * 10;
    }
}

void TMIFFile::ParsePen(TMIFStyle& style) const {
    const std::vector<std::string> v = ClauseValues(FLine);
    style.PenWidth = static_cast<int>(std::clamp<std::int64_t>(IntOrDefault(v.size() > 0 ? v[0] : "", 1), 0, 1000));
    style.PenStyle = mif::PenStyleOf(static_cast<int>(IntOrDefault(v.size() > 1 ? v[1] : "", 2)));
    style.PenColor = mif::ColorOf(IntOrDefault(v.size() > 2 ? v[2] : "", 0));
}

void TMIFFile::ParseBrush(TMIFStyle& style) const {
    const std::vector<std::string> v = ClauseValues(FLine);
    style.BrushStyle = mif::BrushStyleOf(static_cast<int>(std::clamp<std::int64_t>(IntOrDefault(v.empty() ? "" : v[0], 2), -1, 1000)));
    if (v.size() > 1)
        style.BrushColor = mif::ColorOf(IntOrDefault(v[1], 0));
    if (v.size() > 2)
        style.BrushBkColor = mif::ColorOf(IntOrDefault(v[2], 0));
}

void TMIFFile::ParseFont(TMIFStyle& style) const {
    const std::vector<std::string> v = ClauseValues(FLine);
    style.FontName = WithoutQuotes(v.empty() ? std::string() : v[0]);
    style.FontSize = static_cast<int>(std::clamp<std::int64_t>(IntOrDefault(v.size() > 2 ? v[2] : "", 0), 0, 1000));
    style.FontColor = mif::ColorOf(IntOrDefault(v.size() > 3 ? v[3] : "", 0));
    style.FontAngle = 0;
}

} // namespace globe
