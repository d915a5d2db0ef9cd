#ifndef VELMIRA_CASELOGREADER_H
#define VELMIRA_CASELOGREADER_H

#include "badcells.h"
#include "logcells.h"
#include "logcolumns.h"
#include "probabilityrule.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QSet>
#include <QString>
#include <QVector>

#include <array>
#include <functional>
#include <optional>

class LogRecords;

// One procedure of a case log, as far as the program reads it.
struct LogCase {
    // The diameter cells as written, blanks trimmed: the calculator reads the
    // same text as a user would type it.
    std::array<QString, 3> diameters;
    SheathSize sheath = SheathSize::None;
    bool stricture = false;
    bool placed = false;
    QDate date; // null when the log has no date column
    int line = 0; // the row's number as the spreadsheet shows it
    int sheet = 0; // its table's place in CaseLogReading::sheets
    // Of its diameters; None when all three are whole numbers.
    DecimalMark mark = DecimalMark::None;
};

// One table of a log: a CSV's only one, or a sheet of a workbook.
struct LogSheet {
    QString name; // the sheet's; empty for a CSV
    int headerRow = 0; // 0 when the table was left out
    int rowsRead = 0; // data rows, bad ones included
    QString leftOut; // why the table was not read; empty when it was
};

// What reading a log found, apart from the cases themselves.
struct CaseLogReading {
    QString error; // the log cannot be read at all; empty otherwise
    QString format; // a workbook's format; empty for delimited text
    QString encoding; // of delimited text
    QChar delimiter;
    QVector<LogSheet> sheets;
    int rowsRead = 0; // data rows, bad ones included; blank lines are no rows
    int badRows = 0;
    BadCellGroups badCells; // of every bad row, grouped
    QDate firstDate; // the period of the good rows, when the log has dates
    QDate lastDate;
    // The log's own decimal mark, known only once the whole log is read.
    DecimalMark mark = DecimalMark::None;
    // The most digits any diameter has after its mark; -1 with no diameter.
    int mostDecimals = -1;

    bool cancelled = false; // the reader's progress hook asked it to stop

    bool isWorkbook() const { return !format.isEmpty(); }
    // Tables from a minority of the log would not be the clinic's evidence:
    // then its bad rows cannot simply be left out.
    bool mostRowsBad() const { return 2 * badRows > rowsRead; }
    bool hasDates() const { return firstDate.isValid(); }
    // No diameter has more than one decimal, but the table's rows are 0.01 mm
    // apart: the log was likely saved as its cells are displayed.
    bool diametersRounded() const { return mostDecimals >= 0 && mostDecimals <= 1; }
    // Whether a case the sink was given counts: one whose diameters are
    // written with the log's decimal mark, or with none.
    bool keeps(const LogCase &logCase) const
    {
        return logCase.mark == DecimalMark::None || logCase.mark == mark;
    }
};

// Reads a case log from its bytes (delimited text, or an .xlsx or .ods
// workbook) and hands each good row to a sink, so that a log of any length is
// never held as cases, and no cell of a column the program ignores is ever kept.
// A case whose decimal mark turns out not to be the log's was handed on before
// that was known: the sink's owner asks CaseLogReading::keeps().
class CaseLogReader {
    Q_DECLARE_TR_FUNCTIONS(CaseLogReader)

public:
    using Sink = std::function<void(const LogCase &)>;
    // Told the rows read so far, every ProgressRows rows; false stops the
    // reading, which then ends with an error and cancelled set.
    using Progress = std::function<bool(int rowsRead)>;
    static constexpr int ProgressRows = 4096;

    explicit CaseLogReader(Sink sink, Progress progress = Progress());
    // The largest log read: a million cases take about 90 MB as text and far
    // less as a workbook, and reading one this large takes under 1 GB.
    static constexpr qint64 MaxLogBytes = qint64(128) << 20;
    // Reads an open log file whole, as every front end does. Nothing, with
    // *error set, when it is larger than MaxLogBytes (told before it is read)
    // or changed while it was read (its size or time): the bytes would be
    // neither the old log nor the new one.
    static std::optional<QByteArray> readWhole(QFile &file, QString *error);
    CaseLogReading read(const QByteArray &bytes);

private:
    void readText(const QByteArray &bytes);
    void readWorkbook(const QByteArray &bytes);
    void readTable(LogRecords &records, const QString &sheetName);
    void finish();

    bool readRow(const QVector<QString> &cells, LogCase &logCase);
    bool readDiameters(const QVector<QString> &cells, LogCase &logCase);
    // The group a cell of the column with the problem belongs to, in this table.
    const BadCellGroup &place(LogColumn column, CellProblem problem);
    void noteBad(LogColumn column, CellProblem problem, const QString &cell);
    void noteMark(LogColumn column, const QString &cell, const DiameterForm &form);
    void noteDate(const QDate &date);
    bool goOn();
    // Whether the table just read repeats the cases of an earlier sheet.
    QString repeatedSheet() const;

    Sink sink;
    Progress progress;
    LogColumns columns;
    CaseLogReading reading;
    BadCellGroup where; // the table and column of the cell being read
    int line = 0;
    // Diameter cells with a mark, by mark, until the log's own is known.
    std::array<BadCellGroups, 3> marked;
    std::array<int, 3> markedCells {};
    std::array<int, 3> markedGoodRows {}; // rows bad only if their mark is not the log's
    // Of each sheet of a workbook, a hash of each row's read cells: a copied
    // sheet ("Журнал (2)") would count every case twice.
    QVector<QSet<std::size_t>> sheetRows;
};

#endif // VELMIRA_CASELOGREADER_H
