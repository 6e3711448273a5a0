#include "tools/common/LayerHeap.h"

#include <cstdint>
#include <cstdlib>  // first: it says whether this is the GNU C library

#if defined(__GLIBC__) && defined(__linux__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace toolcli {

void PrepareLayerHeap() {
#if defined(__GLIBC__) && defined(__linux__)
  constexpr int kReserve = 512 << 20;  // address space the heap takes in one step
  constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
  // Chains come from the heap (not a mapping each) and freed ones stay there for the next object.
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 2 * kReserve);
  mallopt(M_TOP_PAD, kReserve);
  // Grow the heap once by the reserve (address space only: pages come when first written) and
  // mark that stretch for large pages.
  const auto before = reinterpret_cast<std::uintptr_t>(sbrk(0));
  void* volatile grown = std::malloc(1 << 20);  // volatile: the pair must not be optimised away
  std::free(grown);
  const auto after = reinterpret_cast<std::uintptr_t>(sbrk(0));
  const std::uintptr_t first = (before + kLargePage - 1) / kLargePage * kLargePage;
  const std::uintptr_t end = after / kLargePage * kLargePage;
  if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);  // advice only
#endif
}

}  // namespace toolcli
