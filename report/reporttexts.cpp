#include "reporttexts.h"

#include "boundchecktexts.h"
#include "diameter.h"

#include <QFileInfo>

QString ReportTexts::percent(double rate)
{
    // A no-break space, so that a line never ends between a number and its sign.
    return tr("%1\u00a0%").arg(wholePercent(rate));
}

QString ReportTexts::interval(const Proportion &proportion)
{
    return tr("%1–%2\u00a0%").arg(wholePercent(proportion.low)).arg(wholePercent(proportion.high));
}

QString ReportTexts::millimetres(double diameter)
{
    return tr("%1 мм").arg(twoDecimalText(diameter));
}

QString ReportTexts::logPeriod(const LogSummary &log)
{
    if (!log.firstDate.isValid() || !log.lastDate.isValid())
        return tr("не указан (в журнале нет столбца даты)");
    const QString format = QStringLiteral("dd.MM.yyyy");
    const QString period
        = tr("%1 – %2").arg(log.firstDate.toString(format), log.lastDate.toString(format));
    if (!log.heldOutSince.isValid())
        return period;
    return tr("%1; случаи с %2 отложены для проверки и в таблицы не вошли")
        .arg(period, log.heldOutSince.toString(format));
}

QString ReportTexts::written(const LogSummary &log)
{
    return log.written.toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

QString ReportTexts::programVersion(const LogSummary &log)
{
    return tr("velmira-stats %1").arg(log.version);
}

QString ReportTexts::logFileName(const LogSummary &log)
{
    return QFileInfo(log.logName).fileName();
}

QString ReportTexts::boundTitle(const BoundCheck &check)
{
    const QString side = check.isLower() ? tr("Нижняя граница") : tr("Верхняя граница");
    return tr("%1 (наименьший диаметр %2 → %3 %)")
        .arg(side, BoundCheckTexts::condition(check))
        .arg(check.figure);
}

QString ReportTexts::boundObserved(const BoundCheck &check)
{
    if (check.observed.cases == 0)
        return tr("Случаев нет: фиксированное значение %1 % проверить нечем.").arg(check.figure);
    return tr("случаев: %1, установлено: %2; наблюдаемая доля %3 (95 % ДИ %4), "
              "калькулятор показывает %5 %.")
        .arg(check.observed.cases)
        .arg(check.observed.placed)
        .arg(percent(check.observed.rate()), interval(check.observed))
        .arg(check.figure);
}

QString ReportTexts::boundDisagreement(const BoundCheck &check)
{
    if (!check.disagrees())
        return {};
    const QString consequence = check.observedBelowFigure()
        ? tr("в клинике установка при таких диаметрах удавалась реже, чем говорит калькулятор.")
        : tr("в клинике установка при таких диаметрах удавалась чаще, чем говорит калькулятор.");
    return tr("Фиксированное значение %1 % лежит вне 95 % ДИ наблюдаемой доли (%2): %3")
        .arg(check.figure)
        .arg(interval(check.observed), consequence);
}

QString ReportTexts::boundVerdict(const BoundCheck &check)
{
    if (check.observed.cases == 0)
        return tr("нет случаев");
    if (check.disagrees())
        return tr("%1 % вне ДИ %2").arg(check.figure).arg(interval(check.observed));
    return tr("согласуется (ДИ %1)").arg(interval(check.observed));
}

QString ReportTexts::footerLeft(const LogSummary &log)
{
    return tr("Velmira · %1 · журнал %2 · отчёт составлен %3")
        .arg(programVersion(log), logFileName(log), written(log));
}

QString ReportTexts::footerRight(int page, int pages)
{
    return tr("Страница %1 из %2").arg(page).arg(pages);
}

QString ReportTexts::documentTitle()
{
    return tr("Статистика клиники: отчёт о таблицах вероятности установки мочеточникового кожуха");
}
