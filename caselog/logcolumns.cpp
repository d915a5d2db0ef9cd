#include "logcolumns.h"

#include "logcells.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

struct ColumnNames {
    const char *english;
    const char *russian;
};

// In the order of LogColumn.
const std::array<ColumnNames, LogColumnCount> Names = {{{"d1", "диаметр 1"},
                                                        {"d2", "диаметр 2"},
                                                        {"d3", "диаметр 3"},
                                                        {"sheath", "кожух"},
                                                        {"stricture", "стриктура"},
                                                        {"placed", "установлен"},
                                                        {"date", "дата"}}};

// A header cell as compared with the names.
QString headerKey(const QString &headerCell)
{
    static const QString Stops = QStringLiteral(",(?");
    int end = 0;
    while (end < headerCell.size() && !Stops.contains(headerCell.at(end)))
        ++end;
    return comparableText(headerCell.left(end));
}

QString nameKey(LogColumn column, bool russian)
{
    const ColumnNames &names = Names[std::size_t(column)];
    return comparableText(QString::fromUtf8(russian ? names.russian : names.english));
}

// The edit distance of two short texts (Levenshtein), in one row of the table.
int editDistance(const QString &a, const QString &b)
{
    QVector<int> row(b.size() + 1);
    for (int j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (int i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = i;
        for (int j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min(
                {above + 1, row[j - 1] + 1, diagonal + (a.at(i - 1) == b.at(j - 1) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

QString missingColumnsError(const LogColumns &columns)
{
    QStringList missing;
    for (int i = 0; i < LogColumnCount; ++i) {
        if (isRequiredColumn(LogColumn(i)) && !columns.has(LogColumn(i)))
            missing.append(logColumnNames(LogColumn(i)));
    }
    if (missing.isEmpty())
        return {};
    return LogColumns::tr("в заголовке журнала нет столбца: %1.")
        .arg(missing.join(QStringLiteral("; ")));
}

} // namespace

QString logColumnName(LogColumn column)
{
    return QString::fromUtf8(Names[std::size_t(column)].english);
}

QString logColumnNames(LogColumn column)
{
    return LogColumns::tr("%1 (или «%2»)")
        .arg(logColumnName(column), QString::fromUtf8(Names[std::size_t(column)].russian));
}

bool isRequiredColumn(LogColumn column)
{
    return column != LogColumn::Date;
}

std::optional<LogColumn> columnNamed(const QString &headerCell)
{
    const QString key = headerKey(headerCell);
    for (int i = 0; i < LogColumnCount; ++i) {
        if (key == nameKey(LogColumn(i), false) || key == nameKey(LogColumn(i), true))
            return LogColumn(i);
    }
    return std::nullopt;
}

int nameDistance(const QString &headerCell, LogColumn column)
{
    const QString key = headerKey(headerCell);
    return std::min(editDistance(key, nameKey(column, false)),
                    editDistance(key, nameKey(column, true)));
}

bool isCloseToName(const QString &headerCell, LogColumn column)
{
    const QString key = headerKey(headerCell);
    for (bool russian : {false, true}) {
        const QString name = nameKey(column, russian);
        if (editDistance(key, name) <= std::max(1, int(name.size()) / 3))
            return true;
    }
    return false;
}

QString columnLetter(int field)
{
    QString letters;
    for (int n = field + 1; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(QLatin1Char('A').unicode() + (n - 1) % 26));
    return letters;
}

LogColumnsResult findLogColumns(const QStringList &headerFields)
{
    LogColumnsResult result;
    LogColumns &columns = result.columns;
    columns.field.fill(-1);
    columns.fieldColumns.fill(-1, int(headerFields.size()));
    for (int field = 0; field < headerFields.size(); ++field) {
        const std::optional<LogColumn> column = columnNamed(headerFields.at(field));
        if (!column)
            continue;
        const std::size_t index = std::size_t(*column);
        // Two columns of one name: which one holds the cases cannot be guessed.
        if (columns.field[index] >= 0) {
            result.error = LogColumns::tr("столбец %1 встречается в заголовке журнала дважды "
                                          "(столбцы %2 и %3).")
                               .arg(logColumnName(*column), columnLetter(columns.field[index]),
                                    columnLetter(field));
            result.twice = true;
            return result;
        }
        columns.field[index] = field;
        columns.header[index] = headerFields.at(field).trimmed();
        columns.fieldColumns[field] = int(index);
    }
    result.error = missingColumnsError(columns);
    return result;
}
