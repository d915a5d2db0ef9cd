#ifndef VELMIRA_LOGRECORDS_H
#define VELMIRA_LOGRECORDS_H

#include <QString>
#include <QStringList>
#include <QVector>

// The rows of one table of a log, as a spreadsheet numbers them: a CSV file,
// or one sheet of a workbook. Rows that hold nothing are stepped over, but
// still counted, so that every number a message gives is the one the
// spreadsheet shows.
class LogRecords {
public:
    virtual ~LogRecords() = default;

    // Reads the next row that holds anything, every cell of it: for the header.
    // False at the end.
    virtual bool readAll(QStringList &cells) = 0;
    // Reads the next row that holds anything, keeping the cell of field i in
    // cells[fieldColumns[i]] when fieldColumns[i] >= 0; cells must have room
    // for every slot, and the cells of fields the row lacks are left empty.
    // Other fields are stepped over and never copied. False at the end.
    virtual bool read(const QVector<int> &fieldColumns, QVector<QString> &cells) = 0;
    // The first field of the row read last past the header's fields, or -1
    // when it has none: in delimited text the row's cells have moved.
    virtual int extraField() const { return -1; }
    // The spreadsheet's number of the row read last, the first row being 1.
    virtual int rowNumber() const = 0;
    // Empty unless the table could not be read to its end.
    virtual QString error() const { return {}; }
};

#endif // VELMIRA_LOGRECORDS_H
