#include "figureprovenance.h"
#include "outputfolder.h"
#include "probabilityrule.h"
#include "rowcounts.h"
#include "statisticsfile.h"
#include "statisticslookup.h"
#include "statisticsreader.h"
#include "velmiraversion.h"
#include "workbookreader.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QStringConverter>
#include <QStringEncoder>
#else
#include <QTextCodec>
#endif

// The built velmira-stats as a clinic runs it: the same cases in every
// dialect give the same tables, every failure says why and changes nothing,
// nothing is lost on --replace, no ignored cell leaks, and the calculator
// reads what it writes.
namespace {

using Folder = QMap<QString, QByteArray>; // file name → SHA-256 of its bytes

const QString Table1 = QStringLiteral("Statistics_1.txt");
const QString Table2 = QStringLiteral("Statistics_2.txt");
const QString Report = QStringLiteral("Statistics_report.pdf");
const QString Example = QStringLiteral(VELMIRA_DATA_DIR "/examples/synthetic-case-log-cp1251.csv");

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run runStats(const QStringList &arguments, bool withDisplayVariables = true)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!withDisplayVariables) {
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
    }
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VELMIRA_STATS_PROGRAM), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    // Windows' C runtime ends a text stream's lines with CR LF.
    const auto text = [](const QByteArray &bytes) {
        return QString::fromUtf8(bytes).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    };
    return {process.exitCode(), text(process.readAllStandardOutput()),
            text(process.readAllStandardError())};
}

Folder snapshot(const QString &path)
{
    Folder folder;
    const QFileInfoList entries = QDir(path).entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden
                                                           | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        QFile file(entry.filePath());
        folder[entry.fileName()] = file.open(QIODevice::ReadOnly)
            ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
            : QByteArray("(folder or unreadable)");
    }
    return folder;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray encoded(const QString &text, const char *encoding)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QStringEncoder encoder(encoding);
    return encoder.encode(text);
#else
    return QTextCodec::codecForName(encoding)->fromUnicode(text);
#endif
}

QString decoded1251(const QByteArray &bytes)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QStringDecoder decoder("windows-1251");
    return decoder.decode(bytes);
#else
    return QTextCodec::codecForName("Windows-1251")->toUnicode(bytes);
#endif
}

QStringList names(std::initializer_list<const char *> latin)
{
    QStringList list;
    for (const char *name : latin)
        list.append(QLatin1String(name));
    return list;
}

// A spread of cases over both tables, the bounds and strictures, from a fixed
// seed: fields d1, d2, d3, sheath, stricture, placed, with a point.
QVector<QStringList> someCases()
{
    QVector<QStringList> cases;
    quint32 state = 20261209;
    auto next = [&state](int range) {
        state = state * 1103515245u + 12345u;
        return int((state >> 8) % quint32(range));
    };
    for (int i = 0; i < 150; ++i) {
        const bool small = next(2) == 0;
        const int smallest = (small ? 1400 : 1800) + next(260);
        const QString d1 = QString::number(smallest / 1000.0, 'f', 3);
        const QString d2 = QString::number((smallest + next(500)) / 1000.0, 'f', 3);
        cases.append(
            {d2, d1, QStringLiteral("2.600"),
             small ? QStringLiteral("10-12") : QStringLiteral("12-14"),
             next(25) == 0 ? QStringLiteral("да") : QStringLiteral("нет"),
             next(100) < 30 + smallest % 200 / 3 ? QStringLiteral("да") : QStringLiteral("нет")});
    }
    return cases;
}

struct Dialect {
    QChar delimiter;
    bool decimalComma;
    const char *encoding;
    QByteArray mark;
    QString lineEnd;
    bool quoted;
    bool blankLines;
};

QByteArray logIn(const Dialect &d, const QVector<QStringList> &cases)
{
    const QStringList header
        = {QStringLiteral("Диаметр 1"), QStringLiteral("d2"),        QStringLiteral("D3"),
           QStringLiteral("Кожух"),     QStringLiteral("stricture"), QStringLiteral("Установлен")};
    QString text = header.join(d.delimiter) + d.lineEnd;
    for (QStringList fields : cases) {
        for (QString &field : fields) {
            if (d.decimalComma)
                field.replace(QLatin1Char('.'), QLatin1Char(','));
            if (d.quoted)
                field = QLatin1Char('"') + field + QLatin1Char('"');
        }
        text += fields.join(d.delimiter) + d.lineEnd;
        if (d.blankLines)
            text += d.lineEnd + QString(5, d.delimiter) + d.lineEnd;
    }
    return d.mark + encoded(text, d.encoding);
}

// A table without the comment line that names when it was written and the
// log's checksum: the rest must not depend on the log's dialect.
QByteArray withoutWrittenLine(QByteArray table)
{
    const int start = int(table.indexOf("\n# Записано"));
    if (start >= 0)
        table.remove(start, table.indexOf('\n', start + 1) - start);
    return table;
}

// Nor the line that names the log's file: the same cases in another file.
QByteArray withoutLogName(const QByteArray &table)
{
    QByteArrayList kept;
    for (const QByteArray &line : withoutWrittenLine(table).split('\n')) {
        if (!line.startsWith("# Статистика клиники:"))
            kept.append(line);
    }
    return kept.join('\n');
}

QStringList ignoredCells(const QString &logPath)
{
    const QStringList lines = decoded1251(readBytes(logPath)).split(QStringLiteral("\r\n"));
    QStringList cells;
    for (const QString &line : lines.mid(1)) {
        const QStringList fields = line.split(QLatin1Char(';'));
        if (fields.size() > 3)
            cells << fields.at(0) << fields.at(1) << fields.at(3);
    }
    cells.removeDuplicates();
    return cells;
}

// The 300 rows LibreOffice Calc wrote (tests/workbooks/calc/log.xlsx), a
// record number before them and a surgeon after, as a clinic's log has.
struct ClinicLog {
    QVector<QStringList> rows; // the header first
    QStringList secrets; // every cell of a column the program does not read
};

ClinicLog clinicLog()
{
    ClinicLog log;
    QString error;
    const QByteArray bytes = readBytes(QStringLiteral(VELMIRA_WORKBOOKS_DIR "/calc/log.xlsx"));
    const std::unique_ptr<WorkbookReader> workbook = WorkbookReader::open(bytes, &error);
    if (!workbook || !workbook->nextSheet())
        return log;
    const QStringList surgeons = {QStringLiteral("Громов А.В."), QStringLiteral("Лебедева Е.Н."),
                                  QStringLiteral("Орлов П.С.")};
    SheetRow row;
    while (workbook->readRow(row)) {
        QStringList cells(row.cells.cbegin(), row.cells.cend());
        while (cells.size() < 9)
            cells.append(QString());
        const bool header = log.rows.isEmpty();
        const int number = int(log.rows.size());
        cells.prepend(header ? QStringLiteral("№ истории")
                             : QStringLiteral("И-%1").arg(24000 + number));
        cells.append(header ? QStringLiteral("Хирург") : surgeons.at(number % 3));
        if (!header) {
            // Record number, patient, note (its lines too), surgeon.
            for (int field : {0, 2, 9, 10})
                log.secrets += cells.at(field).split(QLatin1Char('\n'));
        }
        log.rows.append(cells);
    }
    log.secrets.removeAll(QString());
    log.secrets.removeDuplicates();
    return log;
}

// The rows as a spreadsheet saves them with semicolons, quoted where needed.
QString csvText(const QVector<QStringList> &rows)
{
    QString text;
    for (const QStringList &row : rows) {
        QStringList fields;
        for (const QString &cell : row) {
            const bool quote = cell.contains(QLatin1Char(';')) || cell.contains(QLatin1Char('"'))
                || cell.contains(QLatin1Char('\n'));
            fields.append(
                quote ? QLatin1Char('"')
                        + QString(cell).replace(QLatin1String("\""), QLatin1String("\"\""))
                        + QLatin1Char('"')
                      : cell);
        }
        text += fields.join(QLatin1Char(';')) + QLatin1Char('\n');
    }
    return text;
}

} // namespace

class StatsCommandTest : public QObject {
    Q_OBJECT

private slots:
    void dialectsGiveTheSameTables_data();
    void dialectsGiveTheSameTables();
    void spreadsheetFiles_data();
    void spreadsheetFiles();
    void failuresChangeNothing_data();
    void failuresChangeNothing();
    void replaceKeepsThePreviousFiles();
    void aFailedWritePutsEverythingBack();
    void skippedRowsAreCountedAndListed_data();
    void skippedRowsAreCountedAndListed();
    void aSheathWithoutCasesKeepsItsFile();
    void ignoredColumnsNeverLeak();
    void noPatientInAnyMessage_data();
    void noPatientInAnyMessage();
    void calculatorReadsTheWrittenTables();
    void checkWritesEveryFigure();
    void holdoutChecksOnTheLaterCases();
    void answersWithoutDisplay_data();
    void answersWithoutDisplay();
    void installPutsTablesWhereTheCalculatorReads_data();
    void installPutsTablesWhereTheCalculatorReads();
    void countsThatContradictTheirRow_data();
    void countsThatContradictTheirRow();
    void releasesRecordEachInstallAndGoBack();
};

void StatsCommandTest::dialectsGiveTheSameTables_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("commas, points, UTF-8, LF") << 0;
    QTest::newRow("semicolons, decimal commas, Windows-1251, CR LF") << 1;
    QTest::newRow("tabs, UTF-16 with a mark, CR LF") << 2;
    QTest::newRow("UTF-8 with a mark, quoted fields, blank lines") << 3;
    QTest::newRow("semicolons, UTF-8, quoted decimal commas, CR LF, blank lines") << 4;
}

void StatsCommandTest::dialectsGiveTheSameTables()
{
    QFETCH(int, index);
    const QString crlf = QStringLiteral("\r\n");
    const QString lf = QStringLiteral("\n");
    const QVector<Dialect> dialects = {
        {QLatin1Char(','), false, "UTF-8", {}, lf, false, false},
        {QLatin1Char(';'), true, "Windows-1251", {}, crlf, false, false},
        {QLatin1Char('\t'), false, "UTF-16LE", QByteArray("\xFF\xFE"), crlf, false, false},
        {QLatin1Char(','), false, "UTF-8", QByteArray("\xEF\xBB\xBF"), lf, true, true},
        {QLatin1Char(';'), true, "UTF-8", {}, crlf, true, true},
    };
    const QVector<QStringList> cases = someCases();
    QTemporaryDir dir;
    QByteArrayList tables;
    for (int i : {0, index}) {
        const QString folder = dir.filePath(QString::number(tables.size()));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeFile(folder + QStringLiteral("/cases.csv"), logIn(dialects[i], cases)));
        const Run run
            = runStats({QStringLiteral("--output"), folder, folder + QStringLiteral("/cases.csv")});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.exitCode, 0);
        for (const QString &name : {Table1, Table2})
            tables.append(withoutWrittenLine(readBytes(folder + QLatin1Char('/') + name)));
    }
    QVERIFY(tables.at(0).contains("\n1.50,"));
    QCOMPARE(tables.at(2), tables.at(0));
    QCOMPARE(tables.at(3), tables.at(1));
}

// Files LibreOffice Calc wrote from one log (tests/workbooks/calc): the
// workbooks and every CSV dialect give the tables of the .xlsx, and what the
// command says points to a sheet, row and column the keeper can find.
void StatsCommandTest::spreadsheetFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("sameTables");
    QTest::addColumn<QStringList>("said");

    for (const char *file :
         {"calc/log.ods", "calc/log-format-0.00.xlsx", "calc/log-utf8-comma-point.csv",
          "calc/log-utf8-semicolon.csv", "calc/log-utf8-tab.csv", "calc/log-cp1251-semicolon.csv",
          "calc/log-utf16-tab.csv"})
        QTest::newRow(file) << QString::fromLatin1(file) << 0 << true
                            << QStringList {QStringLiteral("строк 300, с ошибками 0")};
    for (const char *file : {"calc/log-title.xlsx", "calc/log-title.ods", "calc/log-title.csv"})
        QTest::newRow(file) << QString::fromLatin1(file) << 0 << true
                            << QStringList {QStringLiteral("аголовок в строке 3")};
    for (const char *file : {"calc/log-per-year.xlsx", "calc/log-per-year.ods"})
        QTest::newRow(file) << QString::fromLatin1(file) << 0 << true
                            << QStringList {QStringLiteral("Лист «2024»: заголовок в строке 1, "
                                                           "строк 145.\nЛист «2025»: заголовок "
                                                           "в строке 1, строк 155.\nЛист «Сводка» "
                                                           "не прочитан: в заголовке журнала нет")};
    QTest::newRow("saved as shown with one decimal: rounded")
        << QStringLiteral("calc/log-shown-0.0.csv") << 0 << false
        << QStringList {QStringLiteral("Внимание: диаметры журнала, похоже, округлены"),
                        QStringLiteral("# Внимание: диаметры журнала, похоже, округлены")};
    QTest::newRow("a sheet and its copy: refused, not counted twice")
        << QStringLiteral("copied_sheet.xlsx") << 2 << false
        << QStringList {QStringLiteral("лист «Журнал (2)» повторяет случаи листа «Журнал»")};
    QTest::newRow("a row past the sheet's last: refused, not dropped")
        << QStringLiteral("rows_past_end.xlsx") << 2 << false
        << QStringList {QStringLiteral("строка с номером 1048577")};
    QTest::newRow("bad cells in the second sheet")
        << QStringLiteral("message-cells.xlsx") << 3 << false
        << QStringList {QStringLiteral("строк с ошибками: 13 из 59."),
                        QStringLiteral("  лист «2025», столбец D («Стриктура»): пусто в 11 "
                                       "строках: 10, 11, 12, 13, 14, … — нужно да или нет\n"),
                        QStringLiteral("  лист «2025», строка 30, столбец E («Диаметр 1»): «abc» "
                                       "— нужен диаметр от 0.5 до 10 мм\n"),
                        QStringLiteral("  лист «2025», строка 35, столбец A («Дата»): "
                                       "«31.02.2024» — такого дня нет в календаре\n")};
}

void StatsCommandTest::spreadsheetFiles()
{
    QFETCH(QString, file);
    QFETCH(int, exitCode);
    QFETCH(bool, sameTables);
    QFETCH(QStringList, said);

    QTemporaryDir dir;
    QByteArrayList tables;
    for (const QString &log : {QStringLiteral("calc/log.xlsx"), file}) {
        const QString folder = dir.filePath(QString::number(tables.size()));
        QVERIFY(QDir().mkpath(folder));
        const Run run = runStats(
            {QStringLiteral("--output"), folder, QStringLiteral(VELMIRA_WORKBOOKS_DIR "/") + log});
        QCOMPARE(run.exitCode, log == file ? exitCode : 0);
        const QByteArray table = readBytes(folder + QLatin1Char('/') + Table1);
        for (const QString &text : said) {
            if (log == file)
                QVERIFY2(run.out.contains(text) || run.err.contains(text)
                             || QString::fromUtf8(table).contains(text),
                         qPrintable(text + QLatin1Char('\n') + run.out + run.err));
        }
        for (const QString &name : {Table1, Table2})
            tables.append(withoutLogName(readBytes(folder + QLatin1Char('/') + name)));
    }
    QVERIFY(tables.at(0).contains("\n1.50,"));
    QCOMPARE(tables.at(2) == tables.at(0) && tables.at(3) == tables.at(1), sameTables);
}

void StatsCommandTest::failuresChangeNothing_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("reason");

    QTest::newRow("bad rows") << "bad rows" << 3
                              << QStringLiteral("строка 4, столбец B («d2»): «14»");
    QTest::newRow("missing column")
        << "missing column" << 2 << QStringLiteral("placed (или «установлен»)");
    QTest::newRow("no such log") << "no such log" << 2
                                 << QStringLiteral("нет: такого файла не найдено");
    QTest::newRow("no case between the bounds")
        << "no case" << 4 << QStringLiteral("ничего не записано");
    QTest::newRow("existing files, no --replace")
        << "existing" << 5 << QStringLiteral("уже есть Statistics_1.txt");
    QTest::newRow("a folder under a table's name")
        << "folder in the way" << 5 << QStringLiteral("не файл");
#ifndef Q_OS_WIN
    // QFile::link makes a shortcut on Windows, not a link the system follows.
    QTest::newRow("a dangling link under a table's name")
        << "link in the way" << 5 << QStringLiteral("ссылка на другой файл");
#endif
    QTest::newRow("a folder another program is writing")
        << "locked" << 6 << QStringLiteral("изменяет другая программа: tst_statscommand (процесс");
    QTest::newRow("no output folder") << "no folder" << 5 << QStringLiteral("Создайте её");
    QTest::newRow("output is a file") << "file as folder" << 5 << QStringLiteral("не папка");
    QTest::newRow("unwritable folder") << "unwritable" << 5 << QStringLiteral("записать");
    QTest::newRow("unknown option")
        << "unknown option" << 1 << QStringLiteral("неизвестный параметр «force»");
    QTest::newRow("--check, bad rows")
        << "check bad rows" << 3 << QStringLiteral("строка 4, столбец B («d2»): «14»");
    QTest::newRow("--check, no such log")
        << "check no such log" << 2 << QStringLiteral("нет: такого файла не найдено");
    QTest::newRow("--check, no tables folder")
        << "check no tables" << 1 << QStringLiteral("папки таблиц");
    QTest::newRow("--check, a folder without tables")
        << "check empty folder" << 4 << QStringLiteral("нет ни одной таблицы");
    QTest::newRow("--check, JSON into a missing folder")
        << "check json nowhere" << 5 << QStringLiteral("не записан: такой папки нет");
    QTest::newRow("--json without --check")
        << "json without check" << 1 << QStringLiteral("только вместе с --check");
    QTest::newRow("--tables without a folder")
        << "tables without value" << 1 << QStringLiteral("после --tables нужно указать");
    QTest::newRow("--compare without --check")
        << "compare without check" << 1 << QStringLiteral("только вместе с --check");
    QTest::newRow("--check, no folder to compare")
        << "check no compare" << 1 << QStringLiteral("папки таблиц");
    QTest::newRow("--holdout-since, a log without dates")
        << "holdout" << 4 << QStringLiteral("в журнале нет дат");
    QTest::newRow("--holdout-since, no case from the date on")
        << "holdout dated" << 4 << QStringLiteral("одна из частей пуста");
    QTest::newRow("--holdout-since, no such day")
        << "holdout no such day" << 1 << QStringLiteral("нужна дата");
    QTest::newRow("--holdout-since with --check")
        << "holdout check" << 1 << QStringLiteral("укажите одно из двух");
}

void StatsCommandTest::failuresChangeNothing()
{
    QFETCH(QString, scenario);
    QFETCH(int, exitCode);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out"));
    const QString log = dir.filePath(QStringLiteral("cases.csv"));
    QVERIFY(QDir().mkpath(out));
    QByteArray bytes(
        "d1,d2,d3,sheath,stricture,placed\n1.5,1.6,2,10-12,no,yes\n1.9,2,2,12-14,no,no\n");
    QStringList arguments = {QStringLiteral("--output"), out, log};
    QLockFile lock(out + QStringLiteral("/.velmira-stats.lock"));
    if (scenario == QLatin1String("bad rows"))
        bytes += "1.5,14,2,10-12,no,yes\n";
    else if (scenario == QLatin1String("missing column"))
        bytes.replace(",placed", ",outcome");
    else if (scenario == QLatin1String("no such log"))
        arguments.last() += QStringLiteral(".missing");
    else if (scenario == QLatin1String("no case"))
        bytes = "d1,d2,d3,sheath,stricture,placed\n1.3,2,2,10-12,no,yes\n1.9,2,2,12-14,yes,no\n";
    else if (scenario == QLatin1String("existing"))
        QVERIFY(writeFile(out + QLatin1Char('/') + Table1, "the clinic's own\n"));
    else if (scenario == QLatin1String("folder in the way"))
        QVERIFY(QDir(out).mkdir(Report));
    else if (scenario == QLatin1String("link in the way")) {
        QVERIFY(QFile::link(QStringLiteral("../victim.txt"), out + QLatin1Char('/') + Table1));
        arguments.prepend(QStringLiteral("--replace"));
    } else if (scenario == QLatin1String("locked")) {
        QVERIFY(lock.lock());
        arguments.prepend(QStringLiteral("--replace"));
    } else if (scenario == QLatin1String("no folder"))
        arguments[1] += QStringLiteral("/missing");
    else if (scenario == QLatin1String("file as folder"))
        arguments[1] = log;
    else if (scenario == QLatin1String("unknown option"))
        arguments.prepend(QStringLiteral("--force"));
    else if (scenario.startsWith(QLatin1String("check"))) {
        // The tables are read from the output folder, the JSON would go there.
        const QString json = scenario == QLatin1String("check json nowhere")
            ? out + QStringLiteral("/missing/check.json")
            : out + QStringLiteral("/check.json");
        arguments = QStringList {QStringLiteral("--check"),
                                 QStringLiteral("--tables"),
                                 out,
                                 QStringLiteral("--json"),
                                 json,
                                 log};
        // Tables in the folder, but for the one scenario about their absence.
        if (scenario != QLatin1String("check empty folder"))
            QVERIFY(QFile::copy(QStringLiteral(VELMIRA_SOURCE_DIR "/data/Statistics_1.txt"),
                                out + QLatin1Char('/') + Table1));
        if (scenario == QLatin1String("check bad rows"))
            bytes += "1.5,14,2,10-12,no,yes\n";
        else if (scenario == QLatin1String("check no such log"))
            arguments.last() += QStringLiteral(".missing");
        else if (scenario == QLatin1String("check no tables"))
            arguments[2] += QStringLiteral("/missing");
        else if (scenario == QLatin1String("check no compare"))
            arguments << QStringLiteral("--compare") << out + QStringLiteral("/missing");
    } else if (scenario == QLatin1String("compare without check"))
        arguments << QStringLiteral("--compare") << out;
    else if (scenario.startsWith(QLatin1String("holdout"))) {
        const QString date = scenario == QLatin1String("holdout no such day")
            ? QStringLiteral("31.02.2026")
            : QStringLiteral("01.01.2026");
        arguments << QStringLiteral("--holdout-since") << date;
        if (scenario == QLatin1String("holdout dated"))
            bytes = "d1,d2,d3,sheath,stricture,placed,date\n1.5,1.6,2,10-12,no,yes,01.02.2025\n"
                    "1.9,2,2,12-14,no,no,\n";
        else if (scenario == QLatin1String("holdout check"))
            arguments << QStringLiteral("--check");
    } else if (scenario == QLatin1String("json without check"))
        arguments
            = QStringList {QStringLiteral("--json"), out + QStringLiteral("/check.json"), log};
    else if (scenario == QLatin1String("tables without value"))
        arguments = QStringList {QStringLiteral("--check"), log, QStringLiteral("--tables")};
    else if (scenario == QLatin1String("unwritable")) {
        QVERIFY(QFile::setPermissions(out, QFile::ReadOwner | QFile::ExeOwner));
        // Permissions do not bind root, but no one creates files in /proc: the
        // write itself fails then, after the folder passed its check.
        if (QFileInfo(out).isWritable())
            arguments[1] = QStringLiteral("/proc");
    }
    QVERIFY(writeFile(log, bytes));
    const Folder before = snapshot(out);
    const Folder logFolder = snapshot(dir.path());

    const Run run = runStats(arguments);
    QFile::setPermissions(out, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY2(run.err.contains(reason), qPrintable(run.err));
    QVERIFY(run.err.startsWith(QStringLiteral("velmira-stats: ")));
    QCOMPARE(run.out, QString());
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(snapshot(out), before);
    QCOMPARE(snapshot(dir.path()), logFolder);
    if (scenario == QLatin1String("unwritable"))
        QVERIFY(!QFileInfo::exists(QDir(arguments[1]).filePath(Table1)));
}

void StatsCommandTest::replaceKeepsThePreviousFiles()
{
    QTemporaryDir dir;
    const QStringList arguments
        = {QStringLiteral("--output"), dir.path(), QStringLiteral("--replace"), Example};
    QCOMPARE(runStats(arguments).exitCode, 0);
    const Folder first = snapshot(dir.path());
    QCOMPARE(first.keys(), (QStringList {Table1, Table2, Report}));

    const QDateTime time(QDate(2026, 1, 2), QTime(3, 4, 5));
    for (const QString &name : first.keys()) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::ReadWrite)
                && file.setFileTime(time, QFileDevice::FileModificationTime));
    }
    QVERIFY(writeFile(dir.filePath(Table2), "the clinic's own\n"));
    {
        QFile file(dir.filePath(Table2));
        QVERIFY(file.open(QIODevice::ReadWrite)
                && file.setFileTime(time, QFileDevice::FileModificationTime));
    }
    const Run run = runStats(arguments);
    QCOMPARE(run.exitCode, 0);
    const Folder second = snapshot(dir.path());
    QCOMPARE(second.size(), 6);
    const QString stamp = QStringLiteral(".2026-01-02T03-04-05");
    QCOMPARE(second.value(QStringLiteral("Statistics_1") + stamp + QStringLiteral(".txt")),
             first.value(Table1));
    QCOMPARE(
        readBytes(dir.filePath(QStringLiteral("Statistics_2") + stamp + QStringLiteral(".txt"))),
        QByteArray("the clinic's own\n"));
    QCOMPARE(second.value(QStringLiteral("Statistics_report") + stamp + QStringLiteral(".pdf")),
             first.value(Report));
    QVERIFY(run.out.contains(QStringLiteral("Прежний Statistics_2.txt сохранён как Statistics_2")
                             + stamp));
}

// The second file cannot be written (its folder does not exist): the first,
// already replaced, is put back, and its previous version is no longer kept apart.
void StatsCommandTest::aFailedWritePutsEverythingBack()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(Table1), "the clinic's own\n"));
    const Folder before = snapshot(dir.path());
    OutputFolder folder(dir.path());
    QStringList kept;
    const QString error = folder.write(
        {{Table1, "new\n"}, {QStringLiteral("missing/") + Table2, "new\n"}}, true, &kept);
    QVERIFY2(error.contains(QStringLiteral("оставлены как были")), qPrintable(error));
    QVERIFY(kept.isEmpty());
    QCOMPARE(snapshot(dir.path()), before);
}

void StatsCommandTest::skippedRowsAreCountedAndListed_data()
{
    QTest::addColumn<QByteArray>("rows");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("said");

    const QByteArray good("1.5,1.6,2,10-12,no,yes\n");
    QTest::newRow("two bad of five: skipped, with their share")
        << good + "1.5,,2,10-12,no,yes\n1.52,1.6,2,10-12,no,maybe\n" + good + good << 0
        << QStringList {
               QStringLiteral("строка 3, столбец B («d2»): пусто"),
               QStringLiteral("строка 4, столбец F («placed»): «maybe»"),
               QStringLiteral("строк 5, с ошибками 2, пропущено 2 (40 %)"),
               QStringLiteral("# Строк в журнале: 5, с ошибками: 2, пропущено: 2 (40 %)\n")};
    QTest::newRow("two bad of three: more than half, refused")
        << good + "1.5,,2,10-12,no,yes\n1.52,1.6,2,10-12,no,maybe\n"
        << 3 << QStringList {QStringLiteral("2 из 3"), QStringLiteral("больше половины")};
    QTest::newRow("a column of empty check boxes: one line, an exact count")
        << good + QByteArray("1.5,1.6,2,10-12,,yes\n").repeated(3) + good.repeated(4) << 0
        << QStringList {QStringLiteral("столбец E («stricture»): пусто в 3 строках: 3, 4, 5 — "),
                        QStringLiteral("пропущено 3 (38 %)")};
}

void StatsCommandTest::skippedRowsAreCountedAndListed()
{
    QFETCH(QByteArray, rows);
    QFETCH(int, exitCode);
    QFETCH(QStringList, said);

    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("cases.csv"));
    QVERIFY(writeFile(log, "d1,d2,d3,sheath,stricture,placed\n" + rows));
    const Run run = runStats(
        {QStringLiteral("--skip-bad-rows"), QStringLiteral("--output"), dir.path(), log});
    QCOMPARE(run.exitCode, exitCode);
    const QString table = QString::fromUtf8(readBytes(dir.filePath(Table1)));
    QCOMPARE(table.isEmpty(), exitCode != 0);
    for (const QString &text : said)
        QVERIFY2(run.err.contains(text) || run.out.contains(text) || table.contains(text),
                 qPrintable(text + QLatin1Char('\n') + run.err + run.out));
}

void StatsCommandTest::aSheathWithoutCasesKeepsItsFile()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(Table2), "the clinic's own\n"));
    QVERIFY(writeFile(
        dir.filePath(QStringLiteral("log.csv")),
        "d1;d2;d3;sheath;stricture;placed\n1,5;2;2;10-12;нет;да\n2,5;3;3;12-14;нет;да\n"));
    const Run run = runStats({QStringLiteral("--replace"), QStringLiteral("--output"), dir.path(),
                              dir.filePath(QStringLiteral("log.csv"))});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(
        run.out.contains(QStringLiteral("Кожух 12-14 Ch: в строках таблицы нет ни одного случая, "
                                        "Statistics_2.txt не записан")),
        qPrintable(run.out));
    QCOMPARE(readBytes(dir.filePath(Table2)), QByteArray("the clinic's own\n"));
    QCOMPARE(snapshot(dir.path()).keys(),
             (QStringList {QStringLiteral("Statistics_1.txt"), Table2, Report,
                           QStringLiteral("log.csv")}));
}

void StatsCommandTest::ignoredColumnsNeverLeak()
{
    QTemporaryDir dir;
    const Run run = runStats({QStringLiteral("--output"), dir.path(), Example});
    QCOMPARE(run.exitCode, 0);
    QString outputs = run.out + run.err;
    for (const QString &name : {Table1, Table2})
        outputs += QString::fromUtf8(readBytes(dir.filePath(name)));
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (!pdftotext.isEmpty()) {
        QProcess text;
        text.start(pdftotext, {dir.filePath(Report), QStringLiteral("-")});
        QVERIFY(text.waitForFinished(60000));
        QCOMPARE(text.exitCode(), 0);
        const QString reportText = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(reportText.contains(QStringLiteral("synthetic-case-log-cp1251.csv")),
                 qPrintable(reportText));
        outputs += reportText;
    } else {
        qWarning("pdftotext not found: the report's text is not checked");
    }
    const QStringList cells = ignoredCells(Example);
    QVERIFY(cells.size() > 300);
    for (const QString &cell : cells)
        QVERIFY2(!outputs.contains(cell), qPrintable(cell));
}

void StatsCommandTest::noPatientInAnyMessage_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("said");

    QTest::newRow("no header row") << "no header" << QStringLiteral("похожа на данные");
    QTest::newRow("a misspelt header: its cells, not the cases")
        << "misspelt" << QStringLiteral("«Установка»");
    QTest::newRow("an unquoted semicolon in names")
        << "semicolon" << QStringLiteral("лишние ячейки в 43 строках");
    QTest::newRow("a zero byte in row 30") << "zero" << QStringLiteral("в строке 30 нулевой байт");
    QTest::newRow("a Windows-1251 row") << "1251" << QStringLiteral("в строке 3 текст в другой");
    QTest::newRow("UTF-16 without a mark") << "utf16" << QStringLiteral("без метки");
    QTest::newRow("the year 0001") << "year" << QStringLiteral("«0001-01-01»");
    QTest::newRow("a megabyte in a diameter") << "megabyte" << QStringLiteral("…»");
    QTest::newRow("every sheath empty") << "no sheaths" << QStringLiteral("пусто в 300 строках");
}

// Whatever goes wrong with a clinic's log, the command quotes only the
// header and the cells of the columns it reads.
void StatsCommandTest::noPatientInAnyMessage()
{
    QFETCH(QString, fault);
    QFETCH(QString, said);

    const ClinicLog log = clinicLog();
    QCOMPARE(int(log.rows.size()), 301);
    QVERIFY(log.secrets.size() > 500);
    QVector<QStringList> rows = log.rows;
    QByteArray bytes;
    if (fault == QLatin1String("no header")) {
        rows.removeFirst();
    } else if (fault == QLatin1String("misspelt")) {
        rows[0][8] = QStringLiteral("Установка");
    } else if (fault == QLatin1String("zero")) {
        rows[29][2] += QChar(0);
    } else if (fault == QLatin1String("year")) {
        rows[5][1] = QStringLiteral("0001-01-01");
    } else if (fault == QLatin1String("megabyte")) {
        rows[7][3] = QString(1 << 20, QLatin1Char('7'));
    } else if (fault == QLatin1String("no sheaths")) {
        for (int i = 1; i < rows.size(); ++i)
            rows[i][6].clear();
    }
    if (fault == QLatin1String("semicolon")) {
        // "Фамилия; Имя" unquoted: the record number after the name moves into column D1.
        QString text = csvText(rows);
        for (int i = 1; i < rows.size(); i += 7) {
            const QString line = QLatin1Char('\n') + rows[i][0] + QLatin1Char(';') + rows[i][1]
                + QLatin1Char(';') + rows[i][2] + QLatin1Char(';');
            QVERIFY(text.contains(line));
            text.replace(line,
                         line.chopped(1) + QStringLiteral("; ") + rows[i][0] + QLatin1Char(';'));
        }
        bytes = text.toUtf8();
    } else if (fault == QLatin1String("1251")) {
        bytes = csvText(rows.mid(0, 2)).toUtf8() + encoded(csvText(rows.mid(2, 1)), "Windows-1251")
            + csvText(rows.mid(3)).toUtf8();
    } else if (fault == QLatin1String("utf16")) {
        bytes = encoded(csvText(rows), "UTF-16LE");
        if (bytes.startsWith("\xFF\xFE")) // Qt 5's encoder writes a mark of its own
            bytes.remove(0, 2);
    } else {
        bytes = csvText(rows).toUtf8();
    }
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(QStringLiteral("журнал.csv")), bytes));
    const Run run = runStats(
        {QStringLiteral("--output"), dir.path(), dir.filePath(QStringLiteral("журнал.csv"))});
    const QString told = run.out + run.err;
    QVERIFY2(run.exitCode > 0, qPrintable(told.left(2000)));
    QVERIFY2(told.contains(said), qPrintable(told.left(2000)));
    QVERIFY2(told.size() < 20000, qPrintable(told.left(2000)));
    for (const QString &secret : log.secrets)
        QVERIFY2(!told.contains(secret), qPrintable(secret + QLatin1Char('\n') + told));
    QVERIFY(!QFileInfo::exists(dir.filePath(Table1)));
}

void StatsCommandTest::calculatorReadsTheWrittenTables()
{
    QTemporaryDir dir;
    QCOMPARE(runStats({QStringLiteral("--output"), dir.path(), Example}).exitCode, 0);
    for (const QString &name : {Table1, Table2}) {
        // Read as the calculator reads its files.
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTextStream stream(&file);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
        stream.setEncoding(QStringConverter::System);
#endif
        const StatisticsFile parsed = parseStatistics(stream);
        QCOMPARE(parsed.headerLabels,
                 (QStringList {QStringLiteral("Диаметр мм"), QStringLiteral("Процент")}));
        QVERIFY(parsed.comments.value(0).startsWith(QStringLiteral("Статистика клиники: ")));
        QCOMPARE(parsed.rows.size(), 17);
        QCOMPARE(parsed.unusableRows, 0);
        QStandardItemModel model(int(parsed.rows.size()), 2);
        for (int row = 0; row < parsed.rows.size(); ++row) {
            model.setItem(row, 0, new QStandardItem(parsed.rows.at(row).diameter));
            model.setItem(row, 1, new QStandardItem(parsed.rows.at(row).percentage));
        }
        // Each written line: its percent is what the lookup gives for its
        // diameter, and its counts read back as counts that hold together.
        const QStringList lines
            = QString::fromUtf8(readBytes(dir.filePath(name))).split(QLatin1Char('\n'));
        QVERIFY(hasRowCountsColumns(lines.first().mid(1).split(QLatin1Char(','))));
        int checked = 0;
        for (const QString &line : lines.mid(1)) {
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            const QStringList fields = line.split(QLatin1Char(','));
            const std::optional<StatisticsMatch> match
                = findStatisticsRow(model, fields.at(0).toDouble());
            QVERIFY2(match, qPrintable(line));
            QCOMPARE(match->figure, fields.at(1).toInt());
            QVERIFY2(readRowCounts(fields.mid(2).join(QLatin1Char(','))), qPrintable(line));
            ++checked;
        }
        // Clipped rows included, every written row's counts agree with its figure.
        for (const StatisticsRow &row : parsed.rows) {
            const RowEvidence evidence = rowEvidence(row);
            QVERIFY2(evidence.counts && !evidence.disagrees(),
                     qPrintable(row.diameter + QLatin1Char(',') + row.percentage));
        }
        QCOMPARE(checked, 17);
    }
}

// The shipped tables against the example log: the summary in words, the
// JSON with exactly its keys, and the tables themselves untouched.
void StatsCommandTest::checkWritesEveryFigure()
{
    QTemporaryDir dir;
    const QString json = dir.filePath(QStringLiteral("check.json"));
    const QString tables = QStringLiteral(VELMIRA_DATA_DIR);
    const Folder before = snapshot(tables);
    const Run run = runStats({QStringLiteral("--check"), QStringLiteral("--tables"), tables,
                              QStringLiteral("--json"), json, Example},
                             false);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(snapshot(tables), before);
    QVERIFY2(run.out.contains(QStringLiteral("показывает калькулятор: O/E ")), qPrintable(run.out));
    QVERIFY2(run.out.contains(QStringLiteral("C-статистика 0.")), qPrintable(run.out));

    const QJsonObject figures = QJsonDocument::fromJson(readBytes(json)).object();
    QStringList keys = figures.keys();
    QStringList expected = names({"cases",
                                  "placements",
                                  "excluded_stricture",
                                  "no_figure",
                                  "observed_rate",
                                  "mean_figure",
                                  "oe",
                                  "oe_ci",
                                  "intercept",
                                  "intercept_ci",
                                  "slope",
                                  "slope_ci",
                                  "brier",
                                  "brier_scaled",
                                  "c_statistic",
                                  "c_statistic_ci",
                                  "by_figure",
                                  "by_zone",
                                  "checked_from",
                                  "left_out_seen",
                                  "left_out_undated"});
    keys.sort();
    expected.sort();
    QCOMPARE(keys, expected);
    QCOMPARE(figures.value(QStringLiteral("by_zone")).toObject().keys(),
             names({"lower", "table", "upper"}));
    const int cases = figures.value(QStringLiteral("cases")).toInt();
    QVERIFY(cases > 0);
    QVERIFY(run.out.contains(QStringLiteral("Проверено случаев: %1,").arg(cases)));
    int byFigure = 0;
    for (const QJsonValue &row : figures.value(QStringLiteral("by_figure")).toArray()) {
        const QJsonObject object = row.toObject();
        QCOMPARE(object.keys(), names({"cases", "ci", "figure", "placements"}));
        const double figure = object.value(QStringLiteral("figure")).toDouble();
        QVERIFY(figure >= 0.0 && figure <= 1.0);
        QCOMPARE(object.value(QStringLiteral("ci")).toArray().size(), 2);
        byFigure += object.value(QStringLiteral("cases")).toInt();
    }
    QCOMPARE(byFigure, cases);
    for (const char *interval : {"oe_ci", "intercept_ci", "slope_ci", "c_statistic_ci"})
        QCOMPARE(figures.value(QLatin1String(interval)).toArray().size(), 2);

    // The shipped tables tell no period: every case is checked, and said to be.
    QVERIFY(figures.value(QStringLiteral("checked_from")).isNull());
    QVERIFY(run.out.contains(QStringLiteral("не сказано, из каких случаев они построены")));

    // Tables built from this very log have seen every case: none is left to
    // check them on, unless the keeper asks for all, which is then optimistic.
    const QString optimistic = QStringLiteral("на тех же случаях, оптимистично");
    QVERIFY(!run.out.contains(optimistic));
    QCOMPARE(runStats({QStringLiteral("--output"), dir.path(), Example}).exitCode, 0);
    const QStringList check = {QStringLiteral("--check"), QStringLiteral("--tables"), dir.path()};
    const Run own = runStats(check + QStringList {Example});
    QCOMPARE(own.exitCode, 4);
    QVERIFY2(own.out.contains(QStringLiteral("таблицы не видели: 0. Случаев раньше")),
             qPrintable(own.out));
    const Run all = runStats(check + QStringList {QStringLiteral("--all-cases"), Example});
    QCOMPARE(all.exitCode, 0);
    QVERIFY2(all.out.contains(optimistic), qPrintable(all.out));
    QVERIFY(all.out.contains(QStringLiteral("Проверено случаев: %1,").arg(cases)));
}

// Tables built from the cases before a date, checked on the later ones: the
// check printed is the one --check gives those tables on a log of only the
// later cases; the folds give the same figures on a rerun; and two folders
// are compared on the same cases.
void StatsCommandTest::holdoutChecksOnTheLaterCases()
{
    QTemporaryDir dir;
    const QDate since(2026, 1, 1);
    const QStringList lines = decoded1251(readBytes(Example)).split(QStringLiteral("\r\n"));
    QString later = lines.first() + QStringLiteral("\r\n");
    int before = 0, after = 0, undated = 0;
    QDate first, last; // of the cases the tables are built from
    for (const QString &line : lines.mid(1)) {
        const QStringList fields = line.split(QLatin1Char(';'));
        if (fields.size() < 10)
            continue;
        const QDate date = QDate::fromString(fields.at(2), QStringLiteral("dd.MM.yyyy"));
        undated += date.isValid() ? 0 : 1;
        before += date.isValid() && date < since ? 1 : 0;
        if (date.isValid() && date < since) {
            first = first.isValid() ? std::min(first, date) : date;
            last = std::max(last, date);
        }
        if (date.isValid() && date >= since) {
            ++after;
            later += line + QStringLiteral("\r\n");
        }
    }
    const QString laterLog = dir.filePath(QStringLiteral("later.csv"));
    QVERIFY(writeFile(laterLog, encoded(later, "Windows-1251")));

    const QStringList holdout = {QStringLiteral("--holdout-since"), QStringLiteral("01.01.2026")};
    const Run run
        = runStats(holdout + QStringList {QStringLiteral("--output"), dir.path(), Example});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains(QStringLiteral("Разделение по дате 01.01.2026: таблицы построены из "
                                             "%1 случаев до неё, проверены на %2 случаях с неё.")
                                  .arg(before)
                                  .arg(after)),
             qPrintable(run.out));
    QCOMPARE(run.out.contains(QStringLiteral("Случаев без даты: %1").arg(undated)), undated > 0);
    QVERIFY(readBytes(dir.filePath(Table1)).contains("# Случаи с 01.01.2026 отложены"));
    // The tables' period, shown by the calculator, is that of the cases they hold.
    const QString period = first.toString(QStringLiteral("MM.yyyy")) + QLatin1Char('-')
        + last.toString(QStringLiteral("MM.yyyy"));
    QVERIFY2(QString::fromUtf8(readBytes(dir.filePath(Table1)))
                 .section(QLatin1Char('\n'), 1, 1)
                 .contains(QStringLiteral(", %1; ").arg(period)),
             qPrintable(period));

    const Run check
        = runStats({QStringLiteral("--check"), QStringLiteral("--tables"), dir.path(), laterLog});
    QCOMPARE(check.exitCode, 0);
    const QString checked = check.out.mid(check.out.indexOf(QStringLiteral("Проверено случаев")));
    QVERIFY(checked.size() > 200);
    QVERIFY2(run.out.contains(checked), qPrintable(run.out + QStringLiteral("\n---\n") + checked));

    QTemporaryDir again;
    const Run rerun
        = runStats(holdout + QStringList {QStringLiteral("--output"), again.path(), Example});
    const auto crossValidation = [](const QString &out) {
        const int start = int(out.indexOf(QStringLiteral("Перекрёстная проверка")));
        return start < 0 ? QString()
                         : out.mid(start, out.indexOf(QLatin1Char('\n'), start) - start);
    };
    QVERIFY(!crossValidation(run.out).isEmpty());
    QCOMPARE(crossValidation(rerun.out), crossValidation(run.out));
    QCOMPARE(withoutWrittenLine(readBytes(again.filePath(Table2))),
             withoutWrittenLine(readBytes(dir.filePath(Table2))));

    const QString json = dir.filePath(QStringLiteral("compare.json"));
    const Run compare = runStats({QStringLiteral("--check"), QStringLiteral("--tables"), dir.path(),
                                  QStringLiteral("--compare"), QStringLiteral(VELMIRA_DATA_DIR),
                                  QStringLiteral("--json"), json, Example});
    QCOMPARE(compare.exitCode, 0);
    QVERIFY2(compare.out.contains(QStringLiteral("O/E (лучше ближе к 1): первые ")),
             qPrintable(compare.out));
    const QJsonObject figures = QJsonDocument::fromJson(readBytes(json)).object();
    const QJsonObject compared = figures.value(QStringLiteral("compare")).toObject();
    QVERIFY(figures.value(QStringLiteral("cases")).toInt() > 0);
    QCOMPARE(compared.value(QStringLiteral("cases")), figures.value(QStringLiteral("cases")));
    QVERIFY(compared.value(QStringLiteral("oe")) != figures.value(QStringLiteral("oe")));
}

void StatsCommandTest::answersWithoutDisplay_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("start");
    QTest::newRow("--version") << "--version"
                               << QStringLiteral("velmira-stats %1 (Qt %2)\n")
                                      .arg(QLatin1String(VELMIRA_VERSION),
                                           QLatin1String(qVersion()));
    QTest::newRow("--help") << "--help"
                            << QStringLiteral("Использование: velmira-stats [параметры] ЖУРНАЛ\n");
}

void StatsCommandTest::answersWithoutDisplay()
{
    QFETCH(QString, option);
    QFETCH(QString, start);
    const Run run = runStats({option}, false);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.startsWith(start), qPrintable(run.out));
    if (option == QLatin1String("--help")) {
        for (const char *name : {"--check", "--tables ПАПКА", "--json ФАЙЛ", "--install ПАПКА"})
            QVERIFY2(run.out.contains(QString::fromUtf8(name)), name);
    }
    // A run that writes the report needs no display either.
    QTemporaryDir dir;
    const Run written = runStats({QStringLiteral("--output"), dir.path(), Example}, false);
    QCOMPARE(written.err, QString());
    QCOMPARE(written.exitCode, 0);
    QVERIFY(readBytes(dir.filePath(Report)).startsWith("%PDF"));
}

void StatsCommandTest::installPutsTablesWhereTheCalculatorReads_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");

    QTest::newRow("both tables into an empty folder")
        << "empty" << 0 << QStringLiteral("Установлены в папку");
    QTest::newRow("the previous tables kept beside")
        << "previous" << 0 << QStringLiteral("Прежний Statistics_1.txt сохранён как Statistics_1");
    QTest::newRow("one table only, the other left alone")
        << "one table" << 0 << QStringLiteral(": Statistics_1.txt.\n");
    QTest::newRow("the same tables again: nothing written, no backup")
        << "same" << 0 << QStringLiteral("уже эти же таблицы");
    QTest::newRow("the current folder as the source")
        << "current folder" << 0 << QStringLiteral("Калькулятор прочитает их");
    QTest::newRow("a file that is not a table: neither installed")
        << "not a table" << 2 << QStringLiteral("Statistics_2.txt — не таблица статистики");
    QTest::newRow("a row that gives no figure")
        << "unusable row" << 2 << QStringLiteral("строка 3 не даёт процента");
    QTest::newRow("a folder under a table's name in the source")
        << "folder as table" << 2 << QStringLiteral("не удаётся прочитать");
    QTest::newRow("no tables in the source") << "no tables" << 4 << QStringLiteral("нет ни");
    QTest::newRow("no such source") << "no source" << 2 << QStringLiteral("с таблицами нет");
    QTest::newRow("no such folder, named by its option")
        << "no folder" << 5 << QStringLiteral("Создайте её или укажите другую в --install.");
    QTest::newRow("a folder without rights") << "unwritable" << 5 << QStringLiteral("записать");
    QTest::newRow("two sources") << "two sources" << 1 << QStringLiteral("больше одной папки");
    QTest::newRow("no folder after --install") << "no value" << 1 << QStringLiteral("--install");
}

void StatsCommandTest::installPutsTablesWhereTheCalculatorReads()
{
    QFETCH(QString, scenario);
    QFETCH(int, exitCode);
    QFETCH(QString, said);

    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("made"));
    const QString target = dir.filePath(QStringLiteral("calculator"));
    QVERIFY(QDir().mkpath(source) && QDir().mkpath(target));
    // The shipped tables stand for tables made earlier: the calculator reads both.
    for (const QString &name : {Table1, Table2})
        QVERIFY(QFile::copy(QStringLiteral(VELMIRA_DATA_DIR "/") + name,
                            source + QLatin1Char('/') + name));
    QVERIFY(writeFile(target + QLatin1Char('/') + Table2, "Диаметр,Процент\n1.50,40\n"));
    QStringList arguments = {QStringLiteral("--install"), target, source};
    const QDateTime time(QDate(2026, 1, 2), QTime(3, 4, 5));
    if (scenario == QLatin1String("previous")) {
        QVERIFY(writeFile(target + QLatin1Char('/') + Table1, "Диаметр,Процент\n1.50,50\n"));
        QFile file(target + QLatin1Char('/') + Table1);
        QVERIFY(file.open(QIODevice::ReadWrite)
                && file.setFileTime(time, QFileDevice::FileModificationTime));
    } else if (scenario == QLatin1String("one table") || scenario == QLatin1String("no tables")) {
        QVERIFY(QFile::remove(source + QLatin1Char('/') + Table2));
        if (scenario == QLatin1String("no tables"))
            QVERIFY(QFile::remove(source + QLatin1Char('/') + Table1));
    } else if (scenario == QLatin1String("same")) {
        for (const QString &name : {Table1, Table2}) {
            QFile::remove(target + QLatin1Char('/') + name);
            QVERIFY(
                QFile::copy(source + QLatin1Char('/') + name, target + QLatin1Char('/') + name));
        }
    } else if (scenario == QLatin1String("current folder")) {
        arguments.removeLast();
    } else if (scenario == QLatin1String("not a table")) {
        QVERIFY(writeFile(source + QLatin1Char('/') + Table2, "a letter to the clinic\n"));
    } else if (scenario == QLatin1String("unusable row")) {
        QVERIFY(writeFile(source + QLatin1Char('/') + Table1,
                          "Диаметр,Процент\n1.50,40\n1.51,много\n"));
    } else if (scenario == QLatin1String("folder as table")) {
        QVERIFY(QFile::remove(source + QLatin1Char('/') + Table2) && QDir(source).mkdir(Table2));
    } else if (scenario == QLatin1String("no source")) {
        arguments.last() += QStringLiteral("/missing");
    } else if (scenario == QLatin1String("no folder")) {
        arguments[1] += QStringLiteral("/missing");
    } else if (scenario == QLatin1String("two sources")) {
        arguments.append(source);
    } else if (scenario == QLatin1String("no value")) {
        arguments = QStringList {QStringLiteral("--install")};
    } else if (scenario == QLatin1String("unwritable")) {
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ExeOwner));
        // As in failuresChangeNothing: root is bound by no permissions, /proc binds everyone.
        if (QFileInfo(target).isWritable())
            arguments[1] = QStringLiteral("/proc");
    }
    const Folder before = snapshot(target);
    const Folder made = snapshot(source);

    QProcess process;
    // Only there: on Windows "/proc" below is on the working folder's drive.
    if (scenario == QLatin1String("current folder"))
        process.setWorkingDirectory(source);
    process.start(QStringLiteral(VELMIRA_STATS_PROGRAM), arguments);
    QVERIFY(process.waitForFinished(60000));
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Windows' C runtime ends a text stream's lines with CR LF.
    const auto text = [](const QByteArray &bytes) {
        return QString::fromUtf8(bytes).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    };
    const QString out = text(process.readAllStandardOutput());
    const QString err = text(process.readAllStandardError());
    QCOMPARE(process.exitCode(), exitCode);
    QVERIFY2((exitCode == 0 ? out : err).contains(said), qPrintable(out + err));
    QCOMPARE(snapshot(source), made);
    if (exitCode != 0) {
        QCOMPARE(out, QString());
        QVERIFY2(exitCode == 1 || err.contains(QStringLiteral("Ничего не установлено.")),
                 qPrintable(err));
        QCOMPARE(snapshot(target), before);
        QVERIFY(!QFileInfo::exists(QDir(arguments.value(1)).filePath(Table1)));
        return;
    }
    if (scenario == QLatin1String("same")) {
        QCOMPARE(snapshot(target), before);
        return;
    }
    // Every table of the source is there byte for byte; what was there before is kept.
    Folder expected = before;
    for (auto file = made.cbegin(); file != made.cend(); ++file)
        expected[file.key()] = file.value();
    Folder after = snapshot(target);
    // The release is recorded beside them, naming the tables the folder now holds.
    after.remove(QStringLiteral("Velmira_releases.txt"));
    const QByteArray history = readBytes(target + QStringLiteral("/Velmira_releases.txt"));
    QVERIFY2(history.contains("Выпуск 1\n") && history.contains("Statistics_1.txt: SHA-256 "),
             history.constData());
    for (auto file = after.cbegin(); file != after.cend(); ++file) {
        if (!expected.contains(file.key()))
            QVERIFY2(before.values().contains(file.value()), qPrintable(file.key()));
    }
    // One kept file for each table that replaced one.
    QCOMPARE(after.size(), made.size() + before.size());
    for (auto file = expected.cbegin(); file != expected.cend(); ++file)
        QCOMPARE(after.value(file.key()), file.value());
    if (scenario == QLatin1String("previous"))
        QCOMPARE(readBytes(target + QStringLiteral("/Statistics_1.2026-01-02T03-04-05.txt")),
                 QByteArray("Диаметр,Процент\n1.50,50\n"));
}

// Rows whose counts would stand as proof of a figure they contradict: the
// figure is shown as the file gives it, without them, and --install refuses
// the file naming the row. Rows whose counts agree, a row clipped to a fixed
// figure and a row an editor left without counts go through.
void StatsCommandTest::countsThatContradictTheirRow_data()
{
    QTest::addColumn<QString>("line"); // the one data row, line 2 of the file
    QTest::addColumn<int>("problem"); // CountsProblem

    const auto row = [](const char *name, const char *line, CountsProblem problem) {
        QTest::newRow(name) << QString::fromLatin1(line) << int(problem);
    };
    using P = CountsProblem;
    row("100 % from 0 of 50", "1.50,100,50,0,50,0,1.50,1.50,0,7", P::PercentOutsideInterval);
    row("90 % beside 5 of 10", "1.50,90,10,5,10,5,1.50,1.50,24,76", P::PercentOutsideInterval);
    row("lowered to 29 % beside 24 of 37", "1.50,29,12,8,37,24,1.49,1.52,49,78",
        P::PercentOutsideInterval);
    row("interpolated below the lower figure", "1.50,20,0,0,,,,,,", P::PercentOutsideInterval);
    row("45-55 % for 6 of 12", "1.50,50,12,6,12,6,1.50,1.50,45,55", P::NotWilson);
    row("an interval two points off", "1.50,64,12,8,37,24,1.49,1.52,47,77", P::NotWilson);
    row("a block of other diameters", "1.50,64,12,8,37,24,1.80,1.90,49,78",
        P::DiameterOutsideBlock);
    row("more placed than cases", "1.50,64,12,13,37,24,1.49,1.52,49,78", P::Malformed);
    row("a negative count", "1.50,64,-12,8,37,24,1.49,1.52,49,78", P::Malformed);
    row("a fraction of a case", "1.50,64,12.5,8,37,24,1.49,1.52,49,78", P::Malformed);
    row("a field short", "1.50,64,12,8,37,24,1.49,1.52,49", P::Malformed);
    row("agreeing counts", "1.50,64,12,8,37,24,1.49,1.52,49,78", P::None);
    row("bounds a point off for rounding", "1.50,64,12,8,37,24,1.49,1.52,48,79", P::None);
    row("raised to 29 % from 0 of 50", "1.50,29,50,0,50,0,1.50,1.50,0,7", P::None);
    row("lowered to 93 % from 50 of 50", "1.50,93,50,50,50,50,1.50,1.50,93,100", P::None);
    row("interpolated", "1.50,45,0,0,,,,,,", P::None);
    row("edited, without counts", "1.50,61", P::None);
}

void StatsCommandTest::countsThatContradictTheirRow()
{
    QFETCH(QString, line);
    QFETCH(int, problem);

    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("made"));
    const QString target = dir.filePath(QStringLiteral("calculator"));
    QVERIFY(QDir().mkpath(source) && QDir().mkpath(target));
    const QString header
        = QStringLiteral("Диаметр мм,Процент,") + rowCountsLabels().join(QLatin1Char(','));
    // With the byte-order mark the program writes: without it Qt 5 on Windows
    // reads the header in the ANSI code page and finds no counts in it.
    QVERIFY(writeFile(source + QLatin1Char('/') + Table1,
                      "\xEF\xBB\xBF"
                          + (header + QLatin1Char('\n') + line + QLatin1Char('\n')).toUtf8()));

    // What the calculator reads and says of the figure at 1.50 mm.
    const StatisticsRead read = readStatisticsFile(source + QLatin1Char('/') + Table1);
    QCOMPARE(read.file.rows.size(), 1);
    const RowEvidence evidence = rowEvidence(read.file.rows.at(0));
    QCOMPARE(int(evidence.problem), problem);
    const bool disagrees = problem != int(CountsProblem::None);
    QCOMPARE(read.diagnosis.malformedEvidenceRows, disagrees ? 1 : 0);
    QCOMPARE(evidence.counts.has_value(), line.count(QLatin1Char(',')) == 9 && !disagrees);
    QStandardItemModel model(1, 2);
    model.setItem(0, 0, new QStandardItem(read.file.rows.at(0).diameter));
    model.setItem(0, 1, new QStandardItem(read.file.rows.at(0).percentage));
    const CalculationInput input {
        {QStringLiteral("1.50"), QStringLiteral("3"), QStringLiteral("3")},
        false,
        SheathSize::Ch10To12};
    const CalculationResult result = calculateProbability(input, &model);
    QCOMPARE(result.basis, CalculationResult::Basis::Table);
    const QString provenance = figureProvenance(result, input.sheath, Table1, QString(), evidence);
    const QString figure
        = QStringLiteral("Таблица 10-12 Ch (Statistics_1.txt), строка 1: 1.50 мм — ")
        + line.section(QLatin1Char(','), 1, 1) + QStringLiteral(" %");
    if (disagrees)
        QCOMPARE(provenance, figure + QLatin1Char('\n') + countsDisagreementText());
    else
        QVERIFY2(provenance.startsWith(figure) && !provenance.contains(countsDisagreementText()),
                 qPrintable(provenance));
    QCOMPARE(provenance.contains(QStringLiteral("; n = ")),
             evidence.counts && !evidence.counts->isInterpolated());

    const Folder before = snapshot(target);
    const Run installed = runStats({QStringLiteral("--install"), target, source});
    if (!disagrees) {
        QCOMPARE(installed.exitCode, 0);
        return;
    }
    QCOMPARE(installed.exitCode, 2);
    QVERIFY2(installed.err.contains(QStringLiteral(", строка 2 (1.50 мм — ")
                                    + line.section(QLatin1Char(','), 1, 1) + QStringLiteral(" %): ")
                                    + countsDisagreementText()),
             qPrintable(installed.err));
    QCOMPARE(snapshot(target), before);
}

// Two sets installed, the second again, then back and forth: after each step
// the tables are the release's, the history numbers every change, and a
// history edited by hand or missing changes nothing.
void StatsCommandTest::releasesRecordEachInstallAndGoBack()
{
    QTemporaryDir dir;
    const QString calculator = dir.filePath(QStringLiteral("calculator"));
    QVERIFY(QDir().mkpath(calculator));
    QStringList sets;
    for (const QString &holdout : {QString(), QStringLiteral("01.01.2026")}) {
        sets.append(dir.filePath(QStringLiteral("made%1").arg(sets.size())));
        QStringList build = {QStringLiteral("--output"), sets.last(), Example};
        if (!holdout.isEmpty())
            build << QStringLiteral("--holdout-since") << holdout;
        QVERIFY(QDir().mkpath(sets.last()));
        QCOMPARE(runStats(build).exitCode, 0);
    }
    const QString history = calculator + QStringLiteral("/Velmira_releases.txt");
    const auto releases = [&history] {
        return int(readBytes(history).count("\nВыпуск "));
    };
    struct Step {
        QStringList arguments;
        int set; // whose tables the folder then holds
        int releases;
        const char *said;
    };
    const QString install = QStringLiteral("--install");
    const QString restore = QStringLiteral("--restore");
    const QVector<Step> steps = {
        {{install, calculator, sets[0], QStringLiteral("--approved-by"), QStringLiteral("Иванов")},
         0,
         1,
         "выпуск 1 от"},
        {{install, calculator, sets[1]}, 1, 2, "выпуск 2 от"},
        {{install, calculator, sets[1]}, 1, 2, "уже эти же таблицы"},
        {{restore, calculator}, 0, 3, "(возврат к выпуску 1)"},
        {{restore, calculator}, 1, 4, "(возврат к выпуску 2)"},
        {{restore, calculator, QStringLiteral("3")}, 0, 5, "(возврат к выпуску 3)"},
    };
    for (const Step &step : steps) {
        const Run run = runStats(step.arguments);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains(QString::fromUtf8(step.said)), qPrintable(run.out));
        for (const QString &table : {Table1, Table2})
            QCOMPARE(readBytes(calculator + QLatin1Char('/') + table),
                     readBytes(sets[step.set] + QLatin1Char('/') + table));
        QCOMPARE(releases(), step.releases);
    }
    QVERIFY(readBytes(history).contains("Утвердил: Иванов\n"));

    const Folder before = snapshot(calculator);
    QVERIFY(writeFile(history, readBytes(history).replace("Выпуск 4", "Выпуск 7")));
    const Folder edited = snapshot(calculator);
    const Run refused = runStats({restore, calculator});
    QCOMPARE(refused.exitCode, 2);
    QVERIFY2(refused.err.contains(QStringLiteral("правлена вручную")), qPrintable(refused.err));
    QCOMPARE(snapshot(calculator), edited);
    QVERIFY(before != edited);
    const Run none = runStats({restore, sets[0]});
    QCOMPARE(none.exitCode, 4);
    QVERIFY2(none.err.contains(QStringLiteral("нет истории выпусков")), qPrintable(none.err));
}

QTEST_GUILESS_MAIN(StatsCommandTest)
#include "tst_statscommand.moc"
