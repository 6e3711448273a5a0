#pragma once
// The outline of a closed shape on the globe, in pixels about the centre of the disc, with its
// hidden points pushed radially onto the horizon. Pushed points alone go wrong in two ways: two
// consecutive ones may lie far apart on the horizon (a hidden edge passing close behind the
// middle of the globe), and their chord then cuts across the disc; and when the hidden part of
// the shape holds the point straight behind the globe, its pushed points wind once round the
// whole horizon and the fill covers the disc (or a wedge of it) instead of the shape. The ring
// follows the horizon between pushed points, counts how often it winds round the centre and
// takes the horizon run that winds wrongly the other way round.
#include <cstdint>
#include <vector>

namespace globe {

class THorizonRing {
 public:
  struct TPointXY {
    long double X = 0, Y = 0;
  };

  void Clear();
  // The next accepted point of the outline; `hidden` when it was pushed onto the horizon.
  void Add(long double x, long double y, bool hidden);

  bool AnyHidden() const { return AnyHidden_; }
  bool AnyVisible() const { return AnyVisible_; }

  // The outline with the horizon followed (in steps of at most two degrees) between consecutive
  // pushed points, the closing pair included.
  const std::vector<TPointXY>& Follow(long double radius);
  // Turns of the followed outline (straight edges) round the centre of the disc; the sign says
  // which way.
  int32_t Winding() const;
  // The followed outline, mended: a shape that holds the middle point winds once round the
  // centre, any other not at all; when the outline does otherwise, the horizon run that sweeps
  // furthest is taken the other way round. A shape wholly hidden is nothing, or the whole
  // horizon when it holds the middle point.
  const std::vector<TPointXY>& Mended(bool holdsMiddle, long double radius);

 private:
  std::vector<TPointXY> Points_;
  std::vector<bool> Hidden_;
  std::vector<TPointXY> Followed_;
  std::vector<bool> FollowedHidden_;
  std::vector<TPointXY> Out_;
  bool AnyHidden_ = false;
  bool AnyVisible_ = false;
};

}  // namespace globe
