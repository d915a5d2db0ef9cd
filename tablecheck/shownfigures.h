#ifndef VELMIRA_SHOWNFIGURES_H
#define VELMIRA_SHOWNFIGURES_H

#include "caselogreader.h"
#include "probabilityrule.h"
#include "statisticsfilemodel.h"
#include "statisticsreader.h"

#include <QString>

#include <memory>

// The figure the calculator would show for a logged case: both statistics
// files read from one folder as the window reads them at start-up, and the
// window's own rule and lookup over them.
class ShownFigures {
public:
    // folder: where Statistics_1.txt and Statistics_2.txt are looked for.
    explicit ShownFigures(const QString &folder);

    CalculationResult figureOf(const LogCase &logCase) const;
    // What reading the sheath size's file found.
    const StatisticsDiagnosis &diagnosis(SheathSize sheath) const;

private:
    struct Table {
        StatisticsRead read;
        std::unique_ptr<StatisticsFileModel> model;
    };
    const Table &tableOf(SheathSize sheath) const;

    Table narrow; // 10-12 Ch
    Table wide; // 12-14 Ch
};

#endif // VELMIRA_SHOWNFIGURES_H
