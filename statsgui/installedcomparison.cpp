#include "installedcomparison.h"

#include "statisticsfilemodel.h"
#include "statisticslookup.h"
#include "statisticsreader.h"

#include <QDir>

#include <algorithm>

QVector<RowChange> InstalledComparison::compare(const StatisticsFile &installed,
                                                const SheathEvidence &sheath)
{
    const StatisticsFileModel model(installed);
    // A sheath size without cases in its rows gets no new file: its table stays.
    const bool written = sheath.tableCases() > 0;
    QVector<RowChange> rows;
    for (const FittedRow &row : sheath.rows) {
        RowChange change;
        change.diameter = row.diameter;
        if (const auto match = findStatisticsRow(model, row.diameter.toDouble()))
            change.installed = match->figure;
        if (written)
            change.fresh = row.percent;
        rows.append(change);
    }
    return rows;
}

QVector<RowChange> InstalledComparison::compareWithFolder(const QString &folder,
                                                          const SheathEvidence &sheath)
{
    StatisticsFile installed;
    if (!folder.isEmpty())
        installed
            = readStatisticsFile(QDir(folder).filePath(statisticsFileName(sheath.sheath))).file;
    return compare(installed, sheath);
}

int InstalledComparison::changedRows(const QVector<RowChange> &rows)
{
    return int(std::count_if(rows.cbegin(), rows.cend(),
                             [](const RowChange &row) { return row.changes(); }));
}

QString InstalledComparison::figureText(const std::optional<int> &figure)
{
    return figure ? tr("%1 %").arg(*figure) : QStringLiteral("—");
}

QString InstalledComparison::verdict(const QVector<RowChange> &rows)
{
    const bool written = std::any_of(rows.cbegin(), rows.cend(),
                                     [](const RowChange &row) { return row.fresh.has_value(); });
    if (!written)
        return tr("Новой таблицы для этого кожуха нет: установленная останется как есть.");
    const int changed = changedRows(rows);
    if (changed == 0)
        return tr("Установка ничего не изменит: все строки дают те же значения.");
    return tr("Изменятся строк: %1 из %2 (выделены).").arg(changed).arg(rows.size());
}
