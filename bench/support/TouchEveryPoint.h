#pragma once
// The reading work every map-read benchmark does: build every object of a source and touch
// every coordinate of every chain, the same work the peer programs do with other libraries.

#include <cstdint>

namespace globe {
class TGlobeObjectSource;
}

namespace bench {

struct TTouchTotals {
  int32_t Objects = 0;  // objects built with chains
  int64_t Points = 0;
  int64_t Checksum = 0;  // a sum over every coordinate, so the work cannot be optimised away
};

TTouchTotals TouchEveryPoint(globe::TGlobeObjectSource& source);

}  // namespace bench
