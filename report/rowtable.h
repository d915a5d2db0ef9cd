#ifndef VELMIRA_ROWTABLE_H
#define VELMIRA_ROWTABLE_H

#include "sheathevidence.h"
#include "texttable.h"

#include <QCoreApplication>

class QPainter;

// The 17 rows of one sheath size's table as the report prints them: the
// counts at each diameter, the observed and fitted percent, and the pooled
// block behind the fitted value with its interval.
class RowTable {
    Q_DECLARE_TR_FUNCTIONS(RowTable)

public:
    explicit RowTable(const SheathEvidence &sheath);

    // Draws at the top of the frame and returns the height used.
    double draw(QPainter &painter, const QRectF &frame) const;
    // What the table's marks mean, for the line under it.
    static QString footnote();
    // The columns and a row's cells, as printed; a table on screen shows the same.
    static QVector<TextTable::Column> columns();
    static QStringList cells(const FittedRow &row);

private:
    static QString note(const FittedRow &row);

    const SheathEvidence &m_sheath;
};

#endif // VELMIRA_ROWTABLE_H
