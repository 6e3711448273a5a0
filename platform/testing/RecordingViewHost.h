#pragma once
// Test double for ViewHost: a window of a fixed client size that records what the view asks of
// it (invalidations, mouse capture, scroll bars). Scroll bars take no room in it.
#include <vector>

#include "platform/ViewEvents.h"

namespace platform::testing {

class RecordingViewHost : public ViewHost {
 public:
  explicit RecordingViewHost(TSize clientSize = {150, 150}) : ClientSize_(clientSize) {}

  struct ScrollBarCall {
    ScrollBarKind Bar;
    ScrollBarState State;
  };

  void Invalidate() override { ++Invalidations; }
  void SetMouseCapture(bool captured) override { Captured = captured; }
  TSize ClientSize() const override { return ClientSize_; }
  int ScreenPixelsPerInch() const override { return 96; }
  void ProcessPendingEvents() override { ++PendingEventCalls; }
  bool HasParentWindow() const override { return true; }
  void SetScrollBar(ScrollBarKind bar, const ScrollBarState& state) override;

  // The bar as last set (hidden when never set).
  ScrollBarState Bar(ScrollBarKind bar) const;

  std::vector<ScrollBarCall> ScrollBarCalls;
  int Invalidations = 0;
  int PendingEventCalls = 0;
  bool Captured = false;

 private:
  TSize ClientSize_;
};

}  // namespace platform::testing
