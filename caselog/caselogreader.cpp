#include "caselogreader.h"

#include "delimitedrecords.h"
#include "logcells.h"
#include "logtext.h"

#include <optional>
#include <utility>

namespace {

const QString &cellOf(const QVector<QString> &cells, LogColumn column)
{
    return cells.at(int(column));
}

} // namespace

CaseLogReader::CaseLogReader(Sink sink) : sink(std::move(sink)) { }

CaseLogReading CaseLogReader::read(const QByteArray &bytes)
{
    reading = CaseLogReading();
    const LogText log = decodeLogText(bytes);
    reading.encoding = log.encoding;
    if (!log.decoded) {
        reading.error = tr("журнал не в UTF-8, а кодировка Windows-1251 в этой сборке Qt "
                           "недоступна. Сохраните журнал в UTF-8.");
        return reading;
    }
    reading.delimiter = DelimitedRecords::headerDelimiter(log.text);
    DelimitedRecords records(log.text, reading.delimiter);
    // Judged in place: a trimmed copy of a large log would cost as much as reading it.
    if (QStringView(log.text).trimmed().isEmpty()) {
        reading.error = tr("журнал пуст: в нём нет даже строки заголовка.");
        return reading;
    }
    const LogColumnsResult found = findLogColumns(records.readAll());
    if (!found.error.isEmpty()) {
        reading.error = found.error;
        return reading;
    }
    columns = found.columns;

    QVector<QString> cells(LogColumnCount);
    LogCase logCase;
    while (!records.atEnd()) {
        if (!records.read(columns.fieldColumns, cells))
            continue; // a blank line, or one of empty fields: no row
        line = records.recordLine();
        ++reading.rowsRead;
        if (readRow(cells, logCase))
            sink(logCase);
        else
            ++reading.badRows;
    }
    return reading;
}

void CaseLogReader::noteBad(LogColumn column, const QString &cell)
{
    reading.badCells.append({line, column, columns.header[std::size_t(column)], cell});
}

void CaseLogReader::noteDate(const QDate &date)
{
    if (!reading.firstDate.isValid() || date < reading.firstDate)
        reading.firstDate = date;
    if (!reading.lastDate.isValid() || date > reading.lastDate)
        reading.lastDate = date;
}

void CaseLogReader::readDiameters(const QVector<QString> &cells, LogCase &logCase)
{
    const std::array<LogColumn, 3> diameters = {LogColumn::D1, LogColumn::D2, LogColumn::D3};
    for (std::size_t i = 0; i < diameters.size(); ++i) {
        const QString &cell = cellOf(cells, diameters[i]);
        if (isLogDiameter(cell)) // a copy of its own, so that the cell keeps its room
            logCase.diameters[i] = QStringView(cell).trimmed().toString();
        else
            noteBad(diameters[i], cell);
    }
}

// Every bad cell of the row is noted, so that one pass over the log lists all.
bool CaseLogReader::readRow(const QVector<QString> &cells, LogCase &logCase)
{
    const int badBefore = int(reading.badCells.size());
    readDiameters(cells, logCase);
    const std::optional<SheathSize> sheath = readLogSheath(cellOf(cells, LogColumn::Sheath));
    if (!sheath)
        noteBad(LogColumn::Sheath, cellOf(cells, LogColumn::Sheath));
    const std::optional<bool> stricture = readLogYesNo(cellOf(cells, LogColumn::Stricture));
    if (!stricture)
        noteBad(LogColumn::Stricture, cellOf(cells, LogColumn::Stricture));
    const std::optional<bool> placed = readLogYesNo(cellOf(cells, LogColumn::Placed));
    if (!placed)
        noteBad(LogColumn::Placed, cellOf(cells, LogColumn::Placed));
    // The date is optional, even in a log that has the column; a written one must read.
    const QString &dateCell = cellOf(cells, LogColumn::Date);
    const std::optional<QDate> date
        = dateCell.trimmed().isEmpty() ? std::optional<QDate>(QDate()) : readLogDate(dateCell);
    if (!date)
        noteBad(LogColumn::Date, dateCell);
    if (reading.badCells.size() > badBefore)
        return false;

    logCase.sheath = *sheath;
    logCase.stricture = *stricture;
    logCase.placed = *placed;
    logCase.date = *date;
    logCase.line = line;
    if (date->isValid())
        noteDate(*date);
    return true;
}
