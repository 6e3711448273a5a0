#include "scenario/LinesSplice.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace scenario {

namespace {

using Difference = platform::TextLines::difference_type;

// Replaces `from` at `first` by `to`, once the lines there are `from`.
void Replace(platform::TextLines& lines, std::size_t first, const platform::TextLines& from,
             const platform::TextLines& to)
{
  if (first > lines.size() || lines.size() - first < from.size() ||
      !std::equal(from.begin(), from.end(), lines.begin() + static_cast<Difference>(first))) {
    throw std::logic_error("The lines are not the ones the change was made on");
  }
  const auto at = lines.begin() + static_cast<Difference>(first);
  const auto end = lines.erase(at, at + static_cast<Difference>(from.size()));
  lines.insert(end, to.begin(), to.end());
}

}  // namespace

TLinesSplice DiffLines(const platform::TextLines& before, const platform::TextLines& after)
{
  const std::size_t shorter = std::min(before.size(), after.size());
  std::size_t head = 0;
  while (head < shorter && before[head] == after[head]) ++head;
  std::size_t tail = 0;
  while (tail < shorter - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) ++tail;
  TLinesSplice splice;
  splice.First = head;
  splice.Removed.assign(before.begin() + static_cast<Difference>(head),
                        before.end() - static_cast<Difference>(tail));
  splice.Inserted.assign(after.begin() + static_cast<Difference>(head), after.end() - static_cast<Difference>(tail));
  return splice;
}

void ApplySplice(platform::TextLines& lines, const TLinesSplice& splice)
{
  Replace(lines, splice.First, splice.Removed, splice.Inserted);
}

void RevertSplice(platform::TextLines& lines, const TLinesSplice& splice)
{
  Replace(lines, splice.First, splice.Inserted, splice.Removed);
}

}  // namespace scenario
