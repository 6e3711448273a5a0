#pragma once
// The list behind File > Recent scenarios: the directories last opened successfully, most recent
// first, each once, at most eight.
#include <cstddef>
#include <string>
#include <vector>

namespace editor {

class TRecentScenarios {
 public:
  static constexpr std::size_t kLimit = 8;

  TRecentScenarios() = default;
  // A stored list: empty entries and repeats are dropped and only the first eight kept.
  explicit TRecentScenarios(const std::vector<std::string>& entries);

  // A directory opened successfully goes to the top (moved there when it was listed already).
  void Add(const std::string& dir);
  // Takes a directory off the list (it no longer exists); false when it was not listed.
  bool Remove(const std::string& dir);
  const std::vector<std::string>& Entries() const { return entries_; }

 private:
  std::vector<std::string> entries_;
};

}  // namespace editor
