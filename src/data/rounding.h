#pragma once

#include <QtGlobal>

namespace lexitka {

// numerator / denominator to the nearest whole number, an exact half to the
// even neighbour (12.5 → 12, 57.5 → 58), worked out in whole numbers: a
// floating-point quotient is not exact, and 23 of 40 would come out 57.
// Both non-negative, denominator > 0.
inline qint64 roundedQuotient(qint64 numerator, qint64 denominator)
{
    const qint64 whole = numerator / denominator;
    const qint64 twiceRest = 2 * (numerator % denominator);
    if (twiceRest > denominator || (twiceRest == denominator && whole % 2 != 0))
        return whole + 1;
    return whole;
}

// good / (good + bad) × 100, rounded; 0 before the first answer.
inline int successPercent(qint64 good, qint64 bad)
{
    if (good < 0 || bad < 0 || good + bad <= 0)
        return 0;
    return int(roundedQuotient(good * 100, good + bad));
}

} // namespace lexitka
