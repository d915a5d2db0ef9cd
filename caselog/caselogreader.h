#ifndef VELMIRA_CASELOGREADER_H
#define VELMIRA_CASELOGREADER_H

#include "logcolumns.h"
#include "probabilityrule.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QString>
#include <QVector>

#include <array>
#include <functional>

// How a log writes the fraction of a diameter. A log keeps to one; a diameter
// written the other way ("2,364" among points) may be a typing of another
// unit, so its row is bad rather than read.
enum class DecimalMark { None, Point, Comma };

// One procedure of a case log, as far as the program reads it.
struct LogCase {
    // The diameter cells as written, blanks trimmed: the calculator reads the
    // same text as a user would type it.
    std::array<QString, 3> diameters;
    SheathSize sheath = SheathSize::None;
    bool stricture = false;
    bool placed = false;
    QDate date; // null when the log has no date column
    int line = 0; // in the file, the header being line 1
    // Of its diameters; None when all three are whole numbers.
    DecimalMark mark = DecimalMark::None;
};

// A cell that makes its row bad: empty where required, or unreadable.
struct BadCell {
    int line = 0;
    LogColumn column = LogColumn::D1;
    QString header; // the column's name as the log's header writes it
    QString cell; // as written
};

// What reading a log found, apart from the cases themselves.
struct CaseLogReading {
    QString error; // the log cannot be read at all; empty otherwise
    QString encoding;
    QChar delimiter;
    int rowsRead = 0; // data rows, bad ones included; blank lines are no rows
    int badRows = 0;
    QVector<BadCell> badCells; // of every bad row, in the order of the file
    QDate firstDate; // the period of the good rows, when the log has dates
    QDate lastDate;

    // The log's own decimal mark, known only once the whole log is read.
    DecimalMark mark = DecimalMark::None;

    bool hasDates() const { return firstDate.isValid(); }
    // Whether a case the sink was given counts: one whose diameters are
    // written with the log's decimal mark, or with none.
    bool keeps(const LogCase &logCase) const
    {
        return logCase.mark == DecimalMark::None || logCase.mark == mark;
    }
};

// Reads a case log from its bytes and hands each good row to a sink, so that
// a log of any length is never held as cases, and no cell of a column the
// program ignores is ever kept.
class CaseLogReader {
    Q_DECLARE_TR_FUNCTIONS(CaseLogReader)

public:
    using Sink = std::function<void(const LogCase &)>;

    explicit CaseLogReader(Sink sink);
    CaseLogReading read(const QByteArray &bytes);

private:
    bool readRow(const QVector<QString> &cells, LogCase &logCase);
    void readDiameters(const QVector<QString> &cells, LogCase &logCase);
    void noteBad(LogColumn column, const QString &cell);
    void noteDate(const QDate &date);

    Sink sink;
    LogColumns columns;
    CaseLogReading reading;
    int line = 0;
};

#endif // VELMIRA_CASELOGREADER_H
