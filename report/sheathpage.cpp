#include "sheathpage.h"

#include "evidenceplot.h"
#include "logsummarytexts.h"
#include "plotlegend.h"
#include "reportpage.h"
#include "reporttexts.h"
#include "rowtable.h"

#include <algorithm>

SheathPage::SheathPage(const LogSummary &log, const SheathEvidence &sheath)
    : m_log(log), m_sheath(sheath)
{
}

int SheathPage::interpolatedRows() const
{
    return int(std::count_if(m_sheath.rows.cbegin(), m_sheath.rows.cend(),
                             [](const FittedRow &row) { return row.isInterpolated(); }));
}

int SheathPage::clippedRows() const
{
    return int(std::count_if(m_sheath.rows.cbegin(), m_sheath.rows.cend(),
                             [](const FittedRow &row) { return row.isClipped(); }));
}

void SheathPage::draw(ReportPage &page) const
{
    drawTitle(page);
    if (m_sheath.tableCases() > 0)
        drawEvidence(page);
    else
        drawNoTable(page);
    drawBoundChecks(page);
    drawExclusions(page);
}

void SheathPage::drawTitle(ReportPage &page) const
{
    // A sheath size without a table is not titled with a file that is not written.
    if (m_sheath.tableCases() == 0) {
        page.heading(tr("Кожух %1").arg(sheathName(m_sheath.sheath)));
        return;
    }
    page.heading(tr("Кожух %1: таблица %2")
                     .arg(sheathName(m_sheath.sheath), statisticsFileName(m_sheath.sheath)));
    int placed = 0;
    for (const FittedRow &row : m_sheath.rows)
        placed += row.placed;
    page.paragraph(tr("Строк: %1, от %2 до %3 мм; случаев в строках: %4, установлено: %5. "
                      "Строк без своих случаев (интерполировано): %6; ограничено "
                      "фиксированными значениями: %7.")
                       .arg(m_sheath.rows.size())
                       .arg(m_sheath.rows.value(0).diameter,
                            m_sheath.rows.value(m_sheath.rows.size() - 1).diameter)
                       .arg(m_sheath.tableCases())
                       .arg(placed)
                       .arg(interpolatedRows())
                       .arg(clippedRows()));
}

void SheathPage::drawNoTable(ReportPage &page) const
{
    const SheathBounds bounds = sheathBounds(m_sheath.sheath);
    page.paragraph(tr("Таблица для кожуха %1 не составлена: в журнале нет ни одного случая с "
                      "наименьшим диаметром между фиксированными границами (больше %2 и "
                      "меньше %3), поэтому файл %4 не записывается.")
                       .arg(sheathName(m_sheath.sheath), ReportTexts::millimetres(bounds.lower),
                            ReportTexts::millimetres(bounds.upper),
                            statisticsFileName(m_sheath.sheath)),
                   10.0, true);
}

void SheathPage::drawEvidence(ReportPage &page) const
{
    EvidencePlot(m_sheath).draw(page.painter(), page.take(66.0));
    page.skip(1.0);
    page.advance(PlotLegend(m_sheath.largestRowCases()).draw(page.painter(), page.rest()));
    page.subheading(tr("Строки таблицы"));
    page.advance(RowTable(m_sheath).draw(page.painter(), page.rest()));
    page.skip(1.0);
    page.paragraph(RowTable::footnote(), 7.0);
}

void SheathPage::drawBoundChecks(ReportPage &page) const
{
    page.subheading(tr("Проверка фиксированных границ"));
    for (const BoundCheck &check : {m_sheath.lower, m_sheath.upper}) {
        page.paragraph(ReportTexts::boundTitle(check) + QStringLiteral(" — ")
                       + ReportTexts::boundObserved(check));
        const QString disagreement = ReportTexts::boundDisagreement(check);
        if (!disagreement.isEmpty())
            page.paragraph(disagreement, 8.5, true);
    }
}

void SheathPage::drawExclusions(ReportPage &page) const
{
    page.subheading(tr("Что не вошло в таблицу и почему"));
    page.paragraph(tr("Случаев со стриктурой: %1; при стриктуре калькулятор показывает 0 % при "
                      "любом диаметре, поэтому они не входят ни в таблицу, ни в проверку границ. "
                      "Решены фиксированными границами: %2 (нижняя) и %3 (верхняя); в таблицу "
                      "они не входят, их доля проверена выше.")
                       .arg(m_sheath.strictureCases)
                       .arg(m_sheath.lower.observed.cases)
                       .arg(m_sheath.upper.observed.cases));
    // One multi-argument call, so that a "%1" in the log's name is never taken
    // for a placeholder.
    page.paragraph(tr("Журнал %1 за период %2: прочитано строк данных %3, неверных %4, "
                      "пропущено %5 (для всего журнала); случаев с кожухом %6 — %7.")
                       .arg(ReportTexts::logFileName(m_log), ReportTexts::logPeriod(m_log),
                            QString::number(m_log.rowsRead), QString::number(m_log.badRows),
                            LogSummaryTexts::skipped(m_log), sheathName(m_sheath.sheath),
                            QString::number(m_sheath.allCases())));
}
