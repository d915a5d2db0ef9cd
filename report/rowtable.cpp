#include "rowtable.h"

#include "reporttexts.h"
#include "rowcounts.h"

namespace {

const QString Dash = QStringLiteral("—");

} // namespace

RowTable::RowTable(const SheathEvidence &sheath) : m_sheath(sheath) { }

QVector<TextTable::Column> RowTable::columns()
{
    const Qt::Alignment number = Qt::AlignRight;
    const Qt::Alignment centred = Qt::AlignHCenter;
    // Each column is at least as wide as the longest word of its title.
    return {{tr("Диаметр, мм"), 0.085, centred}, {tr("Случаев"), 0.08, number},
            {tr("Установлено"), 0.11, number},   {tr("Доля в строке, %"), 0.075, number},
            {tr("По модели, %"), 0.075, number}, {tr("95 % ДИ блока, %"), 0.085, centred},
            {tr("Блок, мм"), 0.09, centred},     {tr("Примечание"), 0.40, Qt::AlignLeft}};
}

QString RowTable::note(const FittedRow &row)
{
    if (row.isInterpolated())
        return tr("интерполировано");
    QStringList notes;
    if (row.isClipped())
        notes.append(row.block.rate() < row.fittedRate
                         ? tr("поднято до %1 % (блок %2)")
                               .arg(row.percent)
                               .arg(ReportTexts::percent(row.block.rate()))
                         : tr("снижено до %1 % (блок %2)")
                               .arg(row.percent)
                               .arg(ReportTexts::percent(row.block.rate())));
    if (row.block.cases < FewCases)
        notes.append(tr("мало наблюдений"));
    return notes.join(QStringLiteral("; "));
}

QStringList RowTable::cells(const FittedRow &row)
{
    const bool own = row.cases > 0;
    const bool pooled = row.block.cases > 0;
    const QString block = row.blockFrom == row.blockTo
        ? row.blockFrom
        : tr("%1–%2").arg(row.blockFrom, row.blockTo);
    return {row.diameter,
            QString::number(row.cases),
            QString::number(row.placed),
            own ? QString::number(wholePercent(double(row.placed) / row.cases)) : Dash,
            QString::number(row.percent),
            pooled ? tr("%1–%2").arg(wholePercent(row.block.low)).arg(wholePercent(row.block.high))
                   : Dash,
            pooled ? block : Dash,
            note(row)};
}

double RowTable::draw(QPainter &painter, const QRectF &frame) const
{
    TextTable table(columns(), 7.2);
    for (const FittedRow &row : m_sheath.rows)
        table.addRow(cells(row));
    return table.draw(painter, frame);
}

QString RowTable::footnote()
{
    return tr("«По модели» — процент в таблице, его покажет калькулятор. «Интерполировано» — у "
              "диаметра нет своих случаев, значение взято между соседними строками. «Поднято "
              "до» / «снижено до» — доля блока вне %1–%2 % ограничена фиксированным значением, "
              "чтобы вероятность не шла назад на стыке с границей. «Мало наблюдений» — в блоке "
              "меньше %3 случаев.")
        .arg(LowerBoundFigure)
        .arg(UpperBoundFigure)
        .arg(FewCases);
}
