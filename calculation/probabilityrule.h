#ifndef VELMIRA_PROBABILITYRULE_H
#define VELMIRA_PROBABILITYRULE_H

#include "boundfigures.h"

#include <QString>

#include <array>

class QAbstractItemModel;

enum class SheathSize { None, Ch10To12, Ch12To14 };

// "10-12 Ch" or "12-14 Ch", as the interface names the sheath sizes.
QString sheathName(SheathSize sheath);

// The statistics file that holds a sheath size's table: "Statistics_1.txt" for
// 10-12 Ch, "Statistics_2.txt" for 12-14 Ch.
QString statisticsFileName(SheathSize sheath);

// A rate from 0 to 1 in whole percent, halves away from zero: every figure and
// interval is said this way, in the tables, the report and the messages.
int wholePercent(double rate);

// The figures of the clear cases; those of the bounds are in boundfigures.h.
constexpr int StrictureFigure = 0;

// The smallest diameters, in millimetres, at or below which a sheath size gives
// LowerBoundFigure and at or above which it gives UpperBoundFigure; the open band
// between them is looked up in the sheath size's table.
struct SheathBounds {
    double lower;
    double upper;
};
SheathBounds sheathBounds(SheathSize sheath);

// What the user has entered on the calculation page at the moment of a press.
struct CalculationInput {
    std::array<QString, 3> diameterTexts;
    bool stricture = false;
    SheathSize sheath = SheathSize::None;
};

// Either a figure, or the reason why there is none. A press that yields no
// figure must say so: an earlier figure left on screen would look like a result.
struct CalculationResult {
    enum class Outcome { Figure, InvalidDiameter, NoSheathSize, EmptyTable, NoUsableRow };
    // What gave the figure, so that the user can be told.
    enum class Basis { None, Stricture, UpperBound, LowerBound, Table };

    Outcome outcome = Outcome::Figure;
    int figure = 0; // percent, when outcome is Figure
    int invalidDiameter = -1; // 0, 1 or 2, when outcome is InvalidDiameter
    QString minimumText; // the smallest diameter with two decimals, when all three are valid

    Basis basis = Basis::None;
    double bound = 0.0; // in millimetres, when basis is UpperBound or LowerBound
    // When basis is Table: the row that gave the figure, its two cells as they
    // stood at the press, and whether the user had changed either of them.
    int tableRow = -1;
    QString rowDiameter;
    QString rowPercentage;
    bool rowEdited = false;

    bool hasFigure() const { return outcome == Outcome::Figure; }
};

// The probability, in whole percent, that a ureteral access sheath can be placed.
// A stricture gives 0. Otherwise only the smallest diameter counts: at or above
// the sheath size's upper bound the figure is 93, at or below its lower bound 29,
// and in between it comes from the statistics table of that sheath size. Each
// calculation with valid diameters logs the two-decimal smallest diameter.
CalculationResult calculateProbability(const CalculationInput &input,
                                       const QAbstractItemModel *table);

#endif // VELMIRA_PROBABILITYRULE_H
