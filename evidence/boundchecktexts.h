#ifndef VELMIRA_BOUNDCHECKTEXTS_H
#define VELMIRA_BOUNDCHECKTEXTS_H

#include "sheathevidence.h"

#include <QCoreApplication>
#include <QString>

// How the check of a fixed bound is worded wherever velmira-stats states it:
// in the console's summary, in the statistics file's comment lines and, for
// the condition, in the report. One wording, so that the three never differ.
class BoundCheckTexts {
    Q_DECLARE_TR_FUNCTIONS(BoundCheckTexts)

public:
    // "≤ 1.44 мм": the smallest diameters the bound decides.
    static QString condition(const BoundCheck &check);
    // "установлено 3 из 10"
    static QString counts(const BoundCheck &check);
    // "30 %, 95 % ДИ 10–60 %"
    static QString rate(const BoundCheck &check);
    // The comment line of a statistics file, with the verdict when the fixed
    // figure lies outside the interval.
    static QString fileLine(const BoundCheck &check);
    // The console's warning line; empty when the figure agrees with the cases.
    static QString consoleWarning(const BoundCheck &check);
};

#endif // VELMIRA_BOUNDCHECKTEXTS_H
