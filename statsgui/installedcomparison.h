#ifndef VELMIRA_INSTALLEDCOMPARISON_H
#define VELMIRA_INSTALLEDCOMPARISON_H

#include "sheathevidence.h"
#include "statisticsfile.h"

#include <QCoreApplication>
#include <QString>
#include <QVector>

#include <optional>

// One row of a sheath size's table: the figure the calculator gives there
// today, from the installed table, beside the one the new table would give.
struct RowChange {
    QString diameter; // the row's two-decimal text
    std::optional<int> installed; // none: no installed table, or no usable row
    std::optional<int> fresh; // none: no new table is written for this sheath size

    bool changes() const { return fresh.has_value() && fresh != installed; }
};

// What installing the new tables would change, row by row, judged by the
// calculator's own lookup over the installed file.
class InstalledComparison {
    Q_DECLARE_TR_FUNCTIONS(InstalledComparison)

public:
    static QVector<RowChange> compare(const StatisticsFile &installed,
                                      const SheathEvidence &sheath);
    // The sheath size's file in folder, read as the calculator reads it.
    static QVector<RowChange> compareWithFolder(const QString &folder,
                                                const SheathEvidence &sheath);
    static int changedRows(const QVector<RowChange> &rows);
    // "85 %", or a dash for no figure.
    static QString figureText(const std::optional<int> &figure);
    // One sentence on the sheath size: how many rows change, or that none do.
    static QString verdict(const QVector<RowChange> &rows);
};

#endif // VELMIRA_INSTALLEDCOMPARISON_H
