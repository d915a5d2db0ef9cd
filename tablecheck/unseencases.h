#ifndef VELMIRA_UNSEENCASES_H
#define VELMIRA_UNSEENCASES_H

#include "caselogreader.h"

#include <QCoreApplication>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

class ShownFigures;

// The cases of a log that tables are checked on: by default those dated
// after the last case the tables can hold, since tables judged on the cases
// they were fitted to look better than they are. The command and the window
// choose them here, and compare two sets of tables on the same ones.
class UnseenCases {
    Q_DECLARE_TR_FUNCTIONS(UnseenCases)

public:
    // The first day no case of the tables can fall on, from the lines the
    // program writes into them: the month after the period's end, or the
    // day after they were written, whichever comes first; the later of the
    // two files'. Null when a table tells neither (edited or shipped tables).
    static QDate firstUnseenDay(const ShownFigures &figures);
    static QDate firstUnseenDay(const QStringList &comments);

    // from: the first day checked; null checks every case, as does everyCase.
    UnseenCases(const QVector<LogCase> &cases, const QDate &from, bool everyCase = false);

    const QVector<LogCase> &cases() const { return m_cases; }
    // Whether a case is among them: the rule cases() follows.
    bool includes(const LogCase &logCase) const;
    QDate from() const { return optimistic() ? QDate() : m_from; }
    int leftOutSeen() const { return m_leftOutSeen; }
    int leftOutUndated() const { return m_leftOutUndated; }
    // Whether the check may include the tables' own cases, and so flatters them.
    bool optimistic() const { return m_everyCase || !m_from.isValid() || m_noDates; }
    // What was checked and what left out, a line or two in Russian.
    QString text() const;

private:
    QVector<LogCase> m_cases;
    QDate m_from;
    bool m_everyCase;
    bool m_noDates = false;
    int m_leftOutSeen = 0;
    int m_leftOutUndated = 0;
};

#endif // VELMIRA_UNSEENCASES_H
