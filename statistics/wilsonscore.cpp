#include "wilsonscore.h"

#include <algorithm>
#include <cmath>

ScoreInterval wilsonScoreInterval(int placed, int cases)
{
    if (cases <= 0)
        return {};
    // The score interval in its usual closed form, term by term.
    const double n = cases;
    const double rate = double(placed) / n;
    const double z = Wilson95Quantile;
    const double z2 = z * z;
    const double denominator = 1.0 + z2 / n;
    const double centre = (rate + z2 / (2.0 * n)) / denominator;
    const double spread = z * std::sqrt(rate * (1.0 - rate) / n + z2 / (4.0 * n * n)) / denominator;
    // At 0 or all placed, rounding can put a bound a hair on the wrong side of the rate or of 0..1.
    return {std::clamp(centre - spread, 0.0, rate), std::clamp(centre + spread, rate, 1.0)};
}
