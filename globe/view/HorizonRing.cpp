#include "globe/view/HorizonRing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace globe {

namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;
constexpr long double kArcStep = 2 * kPi / 180;  // two degrees

// The turn from angle a to angle b, in (-pi, pi].
long double Turn(long double a, long double b) {
  long double d = b - a;
  while (d > kPi) d -= 2 * kPi;
  while (d <= -kPi) d += 2 * kPi;
  return d;
}

long double AngleOf(const THorizonRing::TPointXY& p) { return std::atan2(p.Y, p.X); }

// The horizon from angle `from` on by `sweep`, both ends included unless told otherwise.
template <class Emit>
void Arc(long double from, long double sweep, long double radius, bool withFirst, bool withLast, Emit emit) {
  const int steps = std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / kArcStep)));
  for (int k = withFirst ? 0 : 1; k <= (withLast ? steps : steps - 1); ++k) {
    const long double a = from + sweep * k / steps;
    emit(THorizonRing::TPointXY{radius * std::cos(a), radius * std::sin(a)});
  }
}

}  // namespace

void THorizonRing::Clear() {
  Points_.clear();
  Hidden_.clear();
  AnyHidden_ = AnyVisible_ = false;
}

void THorizonRing::Add(long double x, long double y, bool hidden) {
  Points_.push_back(TPointXY{x, y});
  Hidden_.push_back(hidden);
  (hidden ? AnyHidden_ : AnyVisible_) = true;
}

const std::vector<THorizonRing::TPointXY>& THorizonRing::Follow(long double radius) {
  Followed_.clear();
  FollowedHidden_.clear();
  const std::size_t n = Points_.size();
  for (std::size_t i = 0; i < n; ++i) {
    Followed_.push_back(Points_[i]);
    FollowedHidden_.push_back(Hidden_[i]);
    const std::size_t next = (i + 1) % n;
    if (n < 2 || !Hidden_[i] || !Hidden_[next]) continue;
    const long double from = AngleOf(Points_[i]);
    const long double turn = Turn(from, AngleOf(Points_[next]));
    if (std::fabs(turn) <= kArcStep) continue;
    Arc(from, turn, radius, false, false, [&](const TPointXY& p) {
      Followed_.push_back(p);
      FollowedHidden_.push_back(true);
    });
  }
  return Followed_;
}

int32_t THorizonRing::Winding() const {
  // Crossings of the ray from the centre along +x, signed by direction.
  const std::size_t n = Followed_.size();
  int32_t winding = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const TPointXY& a = Followed_[i];
    const TPointXY& b = Followed_[(i + 1) % n];
    const long double side = a.X * b.Y - a.Y * b.X;  // > 0: the centre lies left of a -> b
    if (a.Y <= 0) {
      if (b.Y > 0 && side > 0) ++winding;
    } else if (b.Y <= 0 && side < 0) {
      --winding;
    }
  }
  return winding;
}

const std::vector<THorizonRing::TPointXY>& THorizonRing::Mended(bool holdsMiddle, long double radius) {
  Out_.clear();
  const auto emit = [&](const TPointXY& p) { Out_.push_back(p); };
  const std::size_t n = Followed_.size();
  if (!AnyVisible_) {
    if (holdsMiddle && n > 0) Arc(0, 2 * kPi, radius, true, true, emit);
    return Out_;
  }
  const int32_t winding = Winding();
  const int32_t wanted = holdsMiddle ? 1 : 0;
  if (!AnyHidden_ || std::abs(winding) == wanted) return Followed_;
  const int32_t extra = wanted == 0 ? winding : winding - (winding > 0 ? 1 : -1);

  // Walk from a visible point so that no horizon run wraps round the end of the ring.
  std::size_t first = 0;
  while (FollowedHidden_[first]) ++first;
  const auto at = [&](std::size_t j) { return (first + j) % n; };
  // The horizon run that sweeps furthest: its first index (walk order), length and sweep.
  std::size_t bestStart = 0, bestLength = 0;
  long double bestSweep = 0;
  bool found = false;
  for (std::size_t j = 0; j < n;) {
    if (!FollowedHidden_[at(j)]) {
      ++j;
      continue;
    }
    std::size_t length = 1;
    long double sweep = 0;
    while (j + length < n && FollowedHidden_[at(j + length)]) {
      sweep += Turn(AngleOf(Followed_[at(j + length - 1)]), AngleOf(Followed_[at(j + length)]));
      ++length;
    }
    if (!found || std::fabs(sweep) > std::fabs(bestSweep)) {
      found = true;
      bestStart = j;
      bestLength = length;
      bestSweep = sweep;
    }
    j += length;
  }
  for (std::size_t j = 0; j < n; ++j) {
    if (j == bestStart) {
      Arc(AngleOf(Followed_[at(j)]), bestSweep - 2 * kPi * extra, radius, true, true, emit);
      j += bestLength - 1;
      continue;
    }
    Out_.push_back(Followed_[at(j)]);
  }
  return Out_;
}

}  // namespace globe
