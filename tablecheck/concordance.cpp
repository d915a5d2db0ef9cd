#include "concordance.h"

#include "wilsoninterval.h"

#include <algorithm>
#include <cmath>

namespace {

using Counts = std::array<PlacementCount, FigureTally::Figures>;

// DeLong's placement values: for a placement shown figure k, the share of
// failures shown less (ties half); for a failure, the share of placements
// shown more. Every case at one figure has the same value.
struct PlacementValues {
    std::array<double, FigureTally::Figures> ofPlaced {};
    std::array<double, FigureTally::Figures> ofFailed {};
};

PlacementValues placementValues(const Counts &byFigure, double placed, double failed)
{
    PlacementValues values;
    double failedBelow = 0.0;
    for (int k = 0; k < FigureTally::Figures; ++k) {
        const double failedHere = byFigure[size_t(k)].cases - byFigure[size_t(k)].placed;
        values.ofPlaced[size_t(k)] = (failedBelow + 0.5 * failedHere) / failed;
        failedBelow += failedHere;
    }
    double placedAbove = 0.0;
    for (int k = FigureTally::Figures - 1; k >= 0; --k) {
        const double placedHere = byFigure[size_t(k)].placed;
        values.ofFailed[size_t(k)] = (placedAbove + 0.5 * placedHere) / placed;
        placedAbove += placedHere;
    }
    return values;
}

// The sample variance of the values, each weighted by its cases.
double spread(const std::array<double, FigureTally::Figures> &values, const Counts &byFigure,
              bool ofPlaced, double count, double mean)
{
    double sum = 0.0;
    for (int k = 0; k < FigureTally::Figures; ++k) {
        const PlacementCount &c = byFigure[size_t(k)];
        const double weight = ofPlaced ? c.placed : c.cases - c.placed;
        const double deviation = values[size_t(k)] - mean;
        sum += weight * deviation * deviation;
    }
    return sum / (count - 1.0);
}

} // namespace

std::optional<Concordance> concordanceOf(const Counts &byFigure)
{
    double placed = 0.0, failed = 0.0;
    for (const PlacementCount &c : byFigure) {
        placed += c.placed;
        failed += c.cases - c.placed;
    }
    if (placed == 0.0 || failed == 0.0)
        return std::nullopt;
    const PlacementValues values = placementValues(byFigure, placed, failed);
    double sum = 0.0;
    for (int k = 0; k < FigureTally::Figures; ++k)
        sum += byFigure[size_t(k)].placed * values.ofPlaced[size_t(k)];
    Concordance concordance;
    concordance.value = sum / placed;
    if (placed < 2.0 || failed < 2.0)
        return concordance;
    const double variance
        = spread(values.ofPlaced, byFigure, true, placed, concordance.value) / placed
        + spread(values.ofFailed, byFigure, false, failed, concordance.value) / failed;
    const double half = Wilson95Quantile * std::sqrt(variance);
    concordance.interval = Estimate {concordance.value, std::max(0.0, concordance.value - half),
                                     std::min(1.0, concordance.value + half)};
    return concordance;
}
