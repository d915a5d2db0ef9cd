#include "wilsoninterval.h"

#include <algorithm>
#include <cmath>

Proportion wilsonProportion(int placed, int cases)
{
    Proportion proportion;
    proportion.cases = cases;
    proportion.placed = placed;
    if (cases <= 0) {
        proportion.high = 1.0;
        return proportion;
    }
    // The score interval in its usual closed form, term by term.
    const double n = cases;
    const double rate = double(placed) / n;
    const double z = Wilson95Quantile;
    const double z2 = z * z;
    const double denominator = 1.0 + z2 / n;
    const double centre = (rate + z2 / (2.0 * n)) / denominator;
    const double spread = z * std::sqrt(rate * (1.0 - rate) / n + z2 / (4.0 * n * n)) / denominator;
    // Rounding can take a bound a hair past 0 or 1 at the extremes.
    proportion.low = std::max(0.0, centre - spread);
    proportion.high = std::min(1.0, centre + spread);
    return proportion;
}
