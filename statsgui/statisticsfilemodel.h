#ifndef VELMIRA_STATISTICSFILEMODEL_H
#define VELMIRA_STATISTICSFILEMODEL_H

#include "statisticsfile.h"

#include <QAbstractTableModel>

// A statistics file's two shown columns as a read-only model, so that the
// calculator's own lookup can be asked what an installed table gives.
class StatisticsFileModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit StatisticsFileModel(const StatisticsFile &file, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    StatisticsFile m_file;
};

#endif // VELMIRA_STATISTICSFILEMODEL_H
