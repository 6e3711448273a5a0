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
// there. "<?...?>" and "<!--...-->" are skipped; "<Name/>" is taken as self-closing.
// Malformed text raises EGlobeException naming the fault and its character position (from 1):
// a closing tag with no element open, a missing closing quote, an attribute without a quoted
// value. Nothing in the input can make the parser crash, loop or recurse without bound.

#include <memory>
#include <string>
#include <string_view>

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
  // parses it and returns true. Parse errors raise EGlobeException and keep the old root; read
  // failures raise the file system's platform::EFileError. Without a file system, the local one
  // (names resolved regardless of letter case, "\" accepted as separator).
  bool LoadFromFile(const std::string& fileName, platform::FileSystem& files);
  bool LoadFromFile(const std::string& fileName);
  // Writes the text, replacing the file; platform::EFileError when it cannot be written.
  void SaveToFile(const std::string& fileName, platform::FileSystem& files) const;
  void SaveToFile(const std::string& fileName) const;

  // Parses text as a file's content (CR and LF dropped first) into a new root.
  void LoadFromText(std::string_view text);
  // The file text of the root's children.
  std::string SaveToText() const;

 private:
  std::unique_ptr<TGXML_Element> Root_;
};

}  // namespace globe
