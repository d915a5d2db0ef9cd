#ifndef VELMIRA_STATISTICSTABLE_H
#define VELMIRA_STATISTICSTABLE_H

#include "statisticsdiagnosis.h"

#include <QString>

class QTableWidget;
struct StatisticsFile;
struct StatisticsRead;

// Gives a table its two stretched columns, whether or not a file fills it later.
void prepareStatisticsTable(QTableWidget *table);

// Shows a parsed file in a prepared, empty table: the header labels, then one
// row per data line with a centred item in each of the two columns.
void fillStatisticsTable(QTableWidget *table, const StatisticsFile &file);

// Prepares the table and shows a file read from disk in it; a file that could
// not be opened leaves the table empty, with Qt's default column labels. The
// table's tool tip then says what loading found.
void showStatisticsTable(QTableWidget *table, const StatisticsRead &read);

// Reads the file and shows it as above; returns what loading found.
StatisticsDiagnosis loadStatisticsTable(QTableWidget *table, const QString &fileName);

#endif // VELMIRA_STATISTICSTABLE_H
