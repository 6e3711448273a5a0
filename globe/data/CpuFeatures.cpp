#include "globe/data/CpuFeatures.h"

namespace globe {

bool HasAvx2() {
#if defined(__x86_64__) && defined(__GNUC__)
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
#else
  return false;
#endif
}

bool HasAvx2AndFma() {
#if defined(__x86_64__) && defined(__GNUC__)
  static const bool has = HasAvx2() && __builtin_cpu_supports("fma");
  return has;
#else
  return false;
#endif
}

}  // namespace globe
