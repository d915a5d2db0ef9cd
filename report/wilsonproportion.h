#ifndef VELMIRA_WILSONPROPORTION_H
#define VELMIRA_WILSONPROPORTION_H

#include "sheathevidence.h"

// A row's own observed proportion with its 95 % Wilson score interval. The
// evidence model carries intervals only for the pooled blocks; the report's
// plot also shows each row's own, so that a reader sees why rows were pooled.
Proportion wilsonProportion(int cases, int placed);

#endif // VELMIRA_WILSONPROPORTION_H
