#include "statisticsfile.h"

#include "statisticsrow.h"

#include <QTextStream>

#include <utility>

namespace {

const QLatin1Char FieldSeparator(',');
const QLatin1Char CommentMark('#');
// The field separator of spreadsheets saved as text on a Russian system.
const QLatin1Char SpreadsheetSeparator(';');

QStringList headerFields(const QString &line)
{
    return line.simplified().split(FieldSeparator, Qt::KeepEmptyParts);
}

// Cuts the first two fields out without building a list of all of them:
// files can be long, and the rest of the line is kept whole. Taking the line by value
// lets simplified() work in its buffer instead of copying it.
StatisticsRow dataRow(QString line)
{
    const QString simplified = std::move(line).simplified();
    const int firstComma = simplified.indexOf(FieldSeparator);
    const int secondComma = simplified.indexOf(FieldSeparator, firstComma + 1);
    if (secondComma < 0)
        return {simplified.left(firstComma), simplified.mid(firstComma + 1), QString(), 0};
    return {simplified.left(firstComma),
            simplified.mid(firstComma + 1, secondComma - firstComma - 1),
            simplified.mid(secondComma + 1), 0};
}

void noteSemicolons(StatisticsFile &file, const QString &line)
{
    if (!file.hasSemicolons)
        file.hasSemicolons = line.contains(SpreadsheetSeparator);
}

void appendRow(StatisticsFile &file, StatisticsRow row, int lineNumber)
{
    row.line = lineNumber;
    if (!isUsableRow(row.diameter, row.percentage)) {
        if (file.unusableRows++ == 0) {
            file.firstUnusableLine = lineNumber;
            file.firstUnusableRow = int(file.rows.size());
        }
        noteSemicolons(file, row.diameter);
        noteSemicolons(file, row.percentage);
    }
    if (!row.extraFields.isNull())
        ++file.rowsWithExtraFields;
    file.rows.append(std::move(row));
}

} // namespace

StatisticsFile parseStatistics(QTextStream &stream)
{
    StatisticsFile file;
    const QString header = stream.readLine();
    file.hasSemicolons = header.contains(SpreadsheetSeparator);
    const QStringList fields = headerFields(header);
    file.headerLabels = fields.mid(0, 2);
    file.extraHeaderLabels = fields.mid(2);
    for (int lineNumber = 2; !stream.atEnd(); ++lineNumber) {
        QString line = stream.readLine();
        // The comment test looks at the line as read: a blank before "#" makes it data.
        if (line.startsWith(CommentMark)) {
            file.comments.append(line.mid(1).trimmed());
            continue;
        }
        if (line.contains(FieldSeparator))
            appendRow(file, dataRow(std::move(line)), lineNumber);
        else
            noteSemicolons(file, line);
    }
    return file;
}
