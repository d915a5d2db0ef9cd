#ifndef VELMIRA_SHOWNFIGURES_H
#define VELMIRA_SHOWNFIGURES_H

#include "caselogreader.h"
#include "probabilityrule.h"
#include "statisticsfilemodel.h"
#include "statisticsreader.h"

#include <QString>

#include <map>
#include <memory>
#include <tuple>

// The figure the calculator would show for a logged case: both statistics
// files read from one folder as the window reads them at start-up, and the
// window's own rule and lookup over them.
class ShownFigures {
public:
    // folder: where Statistics_1.txt and Statistics_2.txt are looked for.
    explicit ShownFigures(const QString &folder);

    // The same for every case with the same sheath size, stricture and
    // smallest diameter: each such result is worked out once and kept.
    CalculationResult figureOf(const LogCase &logCase) const;
    // What reading the sheath size's file found.
    const StatisticsDiagnosis &diagnosis(SheathSize sheath) const;

private:
    struct Table {
        StatisticsRead read;
        std::unique_ptr<StatisticsFileModel> model;
    };
    const Table &tableOf(SheathSize sheath) const;
    CalculationResult calculate(const LogCase &logCase) const;

    // Sheath size, stricture, smallest diameter: all the rule looks at.
    using Key = std::tuple<int, bool, double>;
    mutable std::map<Key, CalculationResult> known;

    Table narrow; // 10-12 Ch
    Table wide; // 12-14 Ch
};

#endif // VELMIRA_SHOWNFIGURES_H
