#ifndef VELMIRA_TABLECHECKTEXTS_H
#define VELMIRA_TABLECHECKTEXTS_H

#include "tablecheck.h"

#include <QCoreApplication>
#include <QString>

// The check in plain Russian for the clinic's staff: what each figure means
// for their cases, with its interval. It gives no verdict: with a few hundred
// cases the intervals are the message.
class TableCheckTexts {
    Q_DECLARE_TR_FUNCTIONS(TableCheckTexts)

public:
    static QString summary(const TableCheck &check);
    // The cases the tables gave no figure for, one line each, at most limit.
    static QString withoutFigure(const TableCheck &check, int limit);

private:
    static QString counts(const TableCheck &check);
    static QString reason(CalculationResult::Outcome outcome);
    static QString calibrationInTheLarge(const TableCheck &check);
    static QString recalibration(const TableCheck &check);
    static QString accuracy(const TableCheck &check);
    static QString byFigure(const TableCheck &check);
    static QString byZone(const TableCheck &check);
    static QString methods(const TableCheck &check);
};

#endif // VELMIRA_TABLECHECKTEXTS_H
