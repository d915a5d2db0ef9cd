#ifndef VELMIRA_BENCHLOG_H
#define VELMIRA_BENCHLOG_H

#include <QByteArray>

// A spreadsheet's CSV on a Russian Windows: semicolons, decimal commas,
// Windows-1251, CR LF, dates, with columns the program ignores. The same
// cases for the same size on every run.
QByteArray generatedLog(int cases);

// The least any reader does: decode the bytes, then cut each line and split
// it at the delimiter, a line at a time as the reader goes. The fields counted.
qint64 readAndSplit(const QByteArray &bytes);

#endif // VELMIRA_BENCHLOG_H
