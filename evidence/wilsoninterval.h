#ifndef VELMIRA_WILSONINTERVAL_H
#define VELMIRA_WILSONINTERVAL_H

#include "sheathevidence.h"

// The two-sided 95 % quantile of the standard normal distribution.
constexpr double Wilson95Quantile = 1.959963984540054;

// placed of cases with its 95 % Wilson score interval. The interval stays
// inside 0..1 and holds the observed rate even for 0 or all placed, where the
// plain normal interval collapses; for no cases it is 0..1.
Proportion wilsonProportion(int placed, int cases);

#endif // VELMIRA_WILSONINTERVAL_H
