#pragma once
// TGXML_Document: reads and writes the environment file's XML text.
//
// Writing: each element on its own line, indented one blank per level, CR LF line ends:
//   <TGlobe DataDirectory="C:\Data" MaxTextHeight="40">
//    <Projection Class="TGlobeProjection" />
//    <Empty />
//   </TGlobe>
// An element with only attributes is written self-closing. Attribute values and text lines
// escape the four characters & " < > as &amp; &quot; &lt; &gt; so that any value survives a
// round trip; those entities (and &apos;) are decoded on reading, any other "&" is kept as is.
//
// Reading: the line breaks of the file are dropped (a value split over two lines is read joined),
// then tags are parsed in order: text between tags becomes trimmed text lines, a closing tag ends
// the current element whatever its name, elements left open at the end of the text are closed
// there. "<?...?>" and "<!--...-->" are skipped; "<Name/>" is taken as self-closing; a ">" inside
// a quoted value is part of the value.
// Faulty text is read as leniently as the format allows, each repair noted in Warnings() with
// its line: a closing tag with no element open ends the document (the rest is ignored); a quote
// left open ends the tag at the next ">" and the value at the end of the tag; words without a
// quoted value, and a value without a name, are left out. Nothing in the input makes the parser
// fail, crash, loop or recurse without bound.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "globe/data/XmlElement.h"

namespace platform {
class FileSystem;
}

namespace globe {

class TGXML_Document {
 public:
  TGXML_Document();

  // The root: no tag of its own, its children are the top-level elements. It is replaced by each
  // successful load, so pointers into the old tree become invalid then.
  TGXML_Element& Root() { return *Root_; }
  const TGXML_Element& Root() const { return *Root_; }

  // False when the file does not exist (the document is left unchanged); otherwise reads it,
  // parses it and returns true. Read failures raise the file system's platform::EFileError. Without a file system, the local one
  // (names resolved regardless of letter case, "\" accepted as separator).
  bool LoadFromFile(const std::string& fileName, platform::FileSystem& files);
  bool LoadFromFile(const std::string& fileName);
  // Writes the text under exactly this name (no letter case resolved), replacing a file of that
  // name in one step; platform::EFileError when it cannot be written, the old file kept.
  void SaveToFile(const std::string& fileName, platform::FileSystem& files) const;
  void SaveToFile(const std::string& fileName) const;

  // Parses text as a file's content (CR and LF dropped first) into a new root.
  void LoadFromText(std::string_view text);
  // The repairs the last load made to faulty text, each "line N: what was done".
  const std::vector<std::string>& Warnings() const { return Warnings_; }
  // The file text of the root's children.
  std::string SaveToText() const;

 private:
  std::unique_ptr<TGXML_Element> Root_;
  std::vector<std::string> Warnings_;
};

}  // namespace globe
