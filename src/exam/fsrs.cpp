#include "fsrs.h"

#include <algorithm>
#include <cmath>

namespace lexitka::fsrs {
namespace {

constexpr double w[21] = {0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194, 0.001,  1.8722, 0.1666, 0.796,
                          1.4835, 0.0614, 0.2629, 1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};
constexpr double kRetention = 0.9;
constexpr double kMinStability = 0.001;
const double kDecay = -w[20];
const double kFactor = std::pow(0.9, 1.0 / kDecay) - 1.0;

double value(Grade g) { return double(static_cast<int>(g)); }

// The initial difficulty of a grade, before it is kept within 1 to 10.
double initialDifficulty(double grade) { return w[4] - std::exp(w[5] * (grade - 1)) + 1; }

double clampDifficulty(double d) { return std::clamp(d, 1.0, 10.0); }

double nextDifficulty(double d, Grade g)
{
    const double delta = -w[6] * (value(g) - 3);
    const double damped = d + delta * (10 - d) / 9;
    // Mean reversion towards the initial difficulty of Easy, unclamped.
    return clampDifficulty(w[7] * initialDifficulty(4) + (1 - w[7]) * damped);
}

} // namespace

double retrievability(double elapsedDays, double stability)
{
    return std::pow(1 + kFactor * elapsedDays / stability, kDecay);
}

int intervalDays(double stability)
{
    const double days = stability / kFactor * (std::pow(kRetention, 1.0 / kDecay) - 1);
    return int(std::clamp(std::round(days), 1.0, 36500.0));
}

Memory firstReview(Grade grade)
{
    return {w[static_cast<int>(grade) - 1], clampDifficulty(initialDifficulty(value(grade)))};
}

Memory nextReview(const Memory &m, int elapsedDays, Grade grade)
{
    const double s = m.stability;
    const double d = m.difficulty;
    double next = 0;
    if (elapsedDays < 1) {
        double growth = std::exp(w[17] * (value(grade) - 3 + w[18])) * std::pow(s, -w[19]);
        if (grade == Grade::Good)
            growth = std::max(growth, 1.0);
        next = s * growth;
    } else {
        const double r = retrievability(elapsedDays, s);
        if (grade == Grade::Good) {
            next = s * (1 + std::exp(w[8]) * (11 - d) * std::pow(s, -w[9]) * (std::exp(w[10] * (1 - r)) - 1));
        } else {
            next = std::min(w[11] * std::pow(d, -w[12]) * (std::pow(s + 1, w[13]) - 1) * std::exp(w[14] * (1 - r)),
                            s / std::exp(w[17] * w[18]));
        }
    }
    return {std::max(next, kMinStability), nextDifficulty(d, grade)};
}

} // namespace lexitka::fsrs
