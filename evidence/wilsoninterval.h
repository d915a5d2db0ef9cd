#ifndef VELMIRA_WILSONINTERVAL_H
#define VELMIRA_WILSONINTERVAL_H

#include "sheathevidence.h"
#include "wilsonscore.h"

// placed of cases with its 95 % Wilson score interval (wilsonscore.h).
Proportion wilsonProportion(int placed, int cases);

#endif // VELMIRA_WILSONINTERVAL_H
