#ifndef VELMIRA_STATISTICSROW_H
#define VELMIRA_STATISTICSROW_H

#include <QString>
#include <QVariant>

#include <optional>

// What a row of a statistics table must hold to give a figure, as loading
// counts a file's rows and the lookup reads the cells at a press.

// A cell a user changed on the statistics page during this session holds true
// under this role, so that a figure from it can say so.
constexpr int EditedCellRole = Qt::UserRole + 1;

// A percentage cell is usable when it holds a base-10 whole number from 0 to
// 100 ("085" reads as 85); anything else ("85%", "85.5", "150", empty) is not.
std::optional<int> readPercentage(const QVariant &cell);

// A row can give a figure for some diameter when its diameter cell reads as a
// finite number and its percentage cell is usable. Counts what a file offers.
bool isUsableRow(const QString &diameter, const QString &percentage);

#endif // VELMIRA_STATISTICSROW_H
