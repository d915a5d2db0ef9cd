#ifndef VELMIRA_TABLESBUILD_H
#define VELMIRA_TABLESBUILD_H

#include "logreadworker.h"
#include "outputfolder.h"
#include "sheathevidence.h"

#include <QCoreApplication>
#include <QString>
#include <QVector>

// The tables a read log gives, under velmira-stats' rules: none while bad
// rows are not to be skipped, none when most rows are bad, and the files'
// bytes the command would write for the same log.
class TablesBuild {
    Q_DECLARE_TR_FUNCTIONS(TablesBuild)

public:
    TablesBuild();
    TablesBuild(const LogReadResult &result, bool skipBadRows);

    // Why no tables are made, in Russian; empty when they are.
    const QString &refusal() const { return m_refusal; }
    bool ready() const { return m_refusal.isEmpty() && !m_tables.isEmpty(); }
    const LogSummary &summary() const { return m_summary; }
    const QVector<OutputFile> &tables() const { return m_tables; }
    const QVector<SheathEvidence> &sheaths() const { return m_sheaths; }

private:
    static QString refusalOf(const CaseLogReading &reading, bool skipBadRows);

    QString m_refusal;
    LogSummary m_summary;
    QVector<OutputFile> m_tables;
    QVector<SheathEvidence> m_sheaths;
};

#endif // VELMIRA_TABLESBUILD_H
