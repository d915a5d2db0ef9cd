// The evidence model's out-of-line members, for building the report's test
// and benchmark where the evidence library is not part of the tree. The build
// uses this file only when there is no velmira_evidence target; the meaning is
// the one documented in sheathevidence.h.
#include "sheathevidence.h"

bool BoundCheck::disagrees() const
{
    const double rate = figure / 100.0;
    return observed.cases > 0 && (rate < observed.low || rate > observed.high);
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
    return strictureCases + lower.observed.cases + upper.observed.cases + tableCases();
}
