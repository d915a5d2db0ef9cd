#include "probabilityrule.h"

#include "diameter.h"
#include "statisticslookup.h"

#include <QAbstractItemModel>
#include <QDebug>
#include <QLoggingCategory>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

CalculationResult figure(int percent, const QString &minimumText, CalculationResult::Basis basis,
                         double bound = 0.0)
{
    CalculationResult result;
    result.figure = percent;
    result.minimumText = minimumText;
    result.basis = basis;
    result.bound = bound;
    return result;
}

bool isEdited(const QModelIndex &cell)
{
    return cell.data(EditedCellRole).toBool();
}

CalculationResult tableFigure(const QAbstractItemModel &table, const StatisticsMatch &match,
                              const QString &minimumText)
{
    CalculationResult result = figure(match.figure, minimumText, CalculationResult::Basis::Table);
    const QModelIndex diameter = table.index(match.row, 0);
    const QModelIndex percentage = table.index(match.row, 1);
    result.tableRow = match.row;
    result.rowDiameter = diameter.data().toString().trimmed();
    result.rowPercentage = percentage.data().toString().trimmed();
    result.rowEdited = isEdited(diameter) || isEdited(percentage);
    return result;
}

CalculationResult noFigure(CalculationResult::Outcome outcome, const QString &minimumText)
{
    CalculationResult result;
    result.outcome = outcome;
    result.minimumText = minimumText;
    return result;
}

// The three diameters as the rule sees them: the first that does not read, or the smallest.
struct DiameterReading {
    int invalidDiameter = -1;
    double minimum = 0.0;
};

DiameterReading readDiameters(const CalculationInput &input)
{
    std::array<double, 3> diameters {};
    DiameterReading reading;
    for (int i = 0; i < int(input.diameterTexts.size()); ++i) {
        if (const std::optional<double> diameter = readDiameter(input.diameterTexts[i]))
            diameters[i] = *diameter;
        else if (reading.invalidDiameter < 0)
            reading.invalidDiameter = i;
    }
    if (reading.invalidDiameter < 0)
        reading.minimum = *std::min_element(diameters.cbegin(), diameters.cend());
    return reading;
}

} // namespace

QString sheathName(SheathSize sheath)
{
    return sheath == SheathSize::Ch10To12 ? QStringLiteral("10-12 Ch") : QStringLiteral("12-14 Ch");
}

QString statisticsFileName(SheathSize sheath)
{
    return sheath == SheathSize::Ch12To14 ? QStringLiteral("Statistics_2.txt")
                                          : QStringLiteral("Statistics_1.txt");
}

int wholePercent(double rate)
{
    return int(std::lround(rate * 100.0));
}

SheathBounds sheathBounds(SheathSize sheath)
{
    return sheath == SheathSize::Ch10To12 ? SheathBounds {1.44, 1.6} : SheathBounds {1.84, 2.0};
}

CalculationResult calculateProbability(const CalculationInput &input,
                                       const QAbstractItemModel *table)
{
    const DiameterReading reading = readDiameters(input);
    const int invalidDiameter = reading.invalidDiameter;
    const double minimum = reading.minimum;
    QString minimumText;
    if (invalidDiameter < 0) {
        minimumText = twoDecimalText(minimum);
        // Checked first, so that a run over a case log, which turns the
        // line off, does not format it once per case.
        if (QLoggingCategory::defaultCategory()->isDebugEnabled())
            qDebug() << minimumText;
    }

    // A stricture rules the sheath out whatever the diameters say.
    if (input.stricture)
        return figure(StrictureFigure, minimumText, CalculationResult::Basis::Stricture);

    if (invalidDiameter >= 0) {
        CalculationResult result = noFigure(CalculationResult::Outcome::InvalidDiameter, {});
        result.invalidDiameter = invalidDiameter;
        return result;
    }
    if (input.sheath == SheathSize::None)
        return noFigure(CalculationResult::Outcome::NoSheathSize, minimumText);

    // The bounds are compared as numbers, closed at both ends; only the open
    // band between them is looked up as text.
    const SheathBounds bounds = sheathBounds(input.sheath);
    if (minimum >= bounds.upper)
        return figure(UpperBoundFigure, minimumText, CalculationResult::Basis::UpperBound,
                      bounds.upper);
    if (minimum <= bounds.lower)
        return figure(LowerBoundFigure, minimumText, CalculationResult::Basis::LowerBound,
                      bounds.lower);

    if (!table || table->rowCount() == 0)
        return noFigure(CalculationResult::Outcome::EmptyTable, minimumText);
    if (const std::optional<StatisticsMatch> match = findStatisticsRow(*table, minimum))
        return tableFigure(*table, *match, minimumText);
    return noFigure(CalculationResult::Outcome::NoUsableRow, minimumText);
}
