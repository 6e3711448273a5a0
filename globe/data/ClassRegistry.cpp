#include "globe/data/ClassRegistry.h"

#include <cctype>
#include <deque>

namespace globe {

namespace {

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// Entries live in a deque so that references handed out stay valid as classes are added.
std::deque<TGlobeClassEntry>& Entries() {
  static std::deque<TGlobeClassEntry> entries;
  return entries;
}

TGlobeClassEntry* Find(std::string_view className) {
  const std::string key = UpperCase(className);
  for (TGlobeClassEntry& entry : Entries())
    if (UpperCase(entry.Name()) == key) return &entry;
  return nullptr;
}

}  // namespace

TGlobeClassEntry& GlobeClassEntry(std::string_view className) {
  if (TGlobeClassEntry* entry = Find(className)) return *entry;
  return Entries().emplace_back(std::string(className));
}

const TGlobeClassEntry* FindGlobeClassOrNull(std::string_view className) { return Find(className); }

const TGlobeClassEntry& FindGlobeClass(std::string_view className) {
  if (const TGlobeClassEntry* entry = Find(className)) return *entry;
  throw EGlobeException(FormatGlobeMessage("Class %s not found", className));
}

std::vector<std::string> RegisteredGlobeClassNames() {
  std::vector<std::string> names;
  for (const TGlobeClassEntry& entry : Entries()) names.push_back(entry.Name());
  return names;
}

}  // namespace globe
