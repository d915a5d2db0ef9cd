#ifndef VELMIRA_STATISTICSTABLE_H
#define VELMIRA_STATISTICSTABLE_H

#include "statisticsdiagnosis.h"

#include <QString>

class QTableWidget;
struct StatisticsFile;

// Gives a table its two stretched columns, whether or not a file fills it later.
void prepareStatisticsTable(QTableWidget *table);

// Shows a parsed file in a prepared, empty table: the header labels, then one
// row per data line with a centred item in each of the two columns.
void fillStatisticsTable(QTableWidget *table, const StatisticsFile &file);

// Prepares the table and fills it from the file. A file that cannot be opened
// leaves the table empty, with Qt's default column labels; start-up goes on.
// The table's tool tip then says what loading found, which is also returned.
StatisticsDiagnosis loadStatisticsTable(QTableWidget *table, const QString &fileName);

#endif // VELMIRA_STATISTICSTABLE_H
