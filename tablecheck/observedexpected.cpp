#include "observedexpected.h"

#include "tablecheck.h"
#include "wilsoninterval.h"

#include <cmath>
#include <limits>

namespace {

using Counts = std::array<PlacementCount, FigureTally::Figures>;

// Farther shifts than this move every figure but 0 and 100 % to within a
// rounding error of 0 or 1; beyond them a bound is taken as infinite.
constexpr double ShiftRange = 60.0;
constexpr int Bisections = 200;
const double Infinity = std::numeric_limits<double>::infinity();

// The expected count of placements and its variance after the shift.
struct Expectation {
    double mean = 0.0;
    double variance = 0.0;
};

Expectation expectation(const Counts &byFigure, double shift)
{
    Expectation e;
    for (int figure = 0; figure < FigureTally::Figures; ++figure) {
        const int cases = byFigure[size_t(figure)].cases;
        if (cases == 0)
            continue;
        // 0 and 100 % are shifted as 0.5 and 99.5 %, as in the recalibration:
        // a certainty that no shift moves would make a log where one failed
        // impossible, and leave its O/E outside its own interval.
        const double p = 1.0 / (1.0 + std::exp(-(figureLogit(figure) + shift)));
        e.mean += cases * p;
        e.variance += cases * p * (1.0 - p);
    }
    return e;
}

// The shift in low..high where rises(shift) turns true, which it does once.
template<typename Rises> double bisect(double low, double high, Rises rises)
{
    for (int i = 0; i < Bisections && high - low > 1e-13; ++i) {
        const double middle = (low + high) / 2;
        (rises(middle) ? high : low) = middle;
    }
    return (low + high) / 2;
}

// The shift whose expected count is the observed one: the expectation rises with it.
double fittedShift(const Counts &byFigure, double observed)
{
    if (observed <= expectation(byFigure, -Infinity).mean)
        return -Infinity;
    if (observed >= expectation(byFigure, Infinity).mean)
        return Infinity;
    return bisect(-ShiftRange, ShiftRange,
                  [&](double shift) { return expectation(byFigure, shift).mean >= observed; });
}

// Whether the observed count lies beyond z standard deviations on the given side.
bool beyond(const Counts &byFigure, double observed, double shift, double side)
{
    const Expectation e = expectation(byFigure, shift);
    const double distance = side * (e.mean - observed);
    return distance > 0 && distance * distance >= Wilson95Quantile * Wilson95Quantile * e.variance;
}

// The expected count at the interval's bound on one side: side -1 below the fit, +1 above.
double boundCount(const Counts &byFigure, double observed, double fitted, double side)
{
    const double outer = side * ShiftRange;
    // An infinite fit (none or all placed) lies at the other side's end.
    const double inner = std::isfinite(fitted) ? fitted : -outer;
    if (side * (outer - inner) <= 0 || !beyond(byFigure, observed, outer, side))
        return expectation(byFigure, side * Infinity).mean;
    const double shift = side < 0
        ? bisect(outer, inner, [&](double s) { return !beyond(byFigure, observed, s, side); })
        : bisect(inner, outer, [&](double s) { return beyond(byFigure, observed, s, side); });
    return expectation(byFigure, shift).mean;
}

} // namespace

std::optional<Estimate> observedOverExpected(const Counts &byFigure)
{
    double observed = 0.0;
    for (const PlacementCount &c : byFigure)
        observed += c.placed;
    // The figures as shown: the clamp is the shift's alone.
    double expected = 0.0;
    for (int figure = 0; figure < FigureTally::Figures; ++figure)
        expected += byFigure[size_t(figure)].cases * (figure / 100.0);
    if (!(expected > 0.0))
        return std::nullopt;
    const double fitted = fittedShift(byFigure, observed);
    return Estimate {observed / expected, boundCount(byFigure, observed, fitted, -1.0) / expected,
                     boundCount(byFigure, observed, fitted, 1.0) / expected};
}
