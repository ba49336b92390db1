#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

// Sums and differences of int positions are worked out in 64 bits; this brings one back into int range,
// saturating at the ends instead of wrapping.
constexpr int ClampToInt(std::int64_t value) {
    return static_cast<int>(
        std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
