#include "statisticswriter.h"

#include "boundchecktexts.h"
#include "logsummarytexts.h"
#include "rowcounts.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

// "1 случай", "3 случая", "212 случаев".
QString casesText(int count)
{
    const int lastTwo = count % 100;
    const int last = count % 10;
    if (last == 1 && lastTwo != 11)
        return StatisticsWriter::tr("%1 случай").arg(count);
    if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14))
        return StatisticsWriter::tr("%1 случая").arg(count);
    return StatisticsWriter::tr("%1 случаев").arg(count);
}

RowCounts rowCounts(const FittedRow &row)
{
    if (row.isInterpolated())
        return {};
    return {row.cases,
            row.placed,
            row.block.cases,
            row.block.placed,
            row.blockFrom,
            row.blockTo,
            wholePercent(row.block.low),
            wholePercent(row.block.high)};
}

QString countsLine(const LogSummary &log)
{
    return StatisticsWriter::tr("Строк в журнале: %1, с ошибками: %2, пропущено: %3")
        .arg(log.rowsRead)
        .arg(log.badRows)
        .arg(LogSummaryTexts::skipped(log));
}

QString sheathCountsLine(const SheathEvidence &e)
{
    return StatisticsWriter::tr("Кожух %1: случаев %2; со стриктурой (исключены, %3 %): %4; "
                                "наименьший диаметр %5 (%6 %): %7; %8 (%9 %): %10; "
                                "в строках таблицы: %11")
        .arg(sheathName(e.sheath))
        .arg(e.allCases())
        .arg(StrictureFigure)
        .arg(e.strictureCases)
        .arg(BoundCheckTexts::condition(e.lower))
        .arg(e.lower.figure)
        .arg(e.lower.observed.cases)
        .arg(BoundCheckTexts::condition(e.upper))
        .arg(e.upper.figure)
        .arg(e.upper.observed.cases)
        .arg(e.tableCases());
}

QStringList commentLines(const LogSummary &log, const SheathEvidence &evidence)
{
    QStringList lines {
        evidenceSummaryLine(log, evidence),
        StatisticsWriter::tr("Записано %1, velmira-stats %2, SHA-256 журнала %3")
            .arg(log.written.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")), log.version,
                 QString::fromLatin1(log.sha256)),
        countsLine(log),
        sheathCountsLine(evidence),
        BoundCheckTexts::fileLine(evidence.lower),
        BoundCheckTexts::fileLine(evidence.upper),
        StatisticsWriter::tr(
            "Столбцы после процента: случаи и установки при этом диаметре и в блоке, "
            "объединённом регрессией, диаметры блока, 95 % ДИ Уилсона блока; "
            "строка без случаев интерполирована между соседними")};
    if (log.heldOutSince.isValid())
        lines.insert(3,
                     StatisticsWriter::tr("Случаи с %1 отложены для проверки таблицы и в "
                                          "неё не вошли")
                         .arg(log.heldOutSince.toString(QStringLiteral("dd.MM.yyyy"))));
    if (log.diametersRounded)
        lines.insert(3,
                     StatisticsWriter::tr("Внимание: %1").arg(LogSummaryTexts::roundedWarning()));
    return lines;
}

} // namespace

QString evidenceSummaryLine(const LogSummary &log, const SheathEvidence &evidence)
{
    QString text
        = StatisticsWriter::tr("Статистика клиники: %1, кожух %2, журнал %3")
              .arg(casesText(evidence.tableCases()), sheathName(evidence.sheath), log.logName);
    if (log.firstDate.isValid())
        text += QStringLiteral(", %1-%2").arg(log.firstDate.toString(QStringLiteral("MM.yyyy")),
                                              log.lastDate.toString(QStringLiteral("MM.yyyy")));
    return text + StatisticsWriter::tr("; изотоническая регрессия, 95 % ДИ Уилсона");
}

QByteArray statisticsFileBytes(const LogSummary &log, const SheathEvidence &evidence)
{
    QString text
        = (QStringList {StatisticsWriter::tr("Диаметр мм"), StatisticsWriter::tr("Процент")}
           + rowCountsLabels())
              .join(QLatin1Char(','))
        + QLatin1Char('\n');
    for (const QString &comment : commentLines(log, evidence))
        text += QStringLiteral("# ") + comment + QLatin1Char('\n');
    for (const FittedRow &row : evidence.rows)
        text += row.diameter + QLatin1Char(',') + QString::number(row.percent) + QLatin1Char(',')
            + rowCountsFields(rowCounts(row)) + QLatin1Char('\n');
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}
