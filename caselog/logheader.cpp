#include "logheader.h"

#include "badcelltexts.h"
#include "logcells.h"
#include "logrecords.h"

#include <algorithm>

namespace {

// Cells shown of the closest row: enough to recognise it.
constexpr int ShownCells = 12;

int requiredNamed(const LogColumns &columns)
{
    int named = 0;
    for (int i = 0; i < LogColumnCount; ++i) {
        if (isRequiredColumn(LogColumn(i)) && columns.has(LogColumn(i)))
            ++named;
    }
    return named;
}

} // namespace

LogHeader LogHeaderSearch::find(LogRecords &records)
{
    LogHeader header;
    QStringList cells;
    QStringList closest;
    int closestRow = 0;
    int closestNamed = -1;
    LogColumnsResult closestFound;
    while (records.readAll(cells) && records.rowNumber() <= HeaderSearchRows) {
        const LogColumnsResult found = findLogColumns(cells);
        // A row naming every column, or one column twice, is the header;
        // the second cannot be read, since which one holds the cases is unknown.
        if (found.error.isEmpty() || found.twice) {
            header.columns = found.columns;
            header.row = records.rowNumber();
            header.problem = found.error;
            return header;
        }
        const int named = requiredNamed(found.columns);
        if (named > closestNamed) {
            closest = cells;
            closestRow = records.rowNumber();
            closestNamed = named;
            closestFound = found;
        }
    }
    if (!records.error().isEmpty()) {
        header.problem = records.error();
    } else if (closestRow == 0 && records.rowNumber() == 0) {
        header.empty = true;
        header.problem = tr("пусто: нет ни одной строки с данными.");
    } else if (closestRow == 0) {
        header.problem = tr("в первых %1 строках нет ни одной заполненной, а заголовок журнала "
                            "должен быть среди них.")
                             .arg(HeaderSearchRows);
    } else {
        header.problem = missingProblem(closest, closestRow, closestFound, closestNamed > 0);
    }
    return header;
}

QString LogHeaderSearch::missingProblem(const QStringList &cells, int row,
                                        const LogColumnsResult &found, bool namesColumns)
{
    QString text = found.error;
    if (!namesColumns) {
        // No cell names a column: the row may be a case, whose cells are a
        // patient's, so it is told by its place and kind, never its contents.
        text += QLatin1Char('\n');
        if (looksMisdecoded(cells))
            text += tr("  строка %1 похожа на заголовок в другой кодировке: возможно, журнал "
                       "сохранён не в UTF-8, UTF-16 и не в Windows-1251. Сохраните его в UTF-8 "
                       "или прочитайте саму книгу (.xlsx, .ods).")
                        .arg(row);
        else if (looksLikeData(cells))
            text += tr("  строка %1 похожа на данные, а не на заголовок: вставьте над случаями "
                       "строку с названиями столбцов.")
                        .arg(row);
        else
            text += tr("  ни одна ячейка первых %1 строк не называет столбец журнала.")
                        .arg(HeaderSearchRows);
        // Nor are its cells close to a name: a record number "21" is one letter from "d1".
        return text;
    }
    text += QLatin1Char('\n')
        + tr("  Ближе всего к заголовку строка %1 (в первых %2 строках): %3")
              .arg(row)
              .arg(HeaderSearchRows)
              .arg(rowAsRead(cells));
    text += closeCells(cells, found.columns);
    if (looksMisdecoded(cells))
        text += QLatin1Char('\n')
            + tr("  Заголовок похож на текст в другой кодировке: возможно, журнал сохранён не в "
                 "UTF-8, UTF-16 и не в Windows-1251. Сохраните его в UTF-8 или прочитайте саму "
                 "книгу (.xlsx, .ods).");
    return text;
}

QString LogHeaderSearch::rowAsRead(const QStringList &cells)
{
    int last = int(cells.size());
    while (last > 0 && cells.at(last - 1).trimmed().isEmpty())
        --last;
    QStringList quoted;
    for (int i = 0; i < std::min(last, ShownCells); ++i)
        quoted.append(BadCellTexts::quoted(cells.at(i).trimmed()));
    if (last > ShownCells)
        quoted.append(QStringLiteral("…"));
    return quoted.join(QStringLiteral(", "));
}

// For each missing column, the cell of the row that names no column and comes
// closest to its name, when one comes close: a typing slip the keeper can fix.
QString LogHeaderSearch::closeCells(const QStringList &cells, const LogColumns &columns)
{
    QString text;
    for (int i = 0; i < LogColumnCount; ++i) {
        const LogColumn column = LogColumn(i);
        if (!isRequiredColumn(column) || columns.has(column))
            continue;
        int best = -1;
        for (int field = 0; field < cells.size(); ++field) {
            const QString &cell = cells.at(field);
            if (columns.fieldColumns.value(field, -1) >= 0 || !isCloseToName(cell, column))
                continue;
            if (best < 0 || nameDistance(cell, column) < nameDistance(cells.at(best), column))
                best = field;
        }
        if (best >= 0)
            text += QLatin1Char('\n')
                + tr("  Вместо %1 — столбец %2 %3? Название должно совпадать.")
                      .arg(logColumnNames(column), columnLetter(best),
                           BadCellTexts::quoted(cells.at(best).trimmed()));
    }
    return text;
}

// A cell that reads as a value of a column the program reads: a diameter,
// a sheath, yes or no, a date. A header holds names, not values.
bool LogHeaderSearch::looksLikeData(const QStringList &cells)
{
    for (const QString &cell : cells) {
        if (isLogDiameter(cell) || readLogSheath(cell) || readLogYesNo(cell) || readLogDate(cell))
            return true;
    }
    return false;
}

// Cyrillic text read in the wrong code page shows letters no Russian header
// has ("Р”РёР°" for UTF-8 read as 1251, "„Ё ¬" for DOS 866), capitals inside
// words (KOI8-R read as 1251), replacement characters or zero bytes.
bool LogHeaderSearch::looksMisdecoded(const QStringList &cells)
{
    static const QString Odd
        = QStringLiteral("ЂЃ‚ѓ„…†‡€‰Љ‹ЊЌЋЏђ‘’“”•–—™љ›њќћџЎўЈ¤Ґ¦§Ё©Є¬®ЇІіґµ¶·ёєјЅѕї"
                         "\uFFFD");
    int odd = 0;
    for (const QString &cell : cells) {
        for (int i = 0; i < cell.size(); ++i) {
            const QChar c = cell.at(i);
            const bool capitalInWord = i > 0 && c.isUpper() && cell.at(i - 1).isLower()
                && c.script() == QChar::Script_Cyrillic;
            if (Odd.contains(c) || c.isNull() || capitalInWord)
                ++odd;
        }
    }
    return odd >= 2;
}
