#include "wilsoninterval.h"

Proportion wilsonProportion(int placed, int cases)
{
    const ScoreInterval interval = wilsonScoreInterval(placed, cases);
    Proportion proportion;
    proportion.cases = cases;
    proportion.placed = placed;
    proportion.low = interval.low;
    proportion.high = interval.high;
    return proportion;
}
