#ifndef VELMIRA_STATISTICSLOOKUP_H
#define VELMIRA_STATISTICSLOOKUP_H

#include <QVariant>

#include <optional>

class QAbstractItemModel;

// A cell a user changed on the statistics page during this session holds true
// under this role, so that a figure from it can say so.
constexpr int EditedCellRole = Qt::UserRole + 1;

// The row of a statistics table that gives a figure: its index and its percentage.
struct StatisticsMatch {
    int row = -1;
    int figure = 0;
};

// A percentage cell is usable when it holds a base-10 whole number from 0 to
// 100 ("085" reads as 85); anything else ("85%", "85.5", "150", empty) is not.
std::optional<int> readPercentage(const QVariant &cell);

// A row can give a figure for some diameter when its diameter cell reads as a
// finite number and its percentage cell is usable. Counts what a file offers.
bool isUsableRow(const QString &diameter, const QString &percentage);

// Looks up the probability for the smallest diameter in a statistics table:
// column 0 holds a diameter, column 1 a percentage. A row matches when its
// diameter renders to the same two-decimal text as the minimum; of the rows
// that match and have a usable percentage, the last one wins. The cells are
// read as they stand now, so a user's edit on the statistics page counts.
std::optional<StatisticsMatch> findStatisticsRow(const QAbstractItemModel &table, double minimum);

// The figure alone, of the row findStatisticsRow finds.
std::optional<int> lookUpProbability(const QAbstractItemModel &table, double minimum);

#endif // VELMIRA_STATISTICSLOOKUP_H
