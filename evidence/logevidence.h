#ifndef VELMIRA_LOGEVIDENCE_H
#define VELMIRA_LOGEVIDENCE_H

#include "caselogreader.h"
#include "sheathevidence.h"

#include <QByteArray>
#include <QVector>

// A case log read once: what the reading found, the evidence of both sheath
// sizes, and the log's SHA-256, which the tables name.
struct LogEvidence {
    CaseLogReading reading;
    QVector<SheathEvidence> sheaths; // 10-12 Ch, then 12-14 Ch
    QByteArray sha256; // in hexadecimal
};

// Reads the log's bytes, sorts its cases through the calculator's rule and
// fits both sheath sizes' tables.
LogEvidence gatherLogEvidence(const QByteArray &bytes);

#endif // VELMIRA_LOGEVIDENCE_H
