// Feeds arbitrary bytes to the workbook reader as a workbook (ZIP, then XML)
// and reads every sheet and row, with every column and with chosen ones, and
// aborts when a property that must hold for every file is broken. libFuzzer
// keeps the input that made it abort.

#include "workbookreader.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Small enough that a ZIP bomb among the inputs is stopped at once.
constexpr qint64 PartLimit = 8 << 20;
// A repeated row is many rows; past this many the input has shown what it can.
constexpr int RowsToRead = 20000;

void require(bool condition, const char *what)
{
    if (condition)
        return;
    std::fprintf(stderr, "fuzz_workbook: %s\n", what);
    std::abort();
}

void readEverything(const QByteArray &bytes, const QVector<int> &columns)
{
    QString error;
    const auto reader = WorkbookReader::open(bytes, &error, PartLimit);
    require(reader || !error.isEmpty(), "no reader and no error");
    if (!reader)
        return;
    require(error.isEmpty(), "a reader and an error");
    int rows = 0;
    while (reader->nextSheet() && rows < RowsToRead) {
        SheetRow row;
        while (rows < RowsToRead && reader->readRow(row, columns)) {
            ++rows;
            require(row.number >= 1 && row.number <= 1048576, "a row number outside the sheet");
            if (columns.isEmpty()) {
                require(row.cells.size() <= 16384, "more cells than a sheet has columns");
                require(row.cells.isEmpty() || !row.cells.constLast().isEmpty(),
                        "a row that ends in an empty cell");
            } else {
                require(row.cells.size() == columns.size(), "not one cell per column asked for");
            }
            for (const QString &cell : row.cells)
                require(cell.size() <= WorkbookReader::MaxCellText, "a cell past the cell limit");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    readEverything(bytes, {});
    readEverything(bytes, {0, 2, 5, 16383, 20000});
    return 0;
}
