#ifndef VELMIRA_SHOWNFIGURES_H
#define VELMIRA_SHOWNFIGURES_H

#include "caselogreader.h"
#include "figuretally.h"
#include "probabilityrule.h"
#include "sheathevidence.h"
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
    // Tables just built: the files the command would write for them, read
    // back by the calculator's parser. A sheath size without a case in its
    // rows gets no file, as the command writes none.
    explicit ShownFigures(const QVector<SheathEvidence> &sheaths);

    // The same for every case with the same sheath size, stricture and
    // smallest diameter: each such result is worked out once and kept.
    CalculationResult figureOf(const LogCase &logCase) const;
    // What reading the sheath size's file found.
    const StatisticsDiagnosis &diagnosis(SheathSize sheath) const;
    // Whether either file gave rows: else every figure is a fixed bound's.
    bool hasTable() const;

private:
    struct Table {
        StatisticsRead read;
        std::unique_ptr<StatisticsFileModel> model;
    };
    const Table &tableOf(SheathSize sheath) const;
    Table &tableOf(SheathSize sheath);
    CalculationResult calculate(const LogCase &logCase) const;

    // Sheath size, stricture, smallest diameter: all the rule looks at.
    using Key = std::tuple<int, bool, double>;
    mutable std::map<Key, CalculationResult> known;

    Table narrow; // 10-12 Ch
    Table wide; // 12-14 Ch
};

// The shown figures of cases counted by figure and zone.
FigureTally tallyFigures(const ShownFigures &figures, const QVector<LogCase> &cases);

#endif // VELMIRA_SHOWNFIGURES_H
