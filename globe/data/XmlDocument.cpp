#include "globe/data/XmlDocument.h"

#include <vector>

#include "globe/data/GlobeException.h"
#include "platform/LocalFileSystem.h"

namespace globe {

namespace {

using TLineKind = TGXML_Element::TLineKind;

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string Escape(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Unescape(std::string_view s) {
  static constexpr struct {
    std::string_view Entity;
    char Char;
  } Entities[] = {{"&amp;", '&'}, {"&quot;", '"'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&apos;", '\''}};
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    bool replaced = false;
    if (s[i] == '&')
      for (const auto& e : Entities)
        if (s.substr(i, e.Entity.size()) == e.Entity) {
          out += e.Char;
          i += e.Entity.size() - 1;
          replaced = true;
          break;
        }
    if (!replaced) out += s[i];
  }
  return out;
}

[[noreturn]] void ParseError(std::string_view what, size_t position) {
  throw EGlobeException("XML error at position " + std::to_string(position + 1) + ": " +
                        std::string(what));
}

// Scans `name="value"` pairs of a tag's (trimmed) attribute text into the element.
void ParseAttributes(std::string_view text, size_t textPos, std::string_view tag,
                     TGXML_Element& element) {
  size_t p = 0;
  while (true) {
    while (p < text.size() && IsBlank(text[p])) ++p;
    if (p >= text.size()) return;
    const size_t eq = text.find("=\"", p);
    const std::string_view name =
        Trim(text.substr(p, eq == std::string_view::npos ? std::string_view::npos : eq - p));
    bool validName = eq != std::string_view::npos && !name.empty();
    for (char c : name)
      if (IsBlank(c) || c == '"' || c == '=') validName = false;
    if (!validName)
      ParseError("attribute without value in <" + std::string(tag) + ">: " + std::string(name),
                 textPos + p);
    const size_t close = text.find('"', eq + 2);
    if (close == std::string_view::npos)
      ParseError("missing quote in attribute " + std::string(name) + " of <" + std::string(tag) +
                     ">",
                 textPos + eq);
    element.AddAttribute(name, std::string_view(Unescape(text.substr(eq + 2, close - eq - 2))));
    p = close + 1;
  }
}

// Passes "<?...?>" or "<!--...-->" starting at `lt` (the "<"); returns the position after it, or
// npos when the text at `lt` is neither.
size_t SkipDeclaration(std::string_view s, size_t lt) {
  std::string_view endMark;
  if (s.substr(lt, 4) == "<!--")
    endMark = "-->";
  else if (s.substr(lt, 2) == "<?")
    endMark = "?>";
  else
    return std::string_view::npos;
  const size_t end = s.find(endMark, lt + 2);
  return end == std::string_view::npos ? s.size() : end + endMark.size();
}

void Parse(std::string_view s, TGXML_Element& root) {
  std::vector<TGXML_Element*> levels{&root};
  std::string text;  // text since the last tag; a skipped comment does not split it
  size_t pos = 0;
  while (pos < s.size()) {
    const size_t lt = s.find('<', pos);
    const size_t textEnd = lt == std::string_view::npos ? s.size() : lt;
    text += s.substr(pos, textEnd - pos);
    if (lt == std::string_view::npos) break;
    if (const size_t after = SkipDeclaration(s, lt); after != std::string_view::npos) {
      pos = after;
      continue;
    }
    levels.back()->AddText(Unescape(Trim(text)));
    text.clear();
    // Tag name: up to a blank or ">".
    size_t nameEnd = lt + 1;
    while (nameEnd < s.size() && !IsBlank(s[nameEnd]) && s[nameEnd] != '>') ++nameEnd;
    std::string_view name = s.substr(lt + 1, nameEnd - lt - 1);
    if (name.empty() || name.front() == '/') {
      const size_t gt = s.find('>', nameEnd);
      if (levels.size() == 1)
        ParseError("closing tag <" + std::string(name) + "> without an open element", lt);
      levels.pop_back();
      pos = gt == std::string_view::npos ? s.size() : gt + 1;
      continue;
    }
    // Attribute text: up to the ">" that is not inside a quoted value.
    size_t gt = nameEnd;
    bool quoted = false;
    while (gt < s.size() && (quoted || s[gt] != '>')) {
      if (s[gt] == '"') quoted = !quoted;
      ++gt;
    }
    if (quoted) ParseError("missing quote in <" + std::string(name) + ">", lt);
    std::string_view attributes = Trim(s.substr(nameEnd, gt - nameEnd));
    pos = gt < s.size() ? gt + 1 : s.size();

    bool selfClosing = false;
    if (name.back() == '/' && attributes.empty()) {  // "<Name/>"
      name.remove_suffix(1);
      selfClosing = true;
    }
    if (!attributes.empty() && attributes.back() == '/') {
      attributes = Trim(attributes.substr(0, attributes.size() - 1));
      selfClosing = true;
    }
    const size_t attributesPos = attributes.empty() ? nameEnd : attributes.data() - s.data();
    TGXML_Element* child = levels.back()->AddElement(name);
    ParseAttributes(attributes, attributesPos, name, *child);
    if (!selfClosing) levels.push_back(child);
  }
  levels.back()->AddText(Unescape(Trim(text)));
}

// Writes the lines of `element` at `depth`, children depth-first, without recursion.
void Write(const TGXML_Element& top, std::string& out) {
  struct Frame {
    const TGXML_Element* Element;
    size_t Next;
    size_t Depth;
  };
  std::vector<Frame> stack{{&top, 0, 0}};
  while (!stack.empty()) {
    Frame& frame = stack.back();
    if (frame.Next == frame.Element->Lines().size()) {
      const size_t depth = frame.Depth;
      stack.pop_back();
      if (!stack.empty()) {  // close the element that owned this frame
        const Frame& parent = stack.back();
        out.append(depth - 1, ' ');
        out += "</" + parent.Element->Lines()[parent.Next - 1].Name + ">\r\n";
      }
      continue;
    }
    const TGXML_Element::TLine& line = frame.Element->Lines()[frame.Next++];
    if (line.Kind == TLineKind::lkText) {
      out += Escape(line.Name) + "\r\n";
    } else if (line.Kind == TLineKind::lkElement) {
      const TGXML_Element& child = *line.Child;
      std::string head = line.Name + " ";
      for (const TGXML_Element::TLine& a : child.Lines())
        if (a.Kind == TLineKind::lkAttribute) head += a.Name + "=\"" + Escape(a.Value) + "\" ";
      const bool selfClosing = child.OnlyAttributes();
      if (selfClosing) head += "/";
      const size_t depth = frame.Depth;
      out.append(depth, ' ');
      out += "<" + std::string(Trim(head)) + ">\r\n";
      if (!selfClosing) stack.push_back(Frame{&child, 0, depth + 1});  // invalidates `frame`
    }
  }
}

}  // namespace

TGXML_Document::TGXML_Document() : Root_(std::make_unique<TGXML_Element>()) {}

bool TGXML_Document::LoadFromFile(const std::string& fileName, platform::FileSystem& files) {
  if (!files.FileExists(fileName)) return false;
  LoadFromText(files.ReadBytes(fileName));
  return true;
}

bool TGXML_Document::LoadFromFile(const std::string& fileName) {
  platform::LocalFileSystem files;
  return LoadFromFile(fileName, files);
}

void TGXML_Document::SaveToFile(const std::string& fileName, platform::FileSystem& files) const {
  files.WriteBytes(fileName, SaveToText());
}

void TGXML_Document::SaveToFile(const std::string& fileName) const {
  platform::LocalFileSystem files;
  SaveToFile(fileName, files);
}

void TGXML_Document::LoadFromText(std::string_view text) {
  std::string joined;
  joined.reserve(text.size());
  for (char c : text)
    if (c != '\r' && c != '\n') joined += c;
  auto root = std::make_unique<TGXML_Element>();
  Parse(joined, *root);
  Root_ = std::move(root);
}

std::string TGXML_Document::SaveToText() const {
  std::string out;
  Write(*Root_, out);
  return out;
}

}  // namespace globe
