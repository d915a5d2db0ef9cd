#ifndef VELMIRA_LOGEVIDENCE_H
#define VELMIRA_LOGEVIDENCE_H

#include "caselogreader.h"
#include "sheathevidence.h"

#include <QByteArray>
#include <QVector>

struct SheathTally;

class CaseTally;

// A case log read once: what the reading found, the cases it keeps, the
// evidence of both sheath sizes, and the log's SHA-256, which the tables name.
struct LogEvidence {
    CaseLogReading reading;
    // In the log's order; the tables are built from them and checked on them.
    QVector<LogCase> cases;
    QVector<SheathEvidence> sheaths; // 10-12 Ch, then 12-14 Ch
    QByteArray sha256; // in hexadecimal
};

// The 17 rows of a sheath size's table from its counts: the isotonic fit,
// clipped to the fixed figures, each row's pooled block with its Wilson
// interval, and the check of both fixed bounds.
SheathEvidence buildSheathEvidence(SheathSize sheath, const SheathTally &tally);
// Both sheath sizes' tables from sorted cases: 10-12 Ch, then 12-14 Ch.
QVector<SheathEvidence> buildTables(const CaseTally &tally);

// Reads the log's bytes and keeps the cases that count; no table is fitted.
LogEvidence readLogCases(const QByteArray &bytes, const CaseLogReader::Progress &progress = {});

// Reads the log's bytes, sorts its cases through the calculator's rule and
// fits both sheath sizes' tables. The progress hook, if given, is the reader's.
LogEvidence gatherLogEvidence(const QByteArray &bytes,
                              const CaseLogReader::Progress &progress = {});

#endif // VELMIRA_LOGEVIDENCE_H
