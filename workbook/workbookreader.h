#ifndef VELMIRA_WORKBOOKREADER_H
#define VELMIRA_WORKBOOKREADER_H

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>

// One row of a sheet as its cells' stored values, turned into text.
struct SheetRow {
    int number = 0; // the spreadsheet's own row number, the first row being 1
    QVector<QString> cells; // see WorkbookReader::readRow
};

// Reads the sheets of a workbook (Office Open XML .xlsx, OpenDocument .ods)
// row by row, in the workbook's order. A cell gives its stored value, never
// its display, as text:
// - a number at full precision, at most 15 significant digits, with a point
//   ("1.45" for Excel's 1.4500000000000002);
// - a date (a number with a date format, either date system; an OpenDocument
//   date value) as "yyyy-mm-dd", the day only;
// - a time alone (a time format, an OpenDocument time value) as the number
//   it stores, a fraction of a day: it is no date;
// - a logical cell as "ИСТИНА" or "ЛОЖЬ";
// - text as written: rich-text runs joined, paragraphs by a line break;
// - an error value as the spreadsheet writes it ("#N/A").
class WorkbookReader {
    Q_DECLARE_TR_FUNCTIONS(WorkbookReader)

public:
    // The most a single part of the archive, and all its parts together, may
    // inflate to: a sheet of a million cases is well below it, a ZIP bomb is
    // not. A part is parsed as it inflates, never held whole.
    static constexpr qint64 DefaultPartLimit = qint64(1) << 30;
    // Of the shared strings, which must be kept while the sheets are read:
    // a million rows with four texts each of any name a clinic writes.
    static constexpr int MaxSharedStrings = 4000000;
    static constexpr qint64 MaxSharedText = 64000000;
    // The longest text a cell may hold, Excel's own limit. A cell that
    // expands past it (repeated spaces, entities) is refused while it is read,
    // before its text can take the memory.
    static constexpr int MaxCellText = 32767;

    // Whether the bytes are a ZIP archive at all (the only container both
    // formats use); open() then tells whether it is a workbook.
    static bool isZip(const QByteArray &bytes);
    // Whether they are an OLE compound file: an old binary .xls, or a
    // workbook with a password, which Excel keeps encrypted in one. open()
    // says which, and that neither can be read.
    static bool isCompoundFile(const QByteArray &bytes);

    // The workbook in bytes, recognised by its content; nullptr with *error
    // set (in Russian, naming the part) when it cannot be read. The reader
    // shares the bytes (no copy) and keeps them as long as it needs them.
    // goOn, when given, is asked every MiB inflated; false stops the reading
    // with an error, within a sheet too.
    static std::unique_ptr<WorkbookReader> open(const QByteArray &bytes, QString *error,
                                                qint64 partLimit = DefaultPartLimit,
                                                std::function<bool()> goOn = {});
    virtual ~WorkbookReader() = default;

    // "Excel (.xlsx)" or "OpenDocument (.ods)", as the summary names the format.
    virtual QString formatName() const = 0;

    // Moves to the next sheet; false when there is none left, or on an error.
    virtual bool nextSheet() = 0;
    virtual QString sheetName() const = 0;

    // Reads the next row of the current sheet that holds anything in any
    // column. Without columns, row.cells holds every column up to its last
    // non-empty one (0 being A). With columns, row.cells[i] is the cell of
    // column columns[i]; the other cells are stepped over without being
    // turned into text, since a log's other columns may hold patients' names.
    // Returns false at the sheet's end, or on an error.
    virtual bool readRow(SheetRow &row, const QVector<int> &columns = {}) = 0;

    // Empty unless reading failed; in Russian, naming the part of the archive.
    virtual QString error() const = 0;
};

#endif // VELMIRA_WORKBOOKREADER_H
