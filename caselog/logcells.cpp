#include "logcells.h"

#include "diameter.h"

#include <QStringList>

std::optional<double> readLogDiameter(const QString &cell)
{
    // The calculator's own reading, so that a log's diameter means what the
    // same text typed into the calculator means; only the upper limit is the log's.
    const std::optional<double> diameter = readDiameter(cell.trimmed());
    if (!diameter || *diameter > MaxLogDiameter)
        return std::nullopt;
    return diameter;
}

std::optional<SheathSize> readLogSheath(const QString &cell)
{
    QString key = cell.toLower();
    key.remove(QLatin1Char(' '));
    key.remove(QChar(0x00A0));
    for (const char *unit : {"ch", "fr"}) {
        if (key.endsWith(QLatin1String(unit)))
            key.chop(2);
    }
    key.replace(QLatin1Char('/'), QLatin1Char('-'));
    key.replace(QChar(0x2013), QLatin1Char('-')); // an en dash, as word processors correct it
    if (key == QLatin1String("10-12"))
        return SheathSize::Ch10To12;
    if (key == QLatin1String("12-14"))
        return SheathSize::Ch12To14;
    return std::nullopt;
}

std::optional<bool> readLogYesNo(const QString &cell)
{
    const QString key = cell.trimmed().toLower();
    if (key == QStringLiteral("да") || key == QLatin1String("yes") || key == QLatin1String("1"))
        return true;
    if (key == QStringLiteral("нет") || key == QLatin1String("no") || key == QLatin1String("0"))
        return false;
    return std::nullopt;
}

std::optional<QDate> readLogDate(const QString &cell)
{
    const QString text = cell.trimmed();
    for (const char *format : {"d.M.yyyy", "yyyy-MM-dd"}) {
        const QDate date = QDate::fromString(text, QLatin1String(format));
        if (date.isValid())
            return date;
    }
    return std::nullopt;
}
