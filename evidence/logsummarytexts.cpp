#include "logsummarytexts.h"

#include "probabilityrule.h"

QString LogSummaryTexts::skipped(const LogSummary &log)
{
    if (log.skippedRows == 0 || log.rowsRead == 0)
        return QString::number(log.skippedRows);
    const int percent = wholePercent(double(log.skippedRows) / log.rowsRead);
    // A share that rounds to nothing is still some of the log.
    const QString share = percent == 0 ? tr("меньше 1 %") : tr("%1 %").arg(percent);
    return tr("%1 (%2)").arg(log.skippedRows).arg(share);
}

QString LogSummaryTexts::roundedWarning()
{
    return tr("диаметры журнала, похоже, округлены: ни у одного нет больше одного знака после "
              "запятой, а строки таблицы идут через 0.01 мм. Прочитайте саму книгу (.xlsx, .ods) "
              "или расширьте формат ячеек с диаметрами перед сохранением в CSV");
}
