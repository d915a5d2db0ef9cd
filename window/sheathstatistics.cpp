#include "sheathstatistics.h"

#include "statisticstable.h"

SheathStatistics SheathStatistics::load(SheathSize sheath, QTableWidget *table,
                                        const QString &fileName)
{
    SheathStatistics statistics {sheath, table, readStatisticsFile(fileName)};
    showStatisticsTable(table, statistics.read);
    return statistics;
}

std::optional<RowCounts> SheathStatistics::evidenceOf(int row) const
{
    if (!read.diagnosis.hasEvidenceColumns || row < 0 || row >= int(read.file.rows.size()))
        return std::nullopt;
    return readRowCounts(read.file.rows.at(row).extraFields);
}
