#ifndef VELMIRA_LOGSUMMARYTEXTS_H
#define VELMIRA_LOGSUMMARYTEXTS_H

#include "sheathevidence.h"

#include <QCoreApplication>
#include <QString>

// What the console, the files' comments and the report say alike about the
// log as a whole, written once.
class LogSummaryTexts {
    Q_DECLARE_TR_FUNCTIONS(LogSummaryTexts)

public:
    // The rows skipped with their share of the log's rows: "12 (4 %)", or "0".
    static QString skipped(const LogSummary &log);
    // That the diameters seem rounded, and what to do about it.
    static QString roundedWarning();
};

#endif // VELMIRA_LOGSUMMARYTEXTS_H
