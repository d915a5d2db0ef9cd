#include "rowinterval.h"

#include <QtGlobal>

#include <cmath>

Proportion rowWilsonInterval(int cases, int placed)
{
    Proportion proportion;
    proportion.cases = cases;
    proportion.placed = placed;
    if (cases <= 0)
        return proportion;

    // The 0.975 quantile of the standard normal distribution, to full precision,
    // so that the report's intervals agree with the fit's to the last digit.
    constexpr double z = 1.959963984540054;
    const double n = cases;
    const double rate = placed / n;
    const double denominator = 1.0 + z * z / n;
    const double centre = (rate + z * z / (2.0 * n)) / denominator;
    const double half
        = z * std::sqrt(rate * (1.0 - rate) / n + z * z / (4.0 * n * n)) / denominator;
    // At none or all placed the interval ends at the rate itself; the formula
    // gets there only up to rounding, which would leave the rate outside.
    proportion.low = placed == 0 ? 0.0 : qMax(0.0, centre - half);
    proportion.high = placed == cases ? 1.0 : qMin(1.0, centre + half);
    return proportion;
}
