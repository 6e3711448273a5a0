#pragma once
// The globe's forward matrix in doubles, for deciding cheaply what the Extended products decide.
// A double product differs from the Extended one by at most `Bound` (any 32-bit point, both
// sums taken left to right); a decision whose double value lies within that distance of its
// threshold is taken again in Extended, so every decision and every drawn pixel is the one the
// Extended arithmetic gives (pixels through RoundsSurely, GeoMath.h).

#include <array>
#include <cmath>
#include <cstdint>

#include "globe/data/GeoMath.h"
#include "globe/data/GeoTypes.h"

namespace globe {

class TDoubleProjection {
 public:
  explicit TDoubleProjection(const TMatrix3& matrix) {
    for (int r = 0; r < 3; ++r) {
      long double sum = 0;
      for (int c = 0; c < 3; ++c) {
        Rows_[r][c] = static_cast<double>(matrix[r][c]);
        sum += std::fabs(matrix[r][c]);
      }
      // Matrix rounding, three products and two sums in double, at most 4 * 2^-53 of
      // sum |m| * |p| with |p| < 2^31; the Extended side adds 3 * 2^-64. 2^-50 covers both.
      RowSum_[r] = static_cast<double>(sum);
      Bound_[r] = RowSum_[r] * 0x1p-19;
    }
  }
  TDoubleProjection() = default;

  double Dot(int row, const TPoint3D& p) const {
    return Rows_[row][0] * p.X + Rows_[row][1] * p.Y + Rows_[row][2] * p.Z;
  }
  double Bound(int row) const { return Bound_[row]; }
  // A row times a vector of doubles, each coordinate at most `magnitude` and within `error` of
  // the Extended vector's; and how far that may be from the Extended product.
  double Dot(int row, const std::array<double, 3>& v) const {
    return Rows_[row][0] * v[0] + Rows_[row][1] * v[1] + Rows_[row][2] * v[2];
  }
  double Bound(int row, double magnitude, double error) const {
    return RowSum_[row] * (magnitude * 0x1p-50 + error);
  }

  // Whether |difference| > 1 holds surely (+1), surely not (-1), or cannot be told (0) when
  // `difference` may be off by `bound`.
  static int BeyondOne(double difference, double bound) {
    const double d = std::fabs(difference);
    const double margin = bound + 0x1p-40;
    if (d > 1.0 + margin) return 1;
    if (d < 1.0 - margin) return -1;
    return 0;
  }

 private:
  double Rows_[3][3]{};
  double RowSum_[3]{};
  double Bound_[3]{};
};

}  // namespace globe
