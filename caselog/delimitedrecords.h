#ifndef VELMIRA_DELIMITEDRECORDS_H
#define VELMIRA_DELIMITEDRECORDS_H

#include "logrecords.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Walks the records of delimited text as spreadsheets write it (RFC 4180):
// fields between delimiters, a field in double quotes may hold delimiters,
// line breaks and "" for a quote; records end at LF, CR LF or CR.
//
// Only the fields the caller asks for are copied out. A log carries columns
// the program must never keep (a patient's name, a record number), so their
// cells are stepped over without being stored anywhere.
//
// A record is a row as a spreadsheet opening the file numbers it: a line
// break inside a quoted cell does not start a new one, a blank line does.
class DelimitedRecords : public LogRecords {
public:
    DelimitedRecords(const QString &text, QChar delimiter);

    // The delimiter of a header line: the one of tab, semicolon and comma that
    // occurs most often outside quotes (a tab, then a semicolon, on a tie) in
    // the first line that has any.
    static QChar headerDelimiter(const QString &text);

    bool readAll(QStringList &cells) override;
    bool read(const QVector<int> &fieldColumns, QVector<QString> &cells) override;
    int extraField() const override { return extra; }
    int rowNumber() const override { return record; }

private:
    bool atEnd() const { return position >= text.size(); }
    // Reads one record as read() does; returns whether it held anything.
    bool readRecord(const QVector<int> &fieldColumns, QVector<QString> &cells);
    // Where the unquoted part of a field from there ends: at its delimiter, a
    // line end or the end of the text.
    int fieldEnd(int from) const;
    void skipLineEnd();
    // Reads one field from position, up to its delimiter or line end; appends it
    // to *into, which the caller has emptied, when given. Returns whether the
    // field was not empty.
    bool readField(QString *into);
    void readQuoted(QString *into);

    const QString text;
    const QChar delimiter;
    int position = 0;
    int record = 0;
    int extra = -1;
};

#endif // VELMIRA_DELIMITEDRECORDS_H
