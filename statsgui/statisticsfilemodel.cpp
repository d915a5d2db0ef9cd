#include "statisticsfilemodel.h"

StatisticsFileModel::StatisticsFileModel(const StatisticsFile &file, QObject *parent)
    : QAbstractTableModel(parent), m_file(file)
{
}

int StatisticsFileModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_file.rows.size());
}

int StatisticsFileModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant StatisticsFileModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const StatisticsRow &row = m_file.rows.at(index.row());
    return index.column() == 0 ? row.diameter : row.percentage;
}
