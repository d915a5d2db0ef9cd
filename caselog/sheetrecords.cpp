#include "sheetrecords.h"

SheetRecords::SheetRecords(WorkbookReader &workbook) : workbook(workbook) { }

bool SheetRecords::readAll(QStringList &cells)
{
    if (!workbook.readRow(row))
        return false;
    cells.clear();
    for (const QString &cell : qAsConst(row.cells))
        cells.append(cell);
    return true;
}

bool SheetRecords::read(const QVector<int> &fieldColumns, QVector<QString> &cells)
{
    if (fieldColumns != this->fieldColumns) {
        this->fieldColumns = fieldColumns;
        columns.clear();
        cellSlots.clear();
        for (int field = 0; field < fieldColumns.size(); ++field) {
            if (fieldColumns.at(field) >= 0) {
                columns.append(field);
                cellSlots.append(fieldColumns.at(field));
            }
        }
    }
    if (!workbook.readRow(row, columns))
        return false;
    for (QString &cell : cells)
        cell.resize(0);
    for (int i = 0; i < cellSlots.size(); ++i)
        cells[cellSlots.at(i)] = row.cells.value(i);
    return true;
}
