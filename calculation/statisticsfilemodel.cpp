#include "statisticsfilemodel.h"

#include "statisticsrow.h"

StatisticsFileModel::StatisticsFileModel(const StatisticsFile &file, QObject *parent)
    : QAbstractTableModel(parent), rows(file.rows)
{
}

int StatisticsFileModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows.size());
}

int StatisticsFileModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant StatisticsFileModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(rows.size()))
        return {};
    // Nothing here is ever edited: a figure from a file is never an edited cell's.
    if (role == EditedCellRole)
        return false;
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const StatisticsRow &row = rows.at(index.row());
    return index.column() == 0 ? row.diameter : row.percentage;
}
