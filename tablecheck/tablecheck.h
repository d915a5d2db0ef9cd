#ifndef VELMIRA_TABLECHECK_H
#define VELMIRA_TABLECHECK_H

#include "concordance.h"
#include "figuretally.h"
#include "logisticrecalibration.h"
#include "sheathevidence.h"

#include <QVector>

#include <array>
#include <optional>

// The cases of one figure shown, with the observed rate's Wilson interval.
struct FigureRow {
    int figure = 0; // percent
    Proportion observed;
    bool outsideInterval = false; // the figure lies outside the observed rate's interval
};

// The cases of one zone: a fixed bound's or the table's rows.
struct ZoneRow {
    Proportion observed;
    std::optional<double> meanFigure; // none without cases
};

// How well the figures shown predict the logged cases. Rates and figures are
// fractions from 0 to 1; a figure is none where its cases cannot give it.
struct TableCheck {
    int cases = 0; // with a figure, without a stricture
    int placements = 0;
    int excludedStricture = 0;
    int noFigure = 0;
    QVector<CaseWithoutFigure> withoutFigure;

    std::optional<Proportion> observed; // the rate with its Wilson interval
    std::optional<double> meanFigure;
    // Observed over expected placements, with its score interval (observedexpected.h).
    std::optional<Estimate> oe;
    std::optional<Estimate> intercept;
    std::optional<Estimate> slope;
    // Whether a figure of 0 or 100 % was taken as 0.5 or 99.5 % for the logit.
    bool clampedFigures = false;
    std::optional<double> brier;
    std::optional<double> brierScaled;
    std::optional<Concordance> concordance;

    QVector<FigureRow> byFigure; // each figure shown to some case, ascending
    std::array<ZoneRow, FigureZones> byZone;
};

// The figures of the check from the counts of the checked cases.
TableCheck checkTables(const FigureTally &tally);

// The figure's logit; 0 and 100 % are taken as 0.5 and 99.5 %, the nearest
// a whole percent rounds from, since their own logit is infinite.
double figureLogit(int figure);

#endif // VELMIRA_TABLECHECK_H
