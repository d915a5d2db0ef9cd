#ifndef VELMIRA_ROWINTERVAL_H
#define VELMIRA_ROWINTERVAL_H

#include "sheathevidence.h"

// A row's own observed proportion with its 95 % Wilson score interval. The
// evidence model carries intervals only for the pooled blocks; the report's
// plot also shows each row's own, so that a reader sees why rows were pooled.
// Named apart from the fit's own interval function, which takes its counts in
// the other order.
Proportion rowWilsonInterval(int cases, int placed);

#endif // VELMIRA_ROWINTERVAL_H
