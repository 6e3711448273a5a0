#include "globe/data/XmlDocument.h"

#include <algorithm>
#include <cstdint>
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

// Where a tag's attribute text ends: at the first ">" outside a quoted value. Tables built once
// give, for any position, the next ">" after an even number of quotes, so finding every tag's end
// costs one pass over the text however the quotes fall.
class TTagEnds {
 public:
  explicit TTagEnds(std::string_view s)
      : OddQuotes_(s.size() + 1), NextEven_(s.size() + 1), NextOdd_(s.size() + 1) {
    for (size_t i = 0; i < s.size(); ++i) OddQuotes_[i + 1] = OddQuotes_[i] ^ (s[i] == '"');
    NextEven_[s.size()] = NextOdd_[s.size()] = std::string_view::npos;
    for (size_t i = s.size(); i-- > 0;) {
      NextEven_[i] = NextEven_[i + 1];
      NextOdd_[i] = NextOdd_[i + 1];
      if (s[i] == '>') (OddQuotes_[i] ? NextOdd_ : NextEven_)[i] = i;
    }
  }
  // The first ">" at or after `from` outside quotes (counted from `from`); npos when none.
  size_t Unquoted(size_t from) const { return OddQuotes_[from] ? NextOdd_[from] : NextEven_[from]; }
  // Whether the quotes from `from` to the end of the text leave one open.
  bool QuoteLeftOpen(size_t from) const { return OddQuotes_[from] != OddQuotes_.back(); }

 private:
  std::vector<uint8_t> OddQuotes_;  // odd number of quotes before each position
  std::vector<size_t> NextEven_, NextOdd_;
};

class TParser {
 public:
  TParser(std::string_view text, const std::vector<size_t>& lineStarts, std::vector<std::string>& warnings)
      : S_(text), LineStarts_(lineStarts), Warnings_(warnings), TagEnds_(text) {}

  void Parse(TGXML_Element& root);

 private:
  void Warn(size_t position, const std::string& what) {
    const auto line = std::upper_bound(LineStarts_.begin(), LineStarts_.end(), position) - LineStarts_.begin();
    Warnings_.push_back("line " + std::to_string(std::max<std::ptrdiff_t>(line, 1)) + ": " + what);
  }
  size_t TagEnd(size_t nameEnd, std::string_view tag);
  void ParseAttributes(std::string_view text, std::string_view tag, TGXML_Element& element);
  size_t At(std::string_view part) const { return static_cast<size_t>(part.data() - S_.data()); }

  std::string_view S_;
  const std::vector<size_t>& LineStarts_;
  std::vector<std::string>& Warnings_;
  TTagEnds TagEnds_;
};

// The end of the attribute text that starts at `nameEnd`: the first ">" outside quotes. With a
// quote left open, the first ">" (or the end of the text) as the format's own reader has it.
size_t TParser::TagEnd(size_t nameEnd, std::string_view tag) {
  size_t gt = TagEnds_.Unquoted(nameEnd);
  if (gt == std::string_view::npos && TagEnds_.QuoteLeftOpen(nameEnd)) {
    gt = S_.find('>', nameEnd);
    Warn(nameEnd, "a quote of <" + std::string(tag) + "> is not closed: the tag ends at the first \">\"");
  }
  return gt == std::string_view::npos ? S_.size() : gt;
}

// Scans the `name="value"` pairs of a tag's (trimmed) attribute text into the element. A value
// runs to the next quote, or to the end of the text when there is none; words without a value
// are left out.
void TParser::ParseAttributes(std::string_view text, std::string_view tag, TGXML_Element& element) {
  const auto ignore = [&](std::string_view words) {
    Warn(At(words), "\"" + std::string(words) + "\" in <" + std::string(tag) +
                        "> is not an attribute (name=\"value\") and is ignored");
  };
  size_t p = 0;
  while (true) {
    while (p < text.size() && IsBlank(text[p])) ++p;
    if (p >= text.size()) return;
    const size_t eq = text.find("=\"", p);
    if (eq == std::string_view::npos) {
      ignore(Trim(text.substr(p)));
      return;
    }
    // The name is the last word before "=\""; words before it have no value.
    const std::string_view words = Trim(text.substr(p, eq - p));
    size_t nameStart = words.size();
    while (nameStart > 0 && !IsBlank(words[nameStart - 1])) --nameStart;
    const std::string_view name = words.substr(nameStart);
    if (nameStart > 0) ignore(Trim(words.substr(0, nameStart)));
    if (name.empty()) Warn(At(text.substr(eq)), "a value without a name in <" + std::string(tag) + "> is ignored");
    size_t close = text.find('"', eq + 2);
    if (close == std::string_view::npos) {
      Warn(At(text.substr(eq)), "the value of " + std::string(name) + " in <" + std::string(tag) +
                                    "> has no closing quote: it runs to the end of the tag");
      close = text.size();
    }
    if (!name.empty()) element.AddAttribute(name, std::string_view(Unescape(text.substr(eq + 2, close - eq - 2))));
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

void TParser::Parse(TGXML_Element& root) {
  const std::string_view s = S_;
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
      // A closing tag ends the current level; at the top that is the end of the document.
      const size_t gt = s.find('>', nameEnd);
      if (levels.size() == 1) {
        Warn(lt, "closing tag <" + std::string(name) + "> without an open element: the rest is ignored");
        return;
      }
      levels.pop_back();
      pos = gt == std::string_view::npos ? s.size() : gt + 1;
      continue;
    }
    const size_t gt = TagEnd(nameEnd, name);
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
    TGXML_Element* child = levels.back()->AddElement(name);
    ParseAttributes(attributes, name, *child);
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
  files.SaveBytesAs(fileName, SaveToText());
}

void TGXML_Document::SaveToFile(const std::string& fileName) const {
  platform::LocalFileSystem files;
  SaveToFile(fileName, files);
}

void TGXML_Document::LoadFromText(std::string_view text) {
  std::string joined;
  joined.reserve(text.size());
  std::vector<size_t> lineStarts{0};  // where each line of the text starts in the joined text
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') joined += c;
    else if (c == '\n' || i + 1 == text.size() || text[i + 1] != '\n') lineStarts.push_back(joined.size());
  }
  auto root = std::make_unique<TGXML_Element>();
  Warnings_.clear();
  TParser(joined, lineStarts, Warnings_).Parse(*root);
  Root_ = std::move(root);
}

std::string TGXML_Document::SaveToText() const {
  std::string out;
  Write(*Root_, out);
  return out;
}

}  // namespace globe
