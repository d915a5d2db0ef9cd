#ifndef VELMIRA_LOGTEXT_H
#define VELMIRA_LOGTEXT_H

#include <QByteArray>
#include <QString>

// A case log's bytes as text. Spreadsheets on a Russian system save UTF-8
// with or without a byte-order mark, UTF-16 with one ("Unicode text"), or
// plain "CSV" in the Windows code page 1251; the log must read in each
// without any preparation, so the encoding is found, never asked for.
struct LogText {
    QString text;
    QString encoding; // as the summary names it: "UTF-8", "UTF-16", "Windows-1251"
    bool decoded = false; // false only when this Qt has no decoder for 1251
};

// A byte-order mark decides; without one, bytes that are valid UTF-8 are
// UTF-8, and anything else is Windows-1251, in which every byte is a letter.
LogText decodeLogText(const QByteArray &bytes);

#endif // VELMIRA_LOGTEXT_H
