#include "sheathevidence.h"

bool BoundCheck::disagrees() const
{
    const double fixed = figure / 100.0;
    return observed.cases > 0 && (fixed < observed.low || fixed > observed.high);
}

int SheathEvidence::tableCases() const
{
    int cases = 0;
    for (const EvidenceRow &row : rows)
        cases += row.cases;
    return cases;
}

int SheathEvidence::allCases() const
{
    return tableCases() + lower.observed.cases + upper.observed.cases + strictureCases;
}
