#ifndef VELMIRA_SHEATHTAB_H
#define VELMIRA_SHEATHTAB_H

#include "sheathevidence.h"

#include <QWidget>

class QTableWidget;

// One sheath size as the report's page shows it: the plot, the check of the
// fixed bounds in the report's sentences, and the 17 rows.
class SheathTab : public QWidget {
    Q_OBJECT

public:
    explicit SheathTab(const SheathEvidence &sheath, QWidget *parent = nullptr);

    QTableWidget *rowTable() const { return m_rows; }
    static QString boundChecks(const SheathEvidence &sheath);

private:
    QWidget *topHalf(const SheathEvidence &sheath);
    void fillRows(const SheathEvidence &sheath);

    QTableWidget *m_rows;
};

#endif // VELMIRA_SHEATHTAB_H
