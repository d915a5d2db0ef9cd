#ifndef VELMIRA_STATISTICSFILE_H
#define VELMIRA_STATISTICSFILE_H

#include <QString>
#include <QStringList>
#include <QVector>

class QTextStream;

// One data line of a statistics file: its first two fields, which the table
// shows, and the rest of the line, which only a clinic's counts use (see
// rowcounts.h). A data line always has at least two fields, since it holds
// a comma.
struct StatisticsRow {
    QString diameter;
    QString percentage;
    QString extraFields; // after the second comma, as simplified; null when none
    int line = 0; // in the file, the header being line 1
};

// The contents of a statistics file, as the table shows them, and what reading
// it noticed that the user should be told.
struct StatisticsFile {
    QStringList headerLabels; // at most two: only two columns are shown
    QStringList extraHeaderLabels; // the header's fields after the second
    QVector<StatisticsRow> rows;

    QStringList comments; // the comment lines, without "#" and surrounding blanks
    int unusableRows = 0; // rows that can give no figure for any diameter
    int firstUnusableLine = 0; // its line in the file, the header being line 1; 0: none
    int firstUnusableRow = -1; // its index in rows
    int rowsWithExtraFields = 0;
    // A ";" in the header, a line without a comma or the first two fields of
    // an unusable row: what a spreadsheet saved with semicolons leaves. Usable
    // rows are not searched, which keeps loading a sound file as fast as before.
    bool hasSemicolons = false;
};

// Parses a statistics file. The first line is always the header. Of the later
// lines, those whose very first character is "#" are comments and those without
// a comma are ignored; every other line is a data row. Each line has its
// whitespace simplified and is split at every comma, empty fields kept.
// A row counts as unusable as the lookup would find it (isUsableRow).
StatisticsFile parseStatistics(QTextStream &stream);

#endif // VELMIRA_STATISTICSFILE_H
