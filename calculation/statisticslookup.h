#ifndef VELMIRA_STATISTICSLOOKUP_H
#define VELMIRA_STATISTICSLOOKUP_H

#include "statisticsrow.h"

#include <optional>

class QAbstractItemModel;

// The row of a statistics table that gives a figure: its index and its percentage.
struct StatisticsMatch {
    int row = -1;
    int figure = 0;
};

// Looks up the probability for the smallest diameter in a statistics table:
// column 0 holds a diameter, column 1 a percentage. A row matches when its
// diameter renders to the same two-decimal text as the minimum; of the rows
// that match and have a usable percentage, the last one wins. The cells are
// read as they stand now, so a user's edit on the statistics page counts.
std::optional<StatisticsMatch> findStatisticsRow(const QAbstractItemModel &table, double minimum);

#endif // VELMIRA_STATISTICSLOOKUP_H
