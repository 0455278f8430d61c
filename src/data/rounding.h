#pragma once

#include <cmath>

namespace lexitka {

// Nearest whole number, an exact half to the even neighbour (12.5 → 12).
inline int roundHalfEven(double x)
{
    const double r = std::nearbyint(x); // default rounding mode is to-nearest-even
    return static_cast<int>(r);
}

// good / (good + bad) × 100, rounded; 0 before the first answer.
inline int successPercent(int good, int bad)
{
    if (good + bad <= 0)
        return 0;
    return roundHalfEven(double(good) / double(good + bad) * 100.0);
}

} // namespace lexitka
