#ifndef VELMIRA_LOGTEXT_H
#define VELMIRA_LOGTEXT_H

#include <QByteArray>
#include <QString>

// A case log's bytes as text. Spreadsheets on a Russian system save UTF-8
// with or without a byte-order mark, UTF-16 with one ("Unicode text"), or
// plain "CSV" in the Windows code page 1251; the log must read in each
// without any preparation, so the encoding is found, never asked for.
struct LogText {
    // What keeps the text from being the log's whole: each is refused, for
    // tables from a part of the log would pass for the clinic's.
    enum class Fault {
        None,
        ZeroByte, // text holds U+0000: not a log a spreadsheet saves
        MixedEncoding, // mostly UTF-8, but with a byte sequence that is not
        Utf16WithoutMark, // one byte of each pair 0 or 4: UTF-16 with no byte-order mark
    };

    QString text;
    QString encoding; // as the summary names it: "UTF-8", "UTF-16", "Windows-1251"
    bool decoded = false; // false only when this Qt has no decoder for 1251
    Fault fault = Fault::None;
    // The text before the fault, for finding the row it is in; empty without one.
    QString beforeFault;
};

// A byte-order mark decides; without one, bytes that are valid UTF-8 are
// UTF-8, and anything else is Windows-1251, in which every byte is a letter,
// unless most multi-byte sequences are valid UTF-8 (a 1251 name typed into a
// UTF-8 log), or the bytes are UTF-16 without a mark.
LogText decodeLogText(const QByteArray &bytes);

#endif // VELMIRA_LOGTEXT_H
