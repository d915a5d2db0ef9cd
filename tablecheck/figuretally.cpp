#include "figuretally.h"

namespace {

FigureZone zoneOf(CalculationResult::Basis basis)
{
    if (basis == CalculationResult::Basis::LowerBound)
        return FigureZone::LowerBound;
    if (basis == CalculationResult::Basis::UpperBound)
        return FigureZone::UpperBound;
    return FigureZone::Table;
}

void count(PlacementCount &counts, bool placed)
{
    ++counts.cases;
    counts.placed += placed ? 1 : 0;
}

} // namespace

void FigureTally::add(const LogCase &logCase, const CalculationResult &result)
{
    if (!result.hasFigure()) {
        withoutFigure.append({logCase.line, logCase.sheath, result.minimumText, result.outcome});
        return;
    }
    // A stricture's 0 never fails, so it would only flatter the figures.
    if (result.basis == CalculationResult::Basis::Stricture) {
        count(stricture, logCase.placed);
        return;
    }
    const int zone = int(zoneOf(result.basis));
    count(byFigure[size_t(result.figure)], logCase.placed);
    count(byZone[size_t(zone)], logCase.placed);
    zoneFigureSum[size_t(zone)] += result.figure;
}

PlacementCount FigureTally::checked() const
{
    PlacementCount total;
    for (const PlacementCount &counts : byZone) {
        total.cases += counts.cases;
        total.placed += counts.placed;
    }
    return total;
}
