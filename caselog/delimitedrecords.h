#ifndef VELMIRA_DELIMITEDRECORDS_H
#define VELMIRA_DELIMITEDRECORDS_H

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
class DelimitedRecords {
public:
    DelimitedRecords(const QString &text, QChar delimiter);

    // The delimiter of a header line: the one of tab, semicolon and comma that
    // occurs most often outside quotes (a tab, then a semicolon, on a tie).
    static QChar headerDelimiter(const QString &text);

    bool atEnd() const { return position >= text.size(); }
    // The line on which the record read last began, the first line being 1.
    int recordLine() const { return startLine; }

    // Reads a whole record, every field: for the header.
    QStringList readAll();
    // Reads a record, keeping field i in cells[fieldColumns[i]] when fieldColumns[i] >= 0;
    // cells must have room for every slot. Cells of fields the record lacks
    // are left empty. Returns whether any field of the record held anything.
    bool read(const QVector<int> &fieldColumns, QVector<QString> &cells);

private:
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
    int line = 1;
    int startLine = 1;
};

#endif // VELMIRA_DELIMITEDRECORDS_H
