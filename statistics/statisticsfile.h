#ifndef VELMIRA_STATISTICSFILE_H
#define VELMIRA_STATISTICSFILE_H

#include <QString>
#include <QStringList>
#include <QVector>

class QTextStream;

// One data line of a statistics file: its first two fields. Further fields are
// dropped; a data line always has at least two, since it holds a comma.
struct StatisticsRow {
    QString diameter;
    QString percentage;
};

// The contents of a statistics file, as the table shows them.
struct StatisticsFile {
    QStringList headerLabels; // at most two: only two columns are shown
    QVector<StatisticsRow> rows;
};

// Parses a statistics file. The first line is always the header. Of the later
// lines, those whose very first character is "#" are comments and those without
// a comma are ignored; every other line is a data row. Each line has its
// whitespace simplified and is split at every comma, empty fields kept.
StatisticsFile parseStatistics(QTextStream &stream);

#endif // VELMIRA_STATISTICSFILE_H
