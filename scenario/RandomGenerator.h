#pragma once
// The scenario loader's pseudo-random generator. Its seed starts at 0 and is never reseeded,
// so a directory loads with the same random outcomes in every run as long as the draws come
// in the same order.

#include <cstdint>

namespace scenario {

class TRandomGenerator {
public:
    // A draw in 0..n-1: the seed steps to seed * 134775813 + 1 (mod 2^32) and the result is the
    // upper 32 bits of the 64-bit product n * seed. A bound below 1 still steps the seed; the
    // result then lies in n..0 and has no meaning as a choice.
    std::int32_t Random(std::int32_t n)
    {
        Seed_ = Seed_ * 134775813u + 1u;
        const std::int64_t product = static_cast<std::int64_t>(n) * static_cast<std::int64_t>(Seed_);
        // Arithmetic shift of a negative product rounds toward minus infinity, keeping n..0.
        return static_cast<std::int32_t>(product >> 32);
    }

    std::uint32_t Seed() const { return Seed_; }

private:
    std::uint32_t Seed_ = 0;
};

}  // namespace scenario
