#pragma once
// Room for titles on the map: the label placement stage between projection and canvas. Layer
// titles and the application's labels are queued while the picture draws and written at its
// end, the lower priority number first, so that the labels that matter most find their room
// first. Without placement a title that would overlap one already drawn is left out. With
// placement a label queued at an anchor tries the positions around it (right, left, above,
// below, then the four diagonals; on a crowded map the same a line height and two further out)
// and takes the first that overlaps no placed label, no mark and, where a position allows, no
// line; labels of one priority at the same anchor share one
// label ("Force B +2"). The stage keeps a record of what it drew and what it left out, and why.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/DeviceGeometry.h"
#include "platform/DrawingSurface.h"

namespace globe {

// The pixels a text of that extent covers when written at (x, y) with the alignment.
platform::TRect TextBox(int32_t x, int32_t y, platform::TSize extent, platform::TextAlign align);

// Whether the segment from a to b passes through the box (its edges included).
bool SegmentCrossesBox(platform::TPoint a, platform::TPoint b, const platform::TRect& box);

// How the stage writes labels. All off: the plain look (fixed positions, no halo, the fonts'
// own sizes).
struct TLabelOptions {
  bool Place = false;            // positions around the anchor, marks and lines avoided, shared labels
  bool Halo = false;             // a one-pixel outline in HaloColour under every label
  int32_t MinPixelHeight = 0;    // no label written smaller (device pixels); 0: no minimum
  int32_t HaloWidth = 1;         // device pixels
  platform::TColor HaloColour = platform::clWhite;
  friend bool operator==(const TLabelOptions&, const TLabelOptions&) = default;
};

// Why a label is not on the map.
inline constexpr const char* kNoRoomReason = "no room at any position around its point";
inline constexpr const char* kHiddenReason = "its point is on the hidden side of the globe";
inline constexpr const char* kOverlapReason = "it would overlap a label written before it";

// One label the stage wrote or left out.
struct TLabelRecord {
  std::string Text;                // as written ("Force B +2")
  std::vector<std::string> Names;  // every name it stands for (the tooltip)
  int Priority = 0;
  platform::TPoint Anchor{};
  platform::TRect Box{};           // the text's box (halo included) when drawn
  bool Drawn = false;
  bool OverLine = false;           // drawn over a line: no position clear of lines was left
  std::string Reason;              // when left out
};

class TTitleSpace {
 public:
  // Takes the box when it overlaps no box taken so far; false (nothing taken) otherwise.
  bool Take(const platform::TRect& box);
  // Takes the box of the text as the surface would write it now at (x, y).
  bool TakeText(platform::DrawingSurface& surface, int32_t x, int32_t y, const std::string& text);
  const std::vector<platform::TRect>& Taken() const { return Taken_; }

  const TLabelOptions& Options() const { return Options_; }
  void SetOptions(const TLabelOptions& options) { Options_ = options; }
  bool Placing() const { return Options_.Place; }
  // The picture's pixels: a placed label keeps inside them where any position allows (an empty
  // area bounds nothing).
  void SetArea(const platform::TRect& area) { Area_ = area; }

  // A symbol drawn on the map (a base, a force, a handle, a warning): no label covers it.
  void AddMark(const platform::TRect& box) { Marks_.push_back(box); }
  // A line drawn on the map (a route leg): labels keep off it where a position allows.
  void AddLine(platform::TPoint from, platform::TPoint to) { Lines_.push_back({from, to}); }
  const std::vector<platform::TRect>& Marks() const { return Marks_; }

  // A title to write later in the drawing state it was given (font, colour, alignment) at
  // (x, y); when placing, around `anchor` instead, `gap` pixels clear of it and its mark.
  void Queue(int priority, int32_t x, int32_t y, std::string text, const platform::DrawingState& state);
  // A label that only helps beside its point (`nearOnly`) is not moved further out on a crowded map.
  void Queue(int priority, int32_t x, int32_t y, std::string text, const platform::DrawingState& state,
             platform::TPoint anchor, int32_t gap, bool nearOnly = false);
  // A label written over the finished picture (a readout that follows the mouse) in a box of
  // `padding` pixels around its text, filled with the state's background colour and outlined
  // with its pen: placed around `anchor` like a queued label, also clear of the `path` the
  // overlay draws, or at the anchor moved by `gap` both ways without placement. The picture
  // keeps no room for it, so each paint of the overlay places it anew; the record says where
  // it went.
  TLabelRecord WriteOverlay(platform::DrawingSurface& surface, std::string text, const platform::DrawingState& state,
                            platform::TPoint anchor, int32_t gap, int32_t padding,
                            const std::vector<platform::TPoint>& path = {});
  // Records a label that has no place at all (e.g. its point cannot be seen).
  void LeaveOut(int priority, std::string text, std::string reason);
  std::size_t QueuedCount() const { return Queued_.size(); }
  // Writes the queued titles that find room, by priority then in queue order, and empties the
  // queue.
  void Flush(platform::DrawingSurface& surface);
  // What the last pictures' flushes wrote and left out, in order.
  const std::vector<TLabelRecord>& Record() const { return Record_; }
  // The drawn label under a pixel (its names make the tooltip); null when none.
  const TLabelRecord* LabelAt(platform::TPoint at) const;
  // Forgets the boxes, marks, lines, queue and record (a new picture).
  void Clear();

 private:
  struct TQueuedTitle {
    int Priority;
    int32_t X, Y;
    std::string Text;
    platform::DrawingState State;
    bool Anchored = false;
    platform::TPoint Anchor{};
    int32_t Gap = 0;
    std::vector<std::string> Names;
    int32_t Padding = -1;  // boxed with this room around the text; below 0 no box
    bool NearOnly = false;
  };
  // Joins anchored titles of one priority at the same anchor into one ("Force B +2").
  void ShareAnchors();
  // Places and writes one title, taking its room; its record says where or why not.
  TLabelRecord Place(platform::DrawingSurface& surface, const TQueuedTitle& title);
  void Write(platform::DrawingSurface& surface, const TQueuedTitle& title, platform::TRect box);
  // The pixels between a title's text and the edge of its box: its padding or the halo.
  int32_t Margin(const TQueuedTitle& title) const;
  // The first free box around the title's anchor for a text of that extent; false when none.
  bool FindPlace(const TQueuedTitle& title, platform::TSize extent, platform::TRect& box, bool& overLine) const;
  bool Free(const platform::TRect& box, bool avoidLines) const;
  bool InsideArea(const platform::TRect& box) const;

  struct TLine {
    platform::TPoint From, To;
  };
  TLabelOptions Options_;
  platform::TRect Area_{};
  std::vector<platform::TRect> Taken_;
  std::vector<platform::TRect> Marks_;
  std::vector<TLine> Lines_;
  std::vector<TQueuedTitle> Queued_;
  std::vector<TLabelRecord> Record_;
};

}  // namespace globe
