#ifndef VELMIRA_SHEATHSTATISTICS_H
#define VELMIRA_SHEATHSTATISTICS_H

#include "probabilityrule.h"
#include "rowcounts.h"
#include "statisticsreader.h"

class QTableWidget;

// One sheath size's statistics: its table on the statistics page, the file
// it was read from and what reading it found.
struct SheathStatistics {
    SheathSize sheath = SheathSize::None;
    QTableWidget *table = nullptr;
    StatisticsRead read;

    // Reads the file into the table; start-up goes on whatever the file holds.
    static SheathStatistics load(SheathSize sheath, QTableWidget *table, const QString &fileName);

    // What the counts that the file gives for a row say of its figure.
    RowEvidence evidenceOf(int row) const;
};

#endif // VELMIRA_SHEATHSTATISTICS_H
