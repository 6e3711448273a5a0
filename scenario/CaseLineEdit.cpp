#include "scenario/CaseLineEdit.h"

#include "scenario/MissionCases.h"

namespace scenario {

namespace {

// The block of an existing case, or none.
std::optional<TCaseBlock> ExistingBlock(const platform::TextLines& lines, std::string_view title, int n)
{
  TCaseBlock block = FindCaseBlock(lines, title, n);
  if (block.MissingEnd || block.Lines.empty()) return std::nullopt;
  return block;
}

}  // namespace

std::optional<platform::TextLines> WithCaseLineReplaced(const platform::TextLines& lines, std::string_view title,
                                                        int n, std::size_t row, const std::string& text)
{
  const auto block = ExistingBlock(lines, title, n);
  if (!block || row >= block->Lines.size()) return std::nullopt;
  platform::TextLines changed = lines;
  changed[block->FirstLine + row] = text;
  return changed;
}

std::optional<platform::TextLines> WithCaseLineInserted(const platform::TextLines& lines, std::string_view title,
                                                        int n, std::size_t row, const std::string& text)
{
  const auto block = ExistingBlock(lines, title, n);
  if (!block || row == 0 || row > block->Lines.size()) return std::nullopt;
  platform::TextLines changed = lines;
  changed.insert(changed.begin() + static_cast<platform::TextLines::difference_type>(block->FirstLine + row), text);
  return changed;
}

}  // namespace scenario
