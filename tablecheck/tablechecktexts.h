#ifndef VELMIRA_TABLECHECKTEXTS_H
#define VELMIRA_TABLECHECKTEXTS_H

#include "tablecheck.h"
#include "tablesvalidation.h"

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
    // One line: O/E, the calibration slope and the c-statistic with their intervals.
    static QString brief(const TableCheck &check);
    // Where a log was split, and how many cases went to each side.
    static QString heldOutSplit(const HeldOutCheck &held);
    // Two sets of tables checked on the same cases, figure by figure: which
    // fits the cases better, and where the intervals leave it open.
    static QString comparison(const TableCheck &first, const TableCheck &second);
    // The same under a first line of the caller's that says which tables are which.
    static QString comparison(const TableCheck &first, const TableCheck &second,
                              const QString &heading);
    // How the intervals were found, for any text or table of these figures.
    static QString methods(const TableCheck &check);

    // The forms the texts give a figure in, for a table of the same figures.
    static QString estimateText(const Estimate &estimate); // "0.86 (0.78–0.94)"
    static QString rateText(const Proportion &observed); // "25 % (18–34 %)"
    static QString fractionText(double value); // "0.86"

private:
    static QString counts(const TableCheck &check);
    static QString reason(CalculationResult::Outcome outcome);
    static QString calibrationInTheLarge(const TableCheck &check);
    static QString recalibration(const TableCheck &check);
    static QString accuracy(const TableCheck &check);
    static QString byFigure(const TableCheck &check);
    static QString byZone(const TableCheck &check);
};

#endif // VELMIRA_TABLECHECKTEXTS_H
