#include "summarypage.h"

#include "boundchecktexts.h"
#include "logsummarytexts.h"
#include "reportpage.h"
#include "reporttexts.h"
#include "texttable.h"

#include <algorithm>

namespace {

int countRows(const SheathEvidence &sheath, bool (FittedRow::*test)() const)
{
    return int(std::count_if(sheath.rows.cbegin(), sheath.rows.cend(),
                             [test](const FittedRow &row) { return (row.*test)(); }));
}

} // namespace

SummaryPage::SummaryPage(const LogSummary &log, const QVector<SheathEvidence> &sheaths)
    : m_log(log), m_sheaths(sheaths)
{
}

void SummaryPage::draw(ReportPage &page) const
{
    page.heading(tr("Статистика клиники: таблицы вероятности установки мочеточникового кожуха"));
    page.paragraph(tr("Отчёт о построении таблиц из журнала случаев клиники. Составлен %1, "
                      "программа %2.")
                       .arg(ReportTexts::written(m_log), ReportTexts::programVersion(m_log)));
    drawLog(page);
    drawSheaths(page);
    drawMethod(page);
    drawReading(page);
}

void SummaryPage::drawLog(ReportPage &page) const
{
    page.subheading(tr("Журнал случаев"));
    TextTable table({{QString(), 0.36, Qt::AlignLeft}, {QString(), 0.64, Qt::AlignLeft}}, 8.5);
    table.addRow({tr("Файл"), ReportTexts::logFileName(m_log)});
    table.addRow({tr("SHA-256"), QString::fromLatin1(m_log.sha256)}, 1);
    table.addRow({tr("Период"), ReportTexts::logPeriod(m_log)});
    table.addRow({tr("Строк данных прочитано"), QString::number(m_log.rowsRead)});
    table.addRow({tr("Из них неверных"), QString::number(m_log.badRows)});
    table.addRow({tr("Пропущено (--skip-bad-rows)"), LogSummaryTexts::skipped(m_log)});
    page.advance(table.draw(page.painter(), page.rest()));
    if (m_log.diametersRounded)
        page.paragraph(tr("Внимание: %1.").arg(LogSummaryTexts::roundedWarning()));
}

void SummaryPage::addRow(TextTable &table, const QString &label, const Value &value) const
{
    QStringList cells {label};
    for (const SheathEvidence &sheath : m_sheaths)
        cells.append(value(sheath));
    table.addRow(cells);
}

void SummaryPage::addCountRows(TextTable &table) const
{
    const auto number = [](int value) {
        return QString::number(value);
    };
    addRow(table, tr("Случаев в журнале"),
           [&](const SheathEvidence &s) { return number(s.allCases()); });
    addRow(table, tr("Со стриктурой (исключены, калькулятор показывает %1 %)").arg(StrictureFigure),
           [&](const SheathEvidence &s) { return number(s.strictureCases); });
    addRow(table, tr("Решены нижней границей (%1 %)").arg(LowerBoundFigure),
           [&](const SheathEvidence &s) {
               return tr("%1 (%2)").arg(number(s.lower.observed.cases),
                                        BoundCheckTexts::condition(s.lower));
           });
    addRow(table, tr("Решены верхней границей (%1 %)").arg(UpperBoundFigure),
           [&](const SheathEvidence &s) {
               return tr("%1 (%2)").arg(number(s.upper.observed.cases),
                                        BoundCheckTexts::condition(s.upper));
           });
    addRow(table, tr("В строках таблицы"),
           [&](const SheathEvidence &s) { return number(s.tableCases()); });
}

void SummaryPage::addFitRows(TextTable &table) const
{
    addRow(table, tr("Строк со своими случаями"), [](const SheathEvidence &s) {
        const int own = s.rows.size() - countRows(s, &FittedRow::isInterpolated);
        return tr("%1 из %2").arg(own).arg(s.rows.size());
    });
    addRow(table, tr("Интерполировано строк (нет своих случаев)"), [](const SheathEvidence &s) {
        return QString::number(countRows(s, &FittedRow::isInterpolated));
    });
    addRow(
        table,
        tr("Строк, ограниченных значением %1 или %2 %").arg(LowerBoundFigure).arg(UpperBoundFigure),
        [](const SheathEvidence &s) {
            return QString::number(countRows(s, &FittedRow::isClipped));
        });
    addRow(table, tr("Проверка нижней границы (%1 %)").arg(LowerBoundFigure),
           [](const SheathEvidence &s) { return ReportTexts::boundVerdict(s.lower); });
    addRow(table, tr("Проверка верхней границы (%1 %)").arg(UpperBoundFigure),
           [](const SheathEvidence &s) { return ReportTexts::boundVerdict(s.upper); });
    addRow(table, tr("Таблица"), [](const SheathEvidence &s) {
        return s.tableCases() > 0 ? statisticsFileName(s.sheath)
                                  : tr("не составлена: нет случаев в строках");
    });
}

void SummaryPage::drawSheaths(ReportPage &page) const
{
    page.subheading(tr("Размеры кожуха"));
    QVector<TextTable::Column> columns {{QString(), 0.46, Qt::AlignLeft}};
    for (const SheathEvidence &sheath : m_sheaths)
        columns.append(
            {sheathName(sheath.sheath), 0.54 / qMax(1, m_sheaths.size()), Qt::AlignLeft});
    TextTable table(columns, 8.5);
    addCountRows(table);
    addFitRows(table);
    page.advance(table.draw(page.painter(), page.rest()));
}

void SummaryPage::drawMethod(ReportPage &page) const
{
    page.subheading(tr("Как построены таблицы"));
    page.paragraph(tr("Каждый случай отнесён по правилу калькулятора: при стриктуре он исключён, "
                      "при наименьшем диаметре на фиксированной границе или за ней он проверяет "
                      "эту границу, иначе он попадает в строку своего наименьшего диаметра, "
                      "округлённого до 0.01 мм. Доля успешных установок подогнана как "
                      "неубывающая функция диаметра (изотоническая регрессия, строки взвешены "
                      "числом случаев; нарушающие порядок соседние строки объединяются в блок) и "
                      "ограничена значениями %1 и %2 %. Строка без своих случаев получает "
                      "значение, интерполированное между соседними строками. Интервалы — 95 % "
                      "доверительные интервалы Уилсона.")
                       .arg(LowerBoundFigure)
                       .arg(UpperBoundFigure),
                   8.5);
}

void SummaryPage::drawReading(ReportPage &page) const
{
    page.subheading(tr("Как читать отчёт"));
    page.paragraph(tr("На странице каждого кожуха график показывает по горизонтали наименьший "
                      "диаметр мочеточника, по вертикали долю успешных установок. Синие точки — "
                      "доля установок среди случаев строки (чем больше случаев, тем больше "
                      "площадь точки), вертикальные отрезки — её 95 % ДИ. Оранжевая линия — "
                      "модель, светлая полоса — ДИ объединённого блока строк. Чёрная ступенчатая "
                      "линия — то, что покажет калькулятор: %1 % на нижней границе и ниже, "
                      "значения таблицы между границами, %2 % на верхней границе и выше. Красные "
                      "квадраты — доля среди всех случаев за каждой границей; если фиксированное "
                      "значение лежит вне их ДИ, страница говорит об этом отдельной фразой. "
                      "Широкий ДИ или пометка «мало наблюдений» означает, что значение строки "
                      "держится на немногих случаях.")
                       .arg(LowerBoundFigure)
                       .arg(UpperBoundFigure),
                   8.5);
}
