// Prints a workbook's sheets and rows, as WorkbookReader reads them, as JSON
// on standard output: the oracle (workbook_oracle.py) compares them with what
// openpyxl and odfpy read from the same file.
//
//   workbook_dump FILE [PART_LIMIT]

#include "workbookreader.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

QJsonArray readSheetRows(WorkbookReader &reader)
{
    QJsonArray rows;
    SheetRow row;
    while (reader.readRow(row)) {
        QJsonArray cells;
        for (const QString &cell : qAsConst(row.cells))
            cells.append(cell);
        rows.append(
            QJsonObject {{QStringLiteral("number"), row.number}, {QStringLiteral("cells"), cells}});
    }
    return rows;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: workbook_dump FILE [PART_LIMIT]\n");
        return 2;
    }
    QFile file(arguments.at(1));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "workbook_dump: cannot read %s\n", qPrintable(arguments.at(1)));
        return 2;
    }
    const qint64 limit
        = arguments.size() > 2 ? arguments.at(2).toLongLong() : WorkbookReader::DefaultPartLimit;
    QString error;
    const auto reader = WorkbookReader::open(file.readAll(), &error, limit);
    QJsonObject result;
    if (reader) {
        result.insert(QStringLiteral("format"), reader->formatName());
        QJsonArray sheets;
        while (reader->nextSheet()) {
            const QString name = reader->sheetName();
            sheets.append(QJsonObject {{QStringLiteral("name"), name},
                                       {QStringLiteral("rows"), readSheetRows(*reader)}});
        }
        result.insert(QStringLiteral("sheets"), sheets);
        error = reader->error();
    }
    if (!error.isEmpty())
        result.insert(QStringLiteral("error"), error);
    std::fputs(QJsonDocument(result).toJson(QJsonDocument::Indented).constData(), stdout);
    return error.isEmpty() ? 0 : 1;
}
