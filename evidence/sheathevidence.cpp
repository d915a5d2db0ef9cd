#include "sheathevidence.h"

bool BoundCheck::disagrees() const
{
    const double fixed = figure / 100.0;
    return observed.cases > 0 && (fixed < observed.low || fixed > observed.high);
}

int SheathEvidence::tableCases() const
{
    int cases = 0;
    for (const FittedRow &row : rows)
        cases += row.cases;
    return cases;
}

int SheathEvidence::largestRowCases() const
{
    int largest = 0;
    for (const FittedRow &row : rows)
        largest = qMax(largest, row.cases);
    return largest;
}

int SheathEvidence::allCases() const
{
    return tableCases() + lower.observed.cases + upper.observed.cases + strictureCases;
}
