#ifndef VELMIRA_SHEETRECORDS_H
#define VELMIRA_SHEETRECORDS_H

#include "logrecords.h"

#include "workbookreader.h"

// The current sheet of a workbook as the rows of a log.
class SheetRecords : public LogRecords {
public:
    explicit SheetRecords(WorkbookReader &workbook);

    bool readAll(QStringList &cells) override;
    bool read(const QVector<int> &fieldColumns, QVector<QString> &cells) override;
    int rowNumber() const override { return row.number; }
    QString error() const override { return workbook.error(); }

private:
    WorkbookReader &workbook;
    SheetRow row;
    // The columns asked for last, and the slot of each: asked once per sheet.
    QVector<int> fieldColumns;
    QVector<int> columns;
    QVector<int> cellSlots;
};

#endif // VELMIRA_SHEETRECORDS_H
