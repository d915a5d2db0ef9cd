#include "sheathstatistics.h"

#include "statisticstable.h"

SheathStatistics SheathStatistics::load(SheathSize sheath, QTableWidget *table,
                                        const QString &fileName)
{
    SheathStatistics statistics {sheath, table, readStatisticsFile(fileName)};
    showStatisticsTable(table, statistics.read);
    return statistics;
}

RowEvidence SheathStatistics::evidenceOf(int row) const
{
    if (!read.diagnosis.hasEvidenceColumns || row < 0 || row >= int(read.file.rows.size()))
        return {};
    return rowEvidence(read.file.rows.at(row));
}
