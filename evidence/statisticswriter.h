#ifndef VELMIRA_STATISTICSWRITER_H
#define VELMIRA_STATISTICSWRITER_H

#include "sheathevidence.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// The translation context of the texts the statistics files hold.
class StatisticsWriter {
    Q_DECLARE_TR_FUNCTIONS(StatisticsWriter)
};

// The one-line summary that opens the comment lines, which the calculator
// shows in a figure's provenance: "Статистика клиники: 212 случаев, кожух
// 10-12 Ch, журнал cases.csv, 03.2024-11.2026; изотоническая регрессия, 95 %
// ДИ Уилсона". The period only when the log has dates.
QString evidenceSummaryLine(const LogSummary &log, const SheathEvidence &evidence);

// The whole file: the header with the counts' labels, the comment lines (the
// summary; when, by what and from which log; the counts), then the 17 rows.
// UTF-8 with a byte-order mark: the calculator on a Russian Windows reads a
// file without one in the code page 1251.
QByteArray statisticsFileBytes(const LogSummary &log, const SheathEvidence &evidence);

#endif // VELMIRA_STATISTICSWRITER_H
