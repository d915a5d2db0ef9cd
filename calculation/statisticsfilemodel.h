#ifndef VELMIRA_STATISTICSFILEMODEL_H
#define VELMIRA_STATISTICSFILEMODEL_H

#include "statisticsfile.h"

#include <QAbstractTableModel>

// A statistics file's two shown columns as a read-only table, holding the
// same texts the window's table holds after loading the file, so that the
// calculator's own lookup reads them without a widget: for the check of
// tables, and for what installing new ones would change.
class StatisticsFileModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit StatisticsFileModel(const StatisticsFile &file, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QVector<StatisticsRow> rows;
};

#endif // VELMIRA_STATISTICSFILEMODEL_H
