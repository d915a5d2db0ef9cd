#ifndef VELMIRA_LOGOVERVIEW_H
#define VELMIRA_LOGOVERVIEW_H

#include "logreadworker.h"

#include <QCoreApplication>
#include <QPair>
#include <QString>
#include <QVector>

// What the window says about a read log, as pairs of a label and its value:
// the file, its format, the sheets read and left out, the header row, the
// rows, and the period.
class LogOverview {
    Q_DECLARE_TR_FUNCTIONS(LogOverview)

public:
    using Line = QPair<QString, QString>;

    static QVector<Line> lines(const LogReadResult &result, bool skipBadRows);

private:
    static QString source(const CaseLogReading &reading);
    static QString sheets(const CaseLogReading &reading);
    static QString rows(const CaseLogReading &reading, bool skipBadRows);
    static QString period(const CaseLogReading &reading);
};

#endif // VELMIRA_LOGOVERVIEW_H
