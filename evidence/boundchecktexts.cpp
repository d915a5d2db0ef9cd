#include "boundchecktexts.h"

#include "diameter.h"

QString BoundCheckTexts::condition(const BoundCheck &check)
{
    return tr("%1 %2 мм")
        .arg(check.isLower() ? QStringLiteral("≤") : QStringLiteral("≥"),
             twoDecimalText(check.bound));
}

QString BoundCheckTexts::counts(const BoundCheck &check)
{
    return tr("установлено %1 из %2").arg(check.observed.placed).arg(check.observed.cases);
}

QString BoundCheckTexts::rate(const BoundCheck &check)
{
    const Proportion &o = check.observed;
    return tr("%1 %, 95 % ДИ %2–%3 %")
        .arg(wholePercent(o.rate()))
        .arg(wholePercent(o.low))
        .arg(wholePercent(o.high));
}

QString BoundCheckTexts::fileLine(const BoundCheck &check)
{
    const QString bound = tr("Граница %1 (%2 %)").arg(condition(check)).arg(check.figure);
    if (check.observed.cases == 0)
        return tr("%1: случаев нет").arg(bound);
    QString text = tr("%1: %2, %3").arg(bound, counts(check), rate(check));
    if (check.disagrees())
        text += tr("; фиксированное значение %1 % лежит вне интервала").arg(check.figure);
    return text;
}

QString BoundCheckTexts::consoleWarning(const BoundCheck &check)
{
    if (!check.disagrees())
        return {};
    return tr("  наименьший диаметр %1: %2 (%3) — фиксированное значение %4 % вне интервала\n")
        .arg(condition(check), counts(check), rate(check))
        .arg(check.figure);
}
