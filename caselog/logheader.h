#ifndef VELMIRA_LOGHEADER_H
#define VELMIRA_LOGHEADER_H

#include "logcolumns.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class LogRecords;

// The header of one table of a log: the first row, within the first
// HeaderSearchRows, whose cells name every required column. Rows above it (a
// title, a merged heading) are left out.
struct LogHeader {
    LogColumns columns;
    int row = 0; // the header's row number; 0 when none was found
    QString problem; // why the table cannot be read; empty when it can
    bool empty = false; // the table holds nothing at all

    bool found() const { return problem.isEmpty(); }
};

constexpr int HeaderSearchRows = 20;

// Finds the header, reading the table up to it. When there is none, the
// problem shows the row that came closest as it was read (only if it names a
// column: otherwise it may be a case, told by its place and kind), names the cell
// closest to each missing column's name, and says when the row looks like
// text decoded in the wrong encoding.
class LogHeaderSearch {
    Q_DECLARE_TR_FUNCTIONS(LogHeaderSearch)

public:
    static LogHeader find(LogRecords &records);

private:
    // A row that names no column is never quoted: it may be a case.
    static QString missingProblem(const QStringList &cells, int row, const LogColumnsResult &found,
                                  bool namesColumns);
    static QString rowAsRead(const QStringList &cells);
    static QString closeCells(const QStringList &cells, const LogColumns &columns);
    static bool looksMisdecoded(const QStringList &cells);
    static bool looksLikeData(const QStringList &cells);
};

#endif // VELMIRA_LOGHEADER_H
