#include "statisticsfile.h"

#include <QTextStream>

#include <utility>

namespace {

const QLatin1Char FieldSeparator(',');
const QLatin1Char CommentMark('#');

QStringList firstTwoFields(const QString &line)
{
    return line.simplified().split(FieldSeparator, Qt::KeepEmptyParts).mid(0, 2);
}

// Cuts the first two fields out without building a list of all of them:
// files can be long and only two fields are kept. Taking the line by value
// lets simplified() work in its buffer instead of copying it.
StatisticsRow dataRow(QString line)
{
    const QString simplified = std::move(line).simplified();
    const int firstComma = simplified.indexOf(FieldSeparator);
    const int secondComma = simplified.indexOf(FieldSeparator, firstComma + 1);
    const int percentageLength = secondComma < 0 ? -1 : secondComma - firstComma - 1;
    return {simplified.left(firstComma), simplified.mid(firstComma + 1, percentageLength)};
}

bool isDataLine(const QString &line)
{
    // The comment test looks at the line as read: a blank before "#" makes it data.
    return !line.startsWith(CommentMark) && line.contains(FieldSeparator);
}

} // namespace

StatisticsFile parseStatistics(QTextStream &stream)
{
    StatisticsFile file;
    file.headerLabels = firstTwoFields(stream.readLine());
    while (!stream.atEnd()) {
        QString line = stream.readLine();
        if (isDataLine(line))
            file.rows.append(dataRow(std::move(line)));
    }
    return file;
}
