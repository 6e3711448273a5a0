#pragma once
// Room for titles on the map: a title that would overlap one already drawn is left out. Layer
// titles are queued while the layers draw and written after the application's own labels, the
// lower priority number first, so that the labels that matter most find their room first.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/DeviceGeometry.h"
#include "platform/DrawingSurface.h"

namespace globe {

// The pixels a text of that extent covers when written at (x, y) with the alignment.
platform::TRect TextBox(int32_t x, int32_t y, platform::TSize extent, platform::TextAlign align);

class TTitleSpace {
 public:
  // Takes the box when it overlaps no box taken so far; false (nothing taken) otherwise.
  bool Take(const platform::TRect& box);
  // Takes the box of the text as the surface would write it now at (x, y).
  bool TakeText(platform::DrawingSurface& surface, int32_t x, int32_t y, const std::string& text);
  const std::vector<platform::TRect>& Taken() const { return Taken_; }

  // A title to write later in the drawing state it was given (font, colour, alignment).
  void Queue(int priority, int32_t x, int32_t y, std::string text, const platform::DrawingState& state);
  std::size_t QueuedCount() const { return Queued_.size(); }
  // Writes the queued titles that find room, by priority then in queue order, and empties the
  // queue.
  void Flush(platform::DrawingSurface& surface);
  // Forgets the boxes taken and the queue (a new picture).
  void Clear();

 private:
  struct TQueuedTitle {
    int Priority;
    int32_t X, Y;
    std::string Text;
    platform::DrawingState State;
  };
  std::vector<platform::TRect> Taken_;
  std::vector<TQueuedTitle> Queued_;
};

}  // namespace globe
