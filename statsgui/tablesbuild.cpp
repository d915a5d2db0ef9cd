#include "tablesbuild.h"

#include "statsrun.h"

TablesBuild::TablesBuild() : m_refusal(tr("журнал не открыт.")) { }

TablesBuild::TablesBuild(const LogReadResult &result, bool skipBadRows)
    : m_sheaths(result.evidence.sheaths)
{
    m_refusal = result.error().isEmpty() ? refusalOf(result.evidence.reading, skipBadRows)
                                         : result.error();
    if (!m_refusal.isEmpty())
        return;
    m_summary = StatsRun::summaryOf(result.evidence, result.path, skipBadRows);
    m_tables = StatsRun::tableFiles(m_summary, m_sheaths);
    if (m_tables.isEmpty())
        m_refusal = tr("ни у одного кожуха нет случаев с наименьшим диаметром между "
                       "фиксированными границами.");
}

QString TablesBuild::refusalOf(const CaseLogReading &reading, bool skipBadRows)
{
    if (reading.badRows == 0)
        return {};
    if (reading.mostRowsBad())
        return tr("с ошибками %1 строк из %2 — больше половины журнала: таблицы из меньшей его "
                  "части не были бы статистикой клиники. Исправьте журнал.")
            .arg(reading.badRows)
            .arg(reading.rowsRead);
    if (!skipBadRows)
        return tr("в журнале %1 строк с ошибками из %2. Исправьте их или постройте таблицы "
                  "без них.")
            .arg(reading.badRows)
            .arg(reading.rowsRead);
    return {};
}
