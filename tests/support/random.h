#pragma once
// Small helpers for the generated seasons of the property tests and the benchmarks.
#include <random>
#include <string>
#include <vector>

#include "core/base/text.h"

namespace vemora::test {

// A number as the fixed-width text the club programs write ("7", 3 -> "007").
inline std::string pad(int v, int width) { return padZero(std::to_string(v), static_cast<size_t>(width)); }

template <typename T>
const T& pick(std::mt19937& rng, const std::vector<T>& from) {
    return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(rng)];
}

inline bool coin(std::mt19937& rng, double p = 0.5) { return std::bernoulli_distribution(p)(rng); }
inline int between(std::mt19937& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

}  // namespace vemora::test
