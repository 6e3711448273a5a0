#pragma once
// One change of a side's file lines as the run of lines it replaced: what an undo step keeps
// to take the lines back to their exact bytes, and to make the change again.
#include <cstddef>

#include "platform/TextLines.h"

namespace scenario {

struct TLinesSplice {
  std::size_t First = 0;       // index of the first changed line
  platform::TextLines Removed;  // the lines that stood there before
  platform::TextLines Inserted;  // the lines that stand there after
  bool Empty() const { return Removed.empty() && Inserted.empty(); }
};

// The smallest splice that turns before into after: the lines both share at their start and
// at their end stay out of it.
TLinesSplice DiffLines(const platform::TextLines& before, const platform::TextLines& after);

// Makes the change: Removed goes, Inserted takes its place. Lines that are not what Removed
// says (the splice belongs to other lines) throw std::logic_error and stay unchanged.
void ApplySplice(platform::TextLines& lines, const TLinesSplice& splice);
// Takes the change back: Inserted goes, Removed returns; the same check.
void RevertSplice(platform::TextLines& lines, const TLinesSplice& splice);

}  // namespace scenario
