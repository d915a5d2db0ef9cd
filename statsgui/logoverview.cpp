#include "logoverview.h"

#include "logsummarytexts.h"

#include <QDir>
#include <QStringList>

QVector<LogOverview::Line> LogOverview::lines(const LogReadResult &result, bool skipBadRows)
{
    QVector<Line> lines {{tr("Файл"), QDir::toNativeSeparators(result.path)}};
    if (!result.error().isEmpty())
        return lines << Line(tr("Ошибка"), result.error());
    const CaseLogReading &reading = result.evidence.reading;
    lines << Line(tr("Формат"), source(reading))
          << Line(reading.isWorkbook() ? tr("Листы") : tr("Заголовок"), sheets(reading))
          << Line(tr("Строки"), rows(reading, skipBadRows)) << Line(tr("Период"), period(reading));
    if (reading.diametersRounded())
        lines << Line(tr("Внимание"), LogSummaryTexts::roundedWarning());
    return lines;
}

QString LogOverview::source(const CaseLogReading &reading)
{
    if (reading.isWorkbook())
        return reading.format;
    const QString delimiter
        = reading.delimiter == QLatin1Char('\t') ? tr("табуляция") : QString(reading.delimiter);
    return tr("текст %1, разделитель «%2»").arg(reading.encoding, delimiter);
}

QString LogOverview::sheets(const CaseLogReading &reading)
{
    if (!reading.isWorkbook())
        return tr("в строке %1").arg(reading.sheets.value(0).headerRow);
    QStringList lines;
    for (const LogSheet &sheet : reading.sheets) {
        if (sheet.leftOut.isEmpty())
            lines << tr("«%1»: заголовок в строке %2, строк %3")
                         .arg(sheet.name)
                         .arg(sheet.headerRow)
                         .arg(sheet.rowsRead);
        else
            lines << tr("«%1» не прочитан: %2").arg(sheet.name, sheet.leftOut);
    }
    return lines.join(QLatin1Char('\n'));
}

QString LogOverview::rows(const CaseLogReading &reading, bool skipBadRows)
{
    const bool skipped = skipBadRows && reading.badRows > 0 && !reading.mostRowsBad();
    return tr("прочитано %1, с ошибками %2, пропущено %3")
        .arg(reading.rowsRead)
        .arg(reading.badRows)
        .arg(skipped ? reading.badRows : 0);
}

QString LogOverview::period(const CaseLogReading &reading)
{
    if (!reading.hasDates())
        return tr("в журнале нет дат");
    const QString format = QStringLiteral("dd.MM.yyyy");
    return tr("%1 — %2").arg(reading.firstDate.toString(format), reading.lastDate.toString(format));
}
