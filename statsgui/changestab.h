#ifndef VELMIRA_CHANGESTAB_H
#define VELMIRA_CHANGESTAB_H

#include "installedcomparison.h"

#include <QWidget>

class QGroupBox;
class QTableWidget;

// What installing would change: per sheath size and row, the figure the
// installed table gives beside the new one, the changing rows marked.
class ChangesTab : public QWidget {
    Q_OBJECT

public:
    ChangesTab(const QString &folder, const QVector<SheathEvidence> &sheaths,
               QWidget *parent = nullptr);

    // Per sheath size, in the order given.
    const QVector<QVector<RowChange>> &changes() const { return m_changes; }
    QTableWidget *table(int sheath) const { return m_tables.at(sheath); }

private:
    QGroupBox *sheathBox(const SheathEvidence &sheath, const QVector<RowChange> &rows);
    static QTableWidget *changeTable(const QVector<RowChange> &rows);

    QVector<QVector<RowChange>> m_changes;
    QVector<QTableWidget *> m_tables;
};

#endif // VELMIRA_CHANGESTAB_H
