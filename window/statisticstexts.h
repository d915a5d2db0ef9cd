#ifndef VELMIRA_STATISTICSTEXTS_H
#define VELMIRA_STATISTICSTEXTS_H

#include <QCoreApplication>
#include <QString>

struct RowCounts;
struct StatisticsDiagnosis;

// What the user is told about a statistics file: why its table is empty or
// unusable, and the table's tool tip on the statistics page.
class StatisticsTexts {
    Q_DECLARE_TR_FUNCTIONS(StatisticsTexts)

public:
    // Why loading left no usable table, in plain Russian: a sentence starting
    // in lower case, to follow "Причина: ". Empty when the table has usable rows.
    static QString loadCause(const StatisticsDiagnosis &diagnosis);

    // The table's tool tip: the file, what loading found, and the file's comment lines.
    static QString toolTip(const StatisticsDiagnosis &diagnosis);

    // A cell's tool tip in a row with a clinic's counts.
    static QString rowToolTip(const RowCounts &evidence);

private:
    static QString loadedText(const StatisticsDiagnosis &diagnosis);
    static QString evidenceText(const StatisticsDiagnosis &diagnosis);
    static QString commentLines(const StatisticsDiagnosis &diagnosis);
};

#endif // VELMIRA_STATISTICSTEXTS_H
