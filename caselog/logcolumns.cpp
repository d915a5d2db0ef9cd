#include "logcolumns.h"

#include "logcells.h"

#include <QCoreApplication>

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

std::optional<LogColumn> columnNamed(const QString &header)
{
    const QString key = comparableText(header);
    for (int i = 0; i < LogColumnCount; ++i) {
        if (key == comparableText(QString::fromUtf8(Names[std::size_t(i)].english))
            || key == comparableText(QString::fromUtf8(Names[std::size_t(i)].russian)))
            return LogColumn(i);
    }
    return std::nullopt;
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
            result.error = LogColumns::tr(
                               "столбец %1 встречается в заголовке журнала дважды (поля %2 и %3).")
                               .arg(logColumnName(*column))
                               .arg(columns.field[index] + 1)
                               .arg(field + 1);
            return result;
        }
        columns.field[index] = field;
        columns.header[index] = headerFields.at(field).trimmed();
        columns.fieldColumns[field] = int(index);
    }
    result.error = missingColumnsError(columns);
    return result;
}
