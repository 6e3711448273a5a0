#include "editor/RecentScenarios.h"

#include <algorithm>

namespace editor {

TRecentScenarios::TRecentScenarios(const std::vector<std::string>& entries)
{
  for (const std::string& dir : entries) {
    if (entries_.size() == kLimit) break;
    if (!dir.empty() && std::find(entries_.begin(), entries_.end(), dir) == entries_.end()) entries_.push_back(dir);
  }
}

void TRecentScenarios::Add(const std::string& dir)
{
  if (dir.empty()) return;
  Remove(dir);
  entries_.insert(entries_.begin(), dir);
  if (entries_.size() > kLimit) entries_.resize(kLimit);
}

bool TRecentScenarios::Remove(const std::string& dir) { return std::erase(entries_, dir) > 0; }

}  // namespace editor
