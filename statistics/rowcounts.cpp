#include "rowcounts.h"

#include <QVector>

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

} // namespace

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
