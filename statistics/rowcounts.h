#ifndef VELMIRA_ROWCOUNTS_H
#define VELMIRA_ROWCOUNTS_H

#include "statisticsfile.h"

#include <QString>
#include <QStringList>

#include <optional>

// The counts behind one row of a statistics file that velmira-stats wrote from
// a clinic's case log. They follow the diameter and the percentage as further
// columns, which a reader of the first two fields never sees:
//
// clang-format off
//   Диаметр мм,Процент,Случаев,Установлено,Случаев в блоке,Установлено в блоке,Блок от мм,Блок до мм,ДИ от %,ДИ до %
//   1.51,64,12,8,37,24,1.49,1.52,49,78
//   1.47,45,0,0,,,,,,
// clang-format on
//
// The block is the run of adjacent diameters that the fit pooled into one rate;
// its Wilson interval is in whole percent. A row without cases of its own has
// no block: its figure is interpolated from the neighbouring rows.
// Below this many cases in its block a row's rate says little, whatever its
// interval: the calculator and the report both mark such a row.
constexpr int FewCases = 10;

struct RowCounts {
    int cases = 0; // at this diameter
    int placed = 0;
    int blockCases = 0;
    int blockPlaced = 0;
    QString blockFrom; // two-decimal diameters, as in the first column
    QString blockTo;
    int intervalLow = 0; // percent
    int intervalHigh = 0;

    bool isInterpolated() const { return cases == 0; }
    // The block's own rate in percent, before the fit was clipped to the fixed bounds.
    double blockPercent() const;
};

// The header labels of the extra columns, after "Диаметр мм" and "Процент".
QStringList rowCountsLabels();

// Whether a file's header labels (all of them, as split at commas) announce the
// extra columns above.
bool hasRowCountsColumns(const QStringList &headerLabels);

// The extra fields of a row, without a leading comma: "12,8,37,24,1.49,1.52,47,77".
QString rowCountsFields(const RowCounts &evidence);

// Reads the extra fields back. Nothing for fields that are not the counts above
// or do not hold together: not whole numbers, more placements than cases, a
// block smaller than its row, an interval outside 0..100 or one that does not
// contain the block's own rate.
std::optional<RowCounts> readRowCounts(const QString &fields);

// Why a row's counts contradict the figure beside them.
enum class CountsProblem {
    None,
    Malformed, // not counts that hold together (readRowCounts)
    NotWilson, // the interval is not the block's Wilson interval
    PercentOutsideInterval, // nor the interval clipped to the bounds' figures
    DiameterOutsideBlock,
};

// What a row's counts say of its figure. A row without counts (only a
// diameter and a percentage, as an editor leaves it) has neither counts nor
// a problem: its figure stands alone. A row whose counts contradict it must
// never show them, since they would look like proof of the figure.
struct RowEvidence {
    std::optional<RowCounts> counts; // only when they agree with the row
    CountsProblem problem = CountsProblem::None;

    bool disagrees() const { return problem != CountsProblem::None; }
};

// Checks a row's counts against its diameter and percentage: the interval is
// the block's Wilson interval to a point either way for the files' whole
// percent; the percentage lies in it as clipped to 29..93 (an interpolated
// row's anywhere in 29..93); the diameter lies in the block. Every front end
// and the install judge a row by this alone.
RowEvidence rowEvidence(const StatisticsRow &row);

#endif // VELMIRA_ROWCOUNTS_H
