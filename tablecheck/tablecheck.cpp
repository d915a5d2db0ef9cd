#include "tablecheck.h"

#include "observedexpected.h"

#include "wilsoninterval.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double LowestLogitFigure = 0.005;

void countCases(const FigureTally &tally, TableCheck &check)
{
    const PlacementCount checked = tally.checked();
    check.cases = checked.cases;
    check.placements = checked.placed;
    check.excludedStricture = tally.stricture.cases;
    check.noFigure = int(tally.withoutFigure.size());
    check.withoutFigure = tally.withoutFigure;
}

double figureSum(const FigureTally &tally)
{
    double sum = 0.0;
    for (long long zoneSum : tally.zoneFigureSum)
        sum += double(zoneSum);
    return sum / 100.0;
}

void calibrationInTheLarge(const FigureTally &tally, TableCheck &check)
{
    if (check.cases == 0)
        return;
    check.observed = wilsonProportion(check.placements, check.cases);
    const double expected = figureSum(tally);
    check.meanFigure = expected / check.cases;
    check.oe = observedOverExpected(tally.byFigure);
}

void recalibration(const FigureTally &tally, TableCheck &check)
{
    QVector<LogitGroup> groups;
    for (int figure = 0; figure < FigureTally::Figures; ++figure) {
        const PlacementCount &c = tally.byFigure[size_t(figure)];
        if (c.cases == 0)
            continue;
        groups.append({figureLogit(figure), c.cases, c.placed});
        check.clampedFigures = check.clampedFigures || figure == 0 || figure == 100;
    }
    check.intercept = calibrationIntercept(groups);
    check.slope = calibrationSlope(groups);
}

void brierScores(const FigureTally &tally, TableCheck &check)
{
    if (check.cases == 0)
        return;
    double sum = 0.0;
    for (int figure = 0; figure < FigureTally::Figures; ++figure) {
        const PlacementCount &c = tally.byFigure[size_t(figure)];
        const double f = figure / 100.0;
        sum += c.placed * (1.0 - f) * (1.0 - f) + (c.cases - c.placed) * f * f;
    }
    check.brier = sum / check.cases;
    // Against always showing the observed rate, whose Brier score is rate * (1 - rate).
    const double rate = double(check.placements) / check.cases;
    const double reference = rate * (1.0 - rate);
    if (reference > 0.0)
        check.brierScaled = 1.0 - *check.brier / reference;
}

void rows(const FigureTally &tally, TableCheck &check)
{
    for (int figure = 0; figure < FigureTally::Figures; ++figure) {
        const PlacementCount &c = tally.byFigure[size_t(figure)];
        if (c.cases == 0)
            continue;
        FigureRow row {figure, wilsonProportion(c.placed, c.cases), false};
        const double shown = figure / 100.0;
        row.outsideInterval = shown < row.observed.low || shown > row.observed.high;
        check.byFigure.append(row);
    }
    for (int zone = 0; zone < FigureZones; ++zone) {
        const PlacementCount &c = tally.byZone[size_t(zone)];
        ZoneRow &row = check.byZone[size_t(zone)];
        row.observed = wilsonProportion(c.placed, c.cases);
        if (c.cases > 0)
            row.meanFigure = double(tally.zoneFigureSum[size_t(zone)]) / 100.0 / c.cases;
    }
}

} // namespace

double figureLogit(int figure)
{
    const double p = std::clamp(figure / 100.0, LowestLogitFigure, 1.0 - LowestLogitFigure);
    return std::log(p / (1.0 - p));
}

TableCheck checkTables(const FigureTally &tally)
{
    TableCheck check;
    countCases(tally, check);
    calibrationInTheLarge(tally, check);
    recalibration(tally, check);
    brierScores(tally, check);
    check.concordance = concordanceOf(tally.byFigure);
    rows(tally, check);
    return check;
}
