#ifndef VELMIRA_REPORTTEXTS_H
#define VELMIRA_REPORTTEXTS_H

#include "sheathevidence.h"

#include <QCoreApplication>
#include <QString>

// The phrases that the report's pages share: percentages, intervals, the log's
// period and the verdict on a fixed bound. Everything is said in whole percent,
// as the calculator and the statistics files say it.
class ReportTexts {
    Q_DECLARE_TR_FUNCTIONS(ReportTexts)

public:
    static QString percent(double rate); // "64 %"
    static QString interval(const Proportion &proportion); // "47–77 %"
    static QString millimetres(double diameter); // "1.44 мм"
    static QString logPeriod(const LogSummary &log);
    static QString written(const LogSummary &log);
    static QString programVersion(const LogSummary &log);
    // The log's file name without any folder, even if a caller passed a path.
    static QString logFileName(const LogSummary &log);

    // "Нижняя граница (наименьший диаметр ≤ 1.44 мм → 29 %)"
    static QString boundTitle(const BoundCheck &check);
    static QString boundObserved(const BoundCheck &check);
    // The plain sentence on a fixed figure outside the observed interval;
    // empty when the figure agrees or no case tests it.
    static QString boundDisagreement(const BoundCheck &check);
    static QString boundVerdict(const BoundCheck &check); // short, for the first page
    static QString footerLeft(const LogSummary &log);
    static QString footerRight(int page, int pages); // "Страница 2 из 3"
    static QString documentTitle();
};

#endif // VELMIRA_REPORTTEXTS_H
