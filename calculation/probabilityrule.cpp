#include "probabilityrule.h"

#include "diameter.h"
#include "statisticslookup.h"

#include <QAbstractItemModel>
#include <QDebug>
#include <QVector>

#include <algorithm>
#include <optional>

namespace {

constexpr int StrictureFigure = 0;
constexpr int UpperBoundFigure = 93;
constexpr int LowerBoundFigure = 29;

struct SheathBounds {
    double lower;
    double upper;
};

SheathBounds boundsOf(SheathSize sheath)
{
    return sheath == SheathSize::Ch10To12 ? SheathBounds {1.44, 1.6} : SheathBounds {1.84, 2.0};
}

CalculationResult figure(int percent, const QString &minimumText)
{
    CalculationResult result;
    result.figure = percent;
    result.minimumText = minimumText;
    return result;
}

CalculationResult noFigure(CalculationResult::Outcome outcome, const QString &minimumText)
{
    CalculationResult result;
    result.outcome = outcome;
    result.minimumText = minimumText;
    return result;
}

} // namespace

CalculationResult calculateProbability(const CalculationInput &input,
                                       const QAbstractItemModel *table)
{
    QVector<double> diameters;
    int invalidDiameter = -1;
    for (int i = 0; i < int(input.diameterTexts.size()); ++i) {
        if (const std::optional<double> diameter = readDiameter(input.diameterTexts[i]))
            diameters.append(*diameter);
        else if (invalidDiameter < 0)
            invalidDiameter = i;
    }

    QString minimumText;
    double minimum = 0.0;
    if (invalidDiameter < 0) {
        minimum = *std::min_element(diameters.cbegin(), diameters.cend());
        minimumText = twoDecimalText(minimum);
        qDebug() << minimumText;
    }

    // A stricture rules the sheath out whatever the diameters say.
    if (input.stricture)
        return figure(StrictureFigure, minimumText);

    if (invalidDiameter >= 0) {
        CalculationResult result = noFigure(CalculationResult::Outcome::InvalidDiameter, {});
        result.invalidDiameter = invalidDiameter;
        return result;
    }
    if (input.sheath == SheathSize::None)
        return noFigure(CalculationResult::Outcome::NoSheathSize, minimumText);

    // The bounds are compared as numbers, closed at both ends; only the open
    // band between them is looked up as text.
    const SheathBounds bounds = boundsOf(input.sheath);
    if (minimum >= bounds.upper)
        return figure(UpperBoundFigure, minimumText);
    if (minimum <= bounds.lower)
        return figure(LowerBoundFigure, minimumText);

    if (!table || table->rowCount() == 0)
        return noFigure(CalculationResult::Outcome::EmptyTable, minimumText);
    if (const std::optional<int> percentage = lookUpProbability(*table, minimum))
        return figure(*percentage, minimumText);
    return noFigure(CalculationResult::Outcome::NoUsableRow, minimumText);
}
