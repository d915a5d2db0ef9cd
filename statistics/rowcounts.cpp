#include "rowcounts.h"

#include "boundfigures.h"
#include "statisticsrow.h"
#include "wilsonscore.h"

#include <QVector>

#include <algorithm>
#include <cmath>

namespace {

const QLatin1Char Separator(',');
constexpr int FieldCount = 8;

std::optional<int> count(const QString &field)
{
    bool ok = false;
    const int value = field.trimmed().toInt(&ok, 10);
    if (!ok || value < 0)
        return std::nullopt;
    return value;
}

bool isDiameter(const QString &field)
{
    bool ok = false;
    const double value = field.toDouble(&ok);
    return ok && value > 0.0 && value <= 10.0;
}

// An interpolated row: no cases and no block.
std::optional<RowCounts> interpolatedRow(const QStringList &fields)
{
    for (int i = 2; i < FieldCount; ++i) {
        if (!fields.at(i).trimmed().isEmpty())
            return std::nullopt;
    }
    if (count(fields.at(1)) != 0)
        return std::nullopt;
    return RowCounts {};
}

bool holdsTogether(const RowCounts &e)
{
    // The rate is compared at the interval's rounding: 24 of 37 is 64.9 %.
    const double rate = e.blockPercent();
    return e.placed <= e.cases && e.blockPlaced <= e.blockCases && e.cases <= e.blockCases
        && e.placed <= e.blockPlaced && e.blockCases > 0 && e.intervalLow <= e.intervalHigh
        && e.intervalHigh <= 100 && rate >= e.intervalLow - 0.5 && rate <= e.intervalHigh + 0.5
        && isDiameter(e.blockFrom) && isDiameter(e.blockTo)
        && e.blockFrom.toDouble() <= e.blockTo.toDouble();
}

// The files say the interval in whole percent; one more either way is allowed,
// so that a bound that rounds differently elsewhere is no contradiction.
constexpr int IntervalRounding = 1;
// Diameters are two-decimal texts: compared as numbers, "1.5" is "1.50".
constexpr double DiameterTolerance = 1e-9;

bool isWilsonInterval(const RowCounts &e)
{
    const ScoreInterval wilson = wilsonScoreInterval(e.blockPlaced, e.blockCases);
    return std::abs(e.intervalLow - std::lround(100.0 * wilson.low)) <= IntervalRounding
        && std::abs(e.intervalHigh - std::lround(100.0 * wilson.high)) <= IntervalRounding;
}

int clipped(int percent)
{
    return std::clamp(percent, LowerBoundFigure, UpperBoundFigure);
}

// The fit clips the block's rate to the bounds' figures, so a block of 0 of 50
// (0-7 %) rightly shows 29 %; an interpolated row lies between clipped rows.
bool percentFits(const RowCounts &e, int percent)
{
    if (e.isInterpolated())
        return percent == clipped(percent);
    return percent >= clipped(e.intervalLow) && percent <= clipped(e.intervalHigh);
}

bool diameterInBlock(const RowCounts &e, const QString &diameter)
{
    if (e.isInterpolated())
        return true;
    bool ok = false;
    const double value = diameter.toDouble(&ok);
    return ok && value >= e.blockFrom.toDouble() - DiameterTolerance
        && value <= e.blockTo.toDouble() + DiameterTolerance;
}

bool hasNoCounts(const StatisticsRow &row)
{
    for (const QChar c : row.extraFields) {
        if (c != QLatin1Char(',') && !c.isSpace())
            return false;
    }
    return true;
}

} // namespace

RowEvidence rowEvidence(const StatisticsRow &row)
{
    if (hasNoCounts(row))
        return {};
    const std::optional<RowCounts> counts = readRowCounts(row.extraFields);
    const std::optional<int> percent = readPercentage(row.percentage);
    if (!counts || !percent)
        return {std::nullopt, CountsProblem::Malformed};
    if (!counts->isInterpolated() && !isWilsonInterval(*counts))
        return {std::nullopt, CountsProblem::NotWilson};
    if (!percentFits(*counts, *percent))
        return {std::nullopt, CountsProblem::PercentOutsideInterval};
    if (!diameterInBlock(*counts, row.diameter))
        return {std::nullopt, CountsProblem::DiameterOutsideBlock};
    return {counts, CountsProblem::None};
}

double RowCounts::blockPercent() const
{
    return blockCases > 0 ? 100.0 * blockPlaced / blockCases : 0.0;
}

QStringList rowCountsLabels()
{
    return {QStringLiteral("Случаев"),         QStringLiteral("Установлено"),
            QStringLiteral("Случаев в блоке"), QStringLiteral("Установлено в блоке"),
            QStringLiteral("Блок от мм"),      QStringLiteral("Блок до мм"),
            QStringLiteral("ДИ от %"),         QStringLiteral("ДИ до %")};
}

bool hasRowCountsColumns(const QStringList &headerLabels)
{
    QStringList trimmed;
    for (const QString &label : headerLabels.mid(2))
        trimmed.append(label.trimmed());
    return trimmed == rowCountsLabels();
}

QString rowCountsFields(const RowCounts &evidence)
{
    if (evidence.isInterpolated())
        return QStringLiteral("0,0,,,,,,");
    return QStringList {QString::number(evidence.cases),
                        QString::number(evidence.placed),
                        QString::number(evidence.blockCases),
                        QString::number(evidence.blockPlaced),
                        evidence.blockFrom,
                        evidence.blockTo,
                        QString::number(evidence.intervalLow),
                        QString::number(evidence.intervalHigh)}
        .join(Separator);
}

std::optional<RowCounts> readRowCounts(const QString &fields)
{
    const QStringList parts = fields.split(Separator, Qt::KeepEmptyParts);
    if (parts.size() != FieldCount)
        return std::nullopt;
    if (count(parts.at(0)) == 0)
        return interpolatedRow(parts);
    QVector<int> numbers;
    for (int i : {0, 1, 2, 3, 6, 7}) {
        const std::optional<int> value = count(parts.at(i));
        if (!value)
            return std::nullopt;
        numbers.append(*value);
    }
    RowCounts evidence {numbers[0],
                        numbers[1],
                        numbers[2],
                        numbers[3],
                        parts.at(4).trimmed(),
                        parts.at(5).trimmed(),
                        numbers[4],
                        numbers[5]};
    if (!holdsTogether(evidence))
        return std::nullopt;
    return evidence;
}
