#ifndef VELMIRA_LOGCOLUMNS_H
#define VELMIRA_LOGCOLUMNS_H

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <optional>

// The columns of a case log that the program reads. Every other column is
// ignored and never copied anywhere.
enum class LogColumn { D1, D2, D3, Sheath, Stricture, Placed, Date };
constexpr int LogColumnCount = 7;

// The column's name as the documentation lists it and messages name it: "d1", "sheath".
QString logColumnName(LogColumn column);
// The name and its Russian equivalent, for a message about a missing column:
// "d1 (или «диаметр 1»)".
QString logColumnNames(LogColumn column);
bool isRequiredColumn(LogColumn column);
// Which column a header cell names: the text up to its first comma,
// parenthesis or question mark, so that a unit or a remark after the name
// ("Диаметр 1, мм", "Кожух (Ch)", "Установлен?") does not matter.
std::optional<LogColumn> columnNamed(const QString &headerCell);
// The distance of a header cell from the nearest of the names of a column:
// how many letters would have to change.
int nameDistance(const QString &headerCell, LogColumn column);
// Whether that distance is small for the name: a letter or two, a third of a long one.
bool isCloseToName(const QString &headerCell, LogColumn column);
// A spreadsheet's letters of a column, the first being 0: "A", "Z", "AA".
QString columnLetter(int field);

// Where each column stands in the header, as found by its name (English or
// Russian, case and blanks ignored, in any order).
// Its texts are the messages about the header.
struct LogColumns {
    Q_DECLARE_TR_FUNCTIONS(LogColumns)

public:
    std::array<int, LogColumnCount> field {}; // -1 when absent
    std::array<QString, LogColumnCount> header; // the header's own text of the column
    QVector<int> fieldColumns; // per header field: the column it is, or -1

    int fieldOf(LogColumn column) const { return field[std::size_t(column)]; }
    bool has(LogColumn column) const { return fieldOf(column) >= 0; }
};

struct LogColumnsResult {
    LogColumns columns;
    QString error; // empty when every required column is there, each once
    bool twice = false; // the error is a column named twice
};

LogColumnsResult findLogColumns(const QStringList &headerFields);

#endif // VELMIRA_LOGCOLUMNS_H
