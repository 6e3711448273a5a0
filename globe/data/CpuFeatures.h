#pragma once
// What the processor offers beyond the x86-64 baseline the build targets, asked once: loops with
// wider vectors choose their road by it at run time.

namespace globe {

// AVX2 (false off x86-64 or without GCC-style builtins).
bool HasAvx2();

}  // namespace globe
