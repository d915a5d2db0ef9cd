#include "badcelltexts.h"

#include "diameter.h"
#include "logcells.h"

#include <QStringList>

namespace {

// "в 1 строке", "в 21 строке", "в 11 строках", "в 5 строках".
QString inRows(int count)
{
    if (count % 10 == 1 && count % 100 != 11)
        return BadCellTexts::tr("в %1 строке").arg(count);
    return BadCellTexts::tr("в %1 строках").arg(count);
}

QString what(CellProblem problem)
{
    switch (problem) {
    case CellProblem::Empty:
        return BadCellTexts::tr("пусто");
    case CellProblem::Unreadable:
        return BadCellTexts::tr("не читается");
    case CellProblem::OtherMark:
        return BadCellTexts::tr("другой десятичный знак");
    case CellProblem::NoSuchDate:
        return BadCellTexts::tr("несуществующая дата");
    case CellProblem::OutOfYears:
        return BadCellTexts::tr("невозможный год");
    case CellProblem::ExtraCells:
        return BadCellTexts::tr("лишние ячейки");
    }
    return {};
}

} // namespace

QString BadCellTexts::quoted(const QString &cell)
{
    if (cell.size() <= QuotedLength)
        return QStringLiteral("«%1»").arg(cell);
    return QStringLiteral("«%1…»").arg(cell.left(QuotedLength));
}

QString BadCellTexts::columnName(const BadCellGroup &group)
{
    if (group.problem == CellProblem::ExtraCells)
        return tr("%1 (правее заголовка)").arg(columnLetter(group.field));
    return QStringLiteral("%1 (%2)").arg(columnLetter(group.field), quoted(group.header));
}

QString BadCellTexts::expected(LogColumn column)
{
    switch (column) {
    case LogColumn::D1:
    case LogColumn::D2:
    case LogColumn::D3:
        return tr("нужен диаметр %1").arg(diameterRangeText());
    case LogColumn::Sheath:
        return tr("нужен кожух 10-12 или 12-14");
    case LogColumn::Stricture:
    case LogColumn::Placed:
        return tr("нужно да или нет");
    case LogColumn::Date:
        return tr("нужна дата дд.мм.гггг, дд.мм.гг или гггг-мм-дд");
    }
    return {};
}

QString BadCellTexts::reason(const BadCellGroup &group)
{
    switch (group.problem) {
    case CellProblem::Empty:
    case CellProblem::Unreadable:
        return expected(group.column);
    case CellProblem::OtherMark:
        // A comma among points may also be a thousands separator: "2,364" typed in micrometres.
        if (diameterForm(group.first.constFirst().cell).mark == DecimalMark::Comma)
            return tr("в остальных диаметрах журнала десятичная точка: запишите диаметр в мм с "
                      "точкой (запятая может отделять и тысячи: «2,364» — это 2364 мкм?)");
        return tr("в остальных диаметрах журнала десятичная запятая: запишите диаметр в мм с "
                  "запятой");
    case CellProblem::NoSuchDate:
        return tr("такого дня нет в календаре");
    case CellProblem::OutOfYears:
        return tr("год операции должен быть от %1 до %2").arg(FirstLogYear).arg(lastLogYear());
    case CellProblem::ExtraCells:
        return tr("запятая или точка с запятой в тексте без кавычек сдвинула ячейки строки: "
                  "заключите такой текст в кавычки");
    }
    return {};
}

QString BadCellTexts::column(const BadCellGroup &group, int row)
{
    QString text = tr("столбец %1").arg(columnName(group));
    if (row > 0)
        text = tr("строка %1, %2").arg(row).arg(text);
    if (!group.sheetName.isEmpty())
        text = tr("лист %1, %2").arg(quoted(group.sheetName), text);
    return text;
}

QString BadCellTexts::rows(const BadCellGroup &group)
{
    QStringList shown;
    for (const BadCell &bad : group.first) {
        shown.append(group.problem == CellProblem::Empty || group.problem == CellProblem::ExtraCells
                         ? QString::number(bad.row)
                         : QStringLiteral("%1 (%2)").arg(bad.row).arg(quoted(bad.cell)));
    }
    if (group.count > group.first.size())
        shown.append(QStringLiteral("…"));
    return shown.join(QStringLiteral(", "));
}

QString BadCellTexts::line(const BadCellGroup &group)
{
    if (group.count == 1) {
        const BadCell &bad = group.first.constFirst();
        const QString cell = group.problem == CellProblem::ExtraCells ? what(group.problem)
            : bad.cell.isEmpty()                                      ? tr("пусто")
                                                                      : quoted(bad.cell);
        return tr("  %1: %2 — %3\n").arg(column(group, bad.row), cell, reason(group));
    }
    return tr("  %1: %2 %3: %4 — %5\n")
        .arg(column(group), what(group.problem), inRows(group.count), rows(group), reason(group));
}

QString BadCellTexts::lines(const BadCellGroups &groups)
{
    QString text;
    const QVector<BadCellGroup> &all = groups.groups();
    int rest = 0;
    for (int i = 0; i < all.size(); ++i) {
        if (i < MaxLines)
            text += line(all.at(i));
        else
            rest += all.at(i).count;
    }
    if (all.size() > MaxLines)
        text += tr("  … и ещё групп: %1, в них ячеек: %2\n").arg(all.size() - MaxLines).arg(rest);
    return text;
}
