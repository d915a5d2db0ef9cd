#include "casetally.h"

#include "caselogreader.h"
#include "diameter.h"

#include <cmath>

namespace {

constexpr int RowsPerTable = 17;

// A row's index from its two-decimal text, whose hundredths count up from
// the lower bound's.
int rowIndex(SheathSize sheath, const QString &minimumText)
{
    const long first = std::lround(sheathBounds(sheath).lower * 100.0);
    return int(std::lround(minimumText.toDouble() * 100.0) - first);
}

SheathTally emptyTally()
{
    SheathTally tally;
    tally.rowCases.fill(0, RowsPerTable);
    tally.rowPlaced.fill(0, RowsPerTable);
    return tally;
}

} // namespace

QStringList tableRowTexts(SheathSize sheath)
{
    const long first = std::lround(sheathBounds(sheath).lower * 100.0);
    QStringList texts;
    for (int row = 0; row < RowsPerTable; ++row)
        texts.append(twoDecimalText(double(first + row) / 100.0));
    return texts;
}

CaseTally::CaseTally() : small(emptyTally()), large(emptyTally()) { }

SheathTally &SheathTally::operator+=(const SheathTally &other)
{
    for (int row = 0; row < rowCases.size(); ++row) {
        rowCases[row] += other.rowCases.at(row);
        rowPlaced[row] += other.rowPlaced.at(row);
    }
    lowerCases += other.lowerCases;
    lowerPlaced += other.lowerPlaced;
    upperCases += other.upperCases;
    upperPlaced += other.upperPlaced;
    strictureCases += other.strictureCases;
    return *this;
}

void CaseTally::add(const CaseTally &other)
{
    small += other.small;
    large += other.large;
}

const SheathTally &CaseTally::tally(SheathSize sheath) const
{
    return sheath == SheathSize::Ch12To14 ? large : small;
}

SheathTally &CaseTally::tallyOf(SheathSize sheath)
{
    return sheath == SheathSize::Ch12To14 ? large : small;
}

void CaseTally::add(const LogCase &logCase)
{
    CalculationInput input;
    input.diameterTexts = logCase.diameters;
    input.stricture = logCase.stricture;
    input.sheath = logCase.sheath;
    // Without a table the rule stops exactly where it would look one up, and
    // names the row's text.
    const CalculationResult result = calculateProbability(input, nullptr);
    SheathTally &tally = tallyOf(logCase.sheath);
    const int placed = logCase.placed ? 1 : 0;
    switch (result.basis) {
    case CalculationResult::Basis::Stricture:
        ++tally.strictureCases;
        return;
    case CalculationResult::Basis::LowerBound:
        ++tally.lowerCases;
        tally.lowerPlaced += placed;
        return;
    case CalculationResult::Basis::UpperBound:
        ++tally.upperCases;
        tally.upperPlaced += placed;
        return;
    case CalculationResult::Basis::Table:
    case CalculationResult::Basis::None:
        break;
    }
    if (result.outcome == CalculationResult::Outcome::EmptyTable)
        addToRow(tally, logCase.sheath, result.minimumText, logCase.placed);
}

void CaseTally::addToRow(SheathTally &tally, SheathSize sheath, const QString &minimumText,
                         bool placed)
{
    const int row = rowIndex(sheath, minimumText);
    // The rule only asks for a table strictly between the bounds, whose
    // texts are the rows. A case outside them would be a fault of this code,
    // and a case silently lost would falsify every count: stop instead.
    if (row < 0 || row >= RowsPerTable)
        qFatal("velmira-stats: no table row for the smallest diameter %s", qPrintable(minimumText));
    Q_ASSERT(twoDecimalText(double(row + std::lround(sheathBounds(sheath).lower * 100.0)) / 100.0)
             == minimumText);
    ++tally.rowCases[row];
    tally.rowPlaced[row] += placed ? 1 : 0;
}
