#include "checkpage.h"

#include "calibrationplot.h"
#include "reportpage.h"
#include "reporttexts.h"
#include "tablechecktexts.h"
#include "texttable.h"

namespace {

const QString Missing = QStringLiteral("—");

QString optionalEstimate(const std::optional<Estimate> &estimate)
{
    return estimate ? TableCheckTexts::estimateText(*estimate) : Missing;
}

QString optionalFraction(const std::optional<double> &value)
{
    return value ? TableCheckTexts::fractionText(*value) : Missing;
}

} // namespace

CheckPage::CheckPage(const TablesValidation &validation) : m_validation(validation) { }

QString CheckPage::title()
{
    return tr("Проверка таблиц");
}

const TableCheck &CheckPage::plotted(const TablesValidation &validation)
{
    if (validation.heldOut)
        return validation.heldOut->check;
    if (validation.crossValidated)
        return *validation.crossValidated;
    return validation.apparent;
}

QString CheckPage::plottedName(const TablesValidation &validation)
{
    if (validation.heldOut)
        return tr("на отложенных случаях с %1")
            .arg(validation.heldOut->since.toString(QStringLiteral("dd.MM.yyyy")));
    if (validation.crossValidated)
        return tr("перекрёстная проверка, %1 блоков").arg(TablesValidation::Folds);
    return tr("на тех же случаях, оптимистично");
}

void CheckPage::draw(ReportPage &page) const
{
    page.heading(title());
    drawIntroduction(page);
    drawPlot(page);
    drawFigures(page);
    drawBounds(page);
    page.skip(1.5);
    page.paragraph(TableCheckTexts::methods(plotted(m_validation)).trimmed(), 7.0);
}

void CheckPage::drawIntroduction(ReportPage &page) const
{
    page.paragraph(tr("Таблицы построены из этого же журнала, поэтому их цифры «на тех же "
                      "случаях» оптимистичны: таблицы подогнаны к этим случаям. Перекрёстная "
                      "проверка делит случаи на %1 блоков и даёт каждому случаю цифру таблиц, "
                      "построенных без его блока: так таблицы судятся по случаям, которых не "
                      "видели.")
                       .arg(TablesValidation::Folds));
    if (m_validation.heldOut)
        page.paragraph(TableCheckTexts::heldOutSplit(*m_validation.heldOut).trimmed());
}

void CheckPage::drawPlot(ReportPage &page) const
{
    const CalibrationPlot plot(plotted(m_validation));
    page.subheading(tr("Калибровка: %1").arg(plottedName(m_validation)));
    plot.draw(page.painter(), page.take(100.0));
    page.paragraph(plot.legend(), 7.5);
}

QVector<const TableCheck *> CheckPage::columnChecks() const
{
    QVector<const TableCheck *> checks {&m_validation.apparent,
                                        m_validation.crossValidated ? &*m_validation.crossValidated
                                                                    : nullptr};
    if (m_validation.heldOut)
        checks.append(&m_validation.heldOut->check);
    return checks;
}

void CheckPage::addRow(TextTable &table, const QString &label, const Figure &figure) const
{
    QStringList cells {label};
    for (const TableCheck *check : columnChecks())
        cells.append(check ? figure(*check) : Missing);
    table.addRow(cells);
}

void CheckPage::drawFigures(ReportPage &page) const
{
    page.subheading(tr("Показатели"));
    QStringList titles {tr("На тех же случаях"), tr("Перекрёстная проверка")};
    if (m_validation.heldOut)
        titles << tr("Отложенные случаи");
    const double labelWidth = 0.37;
    QVector<TextTable::Column> columns {{tr("Показатель"), labelWidth, Qt::AlignLeft}};
    for (const QString &title : titles)
        columns.append({title, (1.0 - labelWidth) / titles.size(), Qt::AlignHCenter});
    TextTable table(columns, 8.0);
    const auto number = [](int value) {
        return QString::number(value);
    };
    addRow(table, tr("Случаев"), [&](const TableCheck &c) { return number(c.cases); });
    addRow(table, tr("Установок"), [&](const TableCheck &c) { return number(c.placements); });
    addRow(table, tr("Наблюдаемая доля (95 % ДИ)"), [](const TableCheck &c) {
        return c.observed ? TableCheckTexts::rateText(*c.observed) : Missing;
    });
    addRow(table, tr("Средняя показанная цифра"), [](const TableCheck &c) {
        return c.meanFigure ? ReportTexts::percent(*c.meanFigure) : Missing;
    });
    addRow(table, tr("O/E (95 % ДИ; лучше ближе к 1)"),
           [](const TableCheck &c) { return optionalEstimate(c.oe); });
    addRow(table, tr("Сдвиг калибровки (лучше ближе к 0)"),
           [](const TableCheck &c) { return optionalEstimate(c.intercept); });
    addRow(table, tr("Наклон калибровки (лучше ближе к 1)"),
           [](const TableCheck &c) { return optionalEstimate(c.slope); });
    addRow(table, tr("Оценка Бриера (лучше меньше)"),
           [](const TableCheck &c) { return optionalFraction(c.brier); });
    addRow(table, tr("Оценка Бриера относительно постоянной цифры (лучше больше)"),
           [](const TableCheck &c) { return optionalFraction(c.brierScaled); });
    addRow(table, tr("C-статистика (лучше больше)"), [](const TableCheck &c) {
        if (!c.concordance)
            return Missing;
        return c.concordance->interval ? TableCheckTexts::estimateText(*c.concordance->interval)
                                       : TableCheckTexts::fractionText(c.concordance->value);
    });
    page.advance(table.draw(page.painter(), page.rest()));
}

QString CheckPage::boundSentence(FigureZone zone, int figure) const
{
    const ZoneRow &row = plotted(m_validation).byZone[size_t(zone)];
    const QString name = zone == FigureZone::LowerBound
        ? tr("Нижняя граница, фиксированная цифра %1 %").arg(figure)
        : tr("Верхняя граница, фиксированная цифра %1 %").arg(figure);
    if (row.observed.cases == 0)
        return tr("%1: случаев нет.").arg(name);
    const double shown = figure / 100.0;
    const bool inside = row.observed.low <= shown && shown <= row.observed.high;
    // One multi-argument call: the name's own percent sign is never taken for a placeholder.
    return tr("%1: случаев %2, установлено %3, наблюдаемая доля %4 (95 % ДИ %5) — цифра %6 %7.")
        .arg(name, QString::number(row.observed.cases), QString::number(row.observed.placed),
             ReportTexts::percent(row.observed.rate()), ReportTexts::interval(row.observed),
             ReportTexts::percent(shown), inside ? tr("в интервале") : tr("вне интервала"));
}

void CheckPage::drawBounds(ReportPage &page) const
{
    page.subheading(tr("Фиксированные границы (%1, оба кожуха)").arg(plottedName(m_validation)));
    page.paragraph(boundSentence(FigureZone::LowerBound, LowerBoundFigure));
    page.paragraph(boundSentence(FigureZone::UpperBound, UpperBoundFigure));
}
