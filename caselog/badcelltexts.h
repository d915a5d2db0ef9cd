#ifndef VELMIRA_BADCELLTEXTS_H
#define VELMIRA_BADCELLTEXTS_H

#include "badcells.h"

#include <QCoreApplication>
#include <QString>

// The bad cells as the keeper reads them: each line names the sheet, the row
// and the column's letter as the spreadsheet shows them, or a group's count
// and first rows.
class BadCellTexts {
    Q_DECLARE_TR_FUNCTIONS(BadCellTexts)

public:
    // The most lines the list takes, however big the log.
    static constexpr int MaxLines = 36;

    // The most characters of a cell a message quotes.
    static constexpr int QuotedLength = 40;

    // A cell in quotes, cut to QuotedLength with "…": a message never echoes a whole cell.
    static QString quoted(const QString &cell);
    // The group's column as the spreadsheet shows it: "E («Диаметр 1»)".
    static QString columnName(const BadCellGroup &group);
    // What a cell of the column should hold.
    static QString expected(LogColumn column);
    // Why the group's cells are bad and what to write instead.
    static QString reason(const BadCellGroup &group);
    // "лист «2025», " or nothing, then "строка 30, " when a row is given, then
    // "столбец E («Диаметр 1»)".
    static QString column(const BadCellGroup &group, int row = 0);
    // The group's first rows, with the cells unless they are empty: "5 («abc»), 9, …".
    static QString rows(const BadCellGroup &group);
    // One line, indented, ending in a line break.
    static QString line(const BadCellGroup &group);
    // The lines of all groups, at most MaxLines and a line that counts the rest.
    static QString lines(const BadCellGroups &groups);
};

#endif // VELMIRA_BADCELLTEXTS_H
