#include "caselogreader.h"

#include "delimitedrecords.h"
#include "logheader.h"
#include "logtext.h"
#include "sheetrecords.h"
#include "workbookreader.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

namespace {

const QString &cellOf(const QVector<QString> &cells, LogColumn column)
{
    return cells.at(int(column));
}

std::size_t markIndex(DecimalMark mark)
{
    return std::size_t(mark);
}

// The row, as the spreadsheet numbers it, in which text that follows this ends.
int rowAfter(const QString &before, QChar delimiter)
{
    // A letter stands in for what follows, so that its row holds something.
    DelimitedRecords records(before + QLatin1Char('x'), delimiter);
    QStringList cells;
    while (records.readAll(cells)) { }
    return std::max(1, records.rowNumber());
}

} // namespace

CaseLogReader::CaseLogReader(Sink sink, Progress progress)
    : sink(std::move(sink)), progress(std::move(progress))
{
}

std::optional<QByteArray> CaseLogReader::readWhole(QFile &file, QString *error)
{
    // Fresh looks at the file, not a cached one: a log may be saved meanwhile.
    const QFileInfo before(file.fileName());
    const QString shown = QDir::toNativeSeparators(file.fileName());
    const auto tooLarge = [&] {
        *error = tr("журнал %1 больше %2 МБ: таких журналов не бывает (миллион случаев — около "
                    "90 МБ). Проверьте, тот ли это файл.")
                     .arg(shown)
                     .arg(MaxLogBytes >> 20);
        return std::nullopt;
    };
    if (before.isFile() && before.size() > MaxLogBytes)
        return tooLarge();
    // A pipe or a device tells no size: at most one byte past the limit is read.
    QByteArray bytes = file.read(MaxLogBytes + 1);
    if (bytes.size() > MaxLogBytes)
        return tooLarge();
    if (!before.isFile())
        return bytes;
    const QFileInfo after(file.fileName());
    if (bytes.size() == before.size() && after.size() == before.size()
        && after.lastModified() == before.lastModified())
        return bytes;
    *error = tr("журнал %1 изменился, пока его читали (его сохраняли?): журнал не прочитан. "
                "Повторите, когда он будет сохранён.")
                 .arg(shown);
    return std::nullopt;
}

CaseLogReading CaseLogReader::read(const QByteArray &bytes)
{
    reading = CaseLogReading();
    marked = {};
    markedCells = {};
    markedGoodRows = {};
    sheetRows.clear();
    if (WorkbookReader::isZip(bytes) || WorkbookReader::isCompoundFile(bytes))
        readWorkbook(bytes);
    else
        readText(bytes);
    if (reading.error.isEmpty())
        finish();
    return reading;
}

void CaseLogReader::readText(const QByteArray &bytes)
{
    const LogText log = decodeLogText(bytes);
    reading.encoding = log.encoding;
    if (!log.decoded) {
        reading.error = tr("журнал не в UTF-8, а кодировка Windows-1251 в этой сборке Qt "
                           "недоступна. Сохраните журнал в UTF-8.");
        return;
    }
    // The row as the spreadsheet numbers it, of the line where a fault begins.
    const auto faultRow = [&log] {
        return rowAfter(log.beforeFault, DelimitedRecords::headerDelimiter(log.beforeFault));
    };
    switch (log.fault) {
    case LogText::Fault::None:
        break;
    case LogText::Fault::Utf16WithoutMark:
        reading.error = tr("журнал похож на текст UTF-16 без метки порядка байтов, а её пишет "
                           "каждая программа электронных таблиц. Сохраните журнал заново в UTF-8 "
                           "или как «Текст в Юникоде».");
        return;
    case LogText::Fault::ZeroByte:
        reading.error = tr("в строке %1 нулевой байт, которого в тексте не бывает: файл "
                           "повреждён. Журнал не прочитан; откройте его в программе таблиц и "
                           "сохраните заново.")
                            .arg(faultRow());
        return;
    case LogText::Fault::MixedEncoding:
        reading.error = tr("журнал в UTF-8, но в строке %1 текст в другой кодировке (вставлен из "
                           "другого файла?). Журнал не прочитан; исправьте эту строку или "
                           "сохраните журнал заново.")
                            .arg(faultRow());
        return;
    }
    // Judged in place: a trimmed copy of a large log would cost as much as reading it.
    if (QStringView(log.text).trimmed().isEmpty()) {
        reading.error = tr("журнал пуст: в нём нет даже строки заголовка.");
        return;
    }
    reading.delimiter = DelimitedRecords::headerDelimiter(log.text);
    DelimitedRecords records(log.text, reading.delimiter);
    readTable(records, QString());
    if (!reading.cancelled && !reading.sheets.constFirst().leftOut.isEmpty())
        reading.error = reading.sheets.constFirst().leftOut;
}

void CaseLogReader::readWorkbook(const QByteArray &bytes)
{
    QString error;
    // Asked within a sheet too: one sheet may take minutes to inflate.
    const std::unique_ptr<WorkbookReader> workbook = WorkbookReader::open(
        bytes, &error, WorkbookReader::DefaultPartLimit, [this] { return goOn(); });
    if (!workbook) {
        if (!reading.cancelled)
            reading.error = error;
        return;
    }
    reading.format = workbook->formatName();
    while (!reading.cancelled && reading.error.isEmpty() && workbook->nextSheet()) {
        SheetRecords records(*workbook);
        readTable(records, workbook->sheetName());
        // A cancelled sheet keeps its error: a log read in part must never pass.
        if (!reading.cancelled)
            reading.error = repeatedSheet();
    }
    if (reading.cancelled || !reading.error.isEmpty())
        return;
    if (!workbook->error().isEmpty()) {
        reading.error = workbook->error();
        return;
    }
    QString problems;
    for (const LogSheet &sheet : qAsConst(reading.sheets)) {
        if (sheet.leftOut.isEmpty())
            return;
        problems += QLatin1Char('\n') + tr("Лист «%1»: %2").arg(sheet.name, sheet.leftOut);
    }
    reading.error = tr("ни на одном листе книги нет журнала случаев.") + problems;
}

// One table: its header, then every row below it.
void CaseLogReader::readTable(LogRecords &records, const QString &sheetName)
{
    LogSheet sheet;
    sheet.name = sheetName;
    const LogHeader header = LogHeaderSearch::find(records);
    if (!header.found()) {
        sheet.leftOut = header.problem;
        reading.sheets.append(sheet);
        return;
    }
    sheet.headerRow = header.row;
    reading.sheets.append(sheet);
    columns = header.columns;
    where.sheet = int(reading.sheets.size()) - 1;
    where.sheetName = sheetName;

    QVector<QString> cells(LogColumnCount);
    LogCase logCase;
    logCase.sheet = where.sheet;
    QSet<std::size_t> *rows = nullptr;
    if (reading.isWorkbook()) {
        sheetRows.resize(reading.sheets.size());
        rows = &sheetRows.last();
    }
    while (records.read(columns.fieldColumns, cells)) {
        line = records.rowNumber();
        if (rows) {
            std::size_t hash = 0;
            for (const QString &cell : qAsConst(cells))
                hash = qHash(cell, hash);
            rows->insert(hash);
        }
        ++reading.rowsRead;
        ++reading.sheets.last().rowsRead;
        if (records.extraField() >= 0) {
            // Moved cells are not read: what stands in a read column may be a name.
            BadCellGroup extra = place(LogColumn::D1, CellProblem::ExtraCells);
            extra.field = records.extraField();
            extra.header.clear();
            reading.badCells.add(extra, line, QString());
            ++reading.badRows;
        } else if (readRow(cells, logCase))
            sink(logCase);
        else
            ++reading.badRows;
        if (reading.rowsRead % ProgressRows == 0 && !goOn())
            return;
    }
}

// A sheet whose rows all stand in another one, or the other way round (a
// backup copy made earlier or later): a few rows alike may be chance.
QString CaseLogReader::repeatedSheet() const
{
    constexpr int FewestRows = 5;
    const int last = int(sheetRows.size()) - 1;
    if (last < 1)
        return {};
    const QSet<std::size_t> &rows = sheetRows.at(last);
    for (int sheet = 0; sheet < last; ++sheet) {
        const QSet<std::size_t> &other = sheetRows.at(sheet);
        const QSet<std::size_t> &smaller = rows.size() <= other.size() ? rows : other;
        const QSet<std::size_t> &larger = rows.size() <= other.size() ? other : rows;
        if (smaller.size() < FewestRows
            || !std::all_of(smaller.cbegin(), smaller.cend(),
                            [&larger](std::size_t row) { return larger.contains(row); }))
            continue;
        return tr("лист «%1» повторяет случаи листа «%2» (копия?): в таблицах они были бы "
                  "посчитаны дважды. Удалите копию из книги или сохраните нужный лист отдельно.")
            .arg(reading.sheets.at(last).name, reading.sheets.at(sheet).name);
    }
    return {};
}

// Asks the progress hook, if any, whether to read on.
bool CaseLogReader::goOn()
{
    if (!progress || progress(reading.rowsRead))
        return true;
    reading.cancelled = true;
    reading.error = tr("чтение журнала прервано.");
    return false;
}

// The log's decimal mark is the one most of its diameters use; the rows that
// use the other one are bad after all.
void CaseLogReader::finish()
{
    const int points = markedCells[markIndex(DecimalMark::Point)];
    const int commas = markedCells[markIndex(DecimalMark::Comma)];
    if (points + commas > 0) {
        reading.mark = points >= commas ? DecimalMark::Point : DecimalMark::Comma;
        const DecimalMark other
            = reading.mark == DecimalMark::Point ? DecimalMark::Comma : DecimalMark::Point;
        reading.badRows += markedGoodRows[markIndex(other)];
        reading.badCells.addAll(marked[markIndex(other)], CellProblem::OtherMark);
    }
    reading.badCells.sort();
}

const BadCellGroup &CaseLogReader::place(LogColumn column, CellProblem problem)
{
    where.column = column;
    where.field = columns.fieldOf(column);
    where.header = columns.header[std::size_t(column)];
    where.problem = problem;
    return where;
}

void CaseLogReader::noteBad(LogColumn column, CellProblem problem, const QString &cell)
{
    reading.badCells.add(place(column, problem), line, cell);
}

// Kept aside by mark: which cells are bad is known only at the end.
void CaseLogReader::noteMark(LogColumn column, const QString &cell, const DiameterForm &form)
{
    const std::size_t mark = markIndex(form.mark);
    ++markedCells[mark];
    marked[mark].add(place(column, CellProblem::OtherMark), line, cell);
}

void CaseLogReader::noteDate(const QDate &date)
{
    if (!reading.firstDate.isValid() || date < reading.firstDate)
        reading.firstDate = date;
    if (!reading.lastDate.isValid() || date > reading.lastDate)
        reading.lastDate = date;
}

bool CaseLogReader::readDiameters(const QVector<QString> &cells, LogCase &logCase)
{
    const std::array<LogColumn, 3> diameters = {LogColumn::D1, LogColumn::D2, LogColumn::D3};
    logCase.mark = DecimalMark::None;
    bool bothMarks = false;
    for (std::size_t i = 0; i < diameters.size(); ++i) {
        const QString &cell = cellOf(cells, diameters[i]);
        if (!isLogDiameter(cell)) {
            const bool empty = QStringView(cell).trimmed().isEmpty();
            noteBad(diameters[i], empty ? CellProblem::Empty : CellProblem::Unreadable, cell);
            continue;
        }
        // A copy of its own, so that the cell keeps its room.
        logCase.diameters[i] = QStringView(cell).trimmed().toString();
        const DiameterForm form = diameterForm(cell);
        reading.mostDecimals = std::max(reading.mostDecimals, form.decimals);
        if (form.mark == DecimalMark::None)
            continue;
        noteMark(diameters[i], cell, form);
        bothMarks = bothMarks || (logCase.mark != DecimalMark::None && logCase.mark != form.mark);
        logCase.mark = form.mark;
    }
    // Two marks in one row: one of them is not the log's, whichever it is;
    // which cell is bad is listed once the log's mark is known.
    return !bothMarks;
}

// Every bad cell of the row is noted, so that one pass over the log lists all.
bool CaseLogReader::readRow(const QVector<QString> &cells, LogCase &logCase)
{
    const int badBefore = reading.badCells.cellCount();
    const bool oneMark = readDiameters(cells, logCase);
    const auto noteUnread = [this, &cells](LogColumn column) {
        const QString &cell = cellOf(cells, column);
        const bool empty = QStringView(cell).trimmed().isEmpty();
        noteBad(column, empty ? CellProblem::Empty : CellProblem::Unreadable, cell);
    };
    const std::optional<SheathSize> sheath = readLogSheath(cellOf(cells, LogColumn::Sheath));
    if (!sheath)
        noteUnread(LogColumn::Sheath);
    const std::optional<bool> stricture = readLogYesNo(cellOf(cells, LogColumn::Stricture));
    if (!stricture)
        noteUnread(LogColumn::Stricture);
    const std::optional<bool> placed = readLogYesNo(cellOf(cells, LogColumn::Placed));
    if (!placed)
        noteUnread(LogColumn::Placed);
    // The date is optional, even in a log that has the column; a written one must read.
    const QString &dateCell = cellOf(cells, LogColumn::Date);
    const std::optional<QDate> date
        = dateCell.trimmed().isEmpty() ? std::optional<QDate>(QDate()) : readLogDate(dateCell);
    if (!date)
        noteBad(LogColumn::Date,
                hasLogDateForm(dateCell) ? CellProblem::NoSuchDate : CellProblem::Unreadable,
                dateCell);
    else if (date->isValid() && !isLogYear(date->year()))
        noteBad(LogColumn::Date, CellProblem::OutOfYears, dateCell);
    if (reading.badCells.cellCount() > badBefore || !oneMark)
        return false;

    logCase.sheath = *sheath;
    logCase.stricture = *stricture;
    logCase.placed = *placed;
    logCase.date = *date;
    logCase.line = line;
    if (logCase.mark != DecimalMark::None)
        ++markedGoodRows[markIndex(logCase.mark)];
    if (date->isValid())
        noteDate(*date);
    return true;
}
