#ifndef VELMIRA_TABLESVALIDATION_H
#define VELMIRA_TABLESVALIDATION_H

#include "caselogreader.h"
#include "sheathevidence.h"
#include "tablecheck.h"

#include <QDate>
#include <QVector>

#include <optional>

// A log's cases split at a date: tables built from the earlier ones are
// checked on the later ones, which they never saw.
struct LogSplit {
    QDate since; // the first day of the later cases
    QVector<LogCase> before;
    QVector<LogCase> later;
    int undated = 0; // cases without a date: on neither side
};
LogSplit splitAt(const QVector<LogCase> &cases, const QDate &since);

// The new tables on the later cases of a split.
struct HeldOutCheck {
    QDate since;
    int buildCases = 0; // the cases the tables were built from
    int laterCases = 0; // the cases they were checked on
    int undated = 0;
    TableCheck check;
};

// How well tables built from a log predict its cases. On the cases they were
// built from the figures are optimistic; cross-validation, and cases held out
// by date when asked, say how the tables do on cases they have not seen.
struct TablesValidation {
    static constexpr int Folds = 10;
    // Fixed, so that a rerun on the same log gives the same folds and figures.
    static constexpr unsigned Seed = 20261210u;

    TableCheck apparent; // the tables on the cases they were built from
    // Every case's figure from tables built without its fold, checked as one
    // set; none with fewer cases than folds.
    std::optional<TableCheck> crossValidated;
    std::optional<HeldOutCheck> heldOut;
};

// sheaths: the tables built from cases, the cases the log's reading keeps.
TablesValidation validateTables(const QVector<SheathEvidence> &sheaths,
                                const QVector<LogCase> &cases);
// sheaths: the tables built from the split's earlier cases.
HeldOutCheck checkHeldOut(const QVector<SheathEvidence> &sheaths, const LogSplit &split);

#endif // VELMIRA_TABLESVALIDATION_H
