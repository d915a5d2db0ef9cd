#ifndef VELMIRA_FIGURETALLY_H
#define VELMIRA_FIGURETALLY_H

#include "caselogreader.h"
#include "probabilityrule.h"

#include <QString>
#include <QVector>

#include <array>

// Where a shown figure came from, apart from a stricture's 0.
enum class FigureZone { LowerBound, Table, UpperBound };
constexpr int FigureZones = 3;

// Cases and placements of one group of cases.
struct PlacementCount {
    int cases = 0;
    int placed = 0;
};

// A case the tables could give no figure for, and why.
struct CaseWithoutFigure {
    int line = 0;
    SheathSize sheath = SheathSize::None;
    QString minimumText; // the smallest diameter, two decimals; empty when unreadable
    CalculationResult::Outcome outcome = CalculationResult::Outcome::NoUsableRow;
};

// The checked cases counted by the whole percent shown and by zone. Every
// figure of the check follows from these counts: a figure is one of 101
// values, so the check costs one pass over the log whatever its length.
struct FigureTally {
    static constexpr int Figures = 101; // 0 to 100 %

    std::array<PlacementCount, Figures> byFigure {};
    std::array<PlacementCount, FigureZones> byZone {};
    std::array<long long, FigureZones> zoneFigureSum {}; // in percent
    PlacementCount stricture;
    QVector<CaseWithoutFigure> withoutFigure;

    // Files a case under the figure the calculator gave it.
    void add(const LogCase &logCase, const CalculationResult &result);
    // Only the cases that count: with a figure, no stricture.
    PlacementCount checked() const;
};

#endif // VELMIRA_FIGURETALLY_H
