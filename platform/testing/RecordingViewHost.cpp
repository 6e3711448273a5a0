#include "platform/testing/RecordingViewHost.h"

namespace platform::testing {

void RecordingViewHost::SetScrollBar(ScrollBarKind bar, const ScrollBarState& state) {
  ScrollBarCalls.push_back({bar, state});
}

ScrollBarState RecordingViewHost::Bar(ScrollBarKind bar) const {
  for (auto call = ScrollBarCalls.rbegin(); call != ScrollBarCalls.rend(); ++call)
    if (call->Bar == bar) return call->State;
  return {};
}

}  // namespace platform::testing
