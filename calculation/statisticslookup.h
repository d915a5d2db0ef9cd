#ifndef VELMIRA_STATISTICSLOOKUP_H
#define VELMIRA_STATISTICSLOOKUP_H

#include <QVariant>

#include <optional>

class QAbstractItemModel;

// A percentage cell is usable when it holds a base-10 whole number from 0 to
// 100 ("085" reads as 85); anything else ("85%", "85.5", "150", empty) is not.
std::optional<int> readPercentage(const QVariant &cell);

// Looks up the probability for the smallest diameter in a statistics table:
// column 0 holds a diameter, column 1 a percentage. A row matches when its
// diameter renders to the same two-decimal text as the minimum; of the rows
// that match and have a usable percentage, the last one wins. The cells are
// read as they stand now, so a user's edit on the statistics page counts.
std::optional<int> lookUpProbability(const QAbstractItemModel &table, double minimum);

#endif // VELMIRA_STATISTICSLOOKUP_H
