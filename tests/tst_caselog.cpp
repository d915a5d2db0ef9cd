#include "badcelltexts.h"
#include "caselogreader.h"
#include "logcells.h"
#include "logtext.h"

#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QStringEncoder>
#else
#include <QTextCodec>
#endif

// Reading a clinic's case log: the dialects spreadsheets write, the cell
// syntaxes, and the rows and headers that must stop the command.
namespace {

// A case in one line, for comparing lists: "1.5|1,6|2 10-12 s0 p1 2024-03-01 @2".
QString caseText(const LogCase &c)
{
    return QStringLiteral("%1|%2|%3 %4 s%5 p%6 %7 @%8")
        .arg(c.diameters[0], c.diameters[1], c.diameters[2],
             c.sheath == SheathSize::Ch10To12 ? QStringLiteral("10-12") : QStringLiteral("12-14"))
        .arg(int(c.stricture))
        .arg(int(c.placed))
        .arg(c.date.toString(Qt::ISODate))
        .arg(c.line);
}

// Every bad cell noted, in the order of the log: "4:d2:14", with "!mark" for
// the other decimal mark, "!day" for a date that does not exist, "!year" for
// one outside the log's years and "!moved" for a row with more cells than the header.
QStringList badTexts(const BadCellGroups &groups)
{
    QVector<QPair<QPair<int, int>, QString>> cells;
    for (const BadCellGroup &group : groups.groups()) {
        const QString problem = group.problem == CellProblem::OtherMark ? QStringLiteral("!mark")
            : group.problem == CellProblem::NoSuchDate                  ? QStringLiteral("!day")
            : group.problem == CellProblem::OutOfYears                  ? QStringLiteral("!year")
            : group.problem == CellProblem::ExtraCells                  ? QStringLiteral("!moved")
                                                                        : QString();
        for (const BadCell &bad : group.first)
            cells.append({{bad.row, int(group.column)},
                          QStringLiteral("%1:%2:%3%4")
                              .arg(bad.row)
                              .arg(logColumnName(group.column), bad.cell, problem)});
    }
    std::sort(cells.begin(), cells.end());
    QStringList texts;
    for (const auto &cell : cells)
        texts.append(cell.second);
    return texts;
}

struct Read {
    CaseLogReading reading;
    QStringList cases;
};

Read readLog(const QByteArray &bytes)
{
    Read read;
    CaseLogReader reader([&read](const LogCase &c) { read.cases.append(caseText(c)); });
    read.reading = reader.read(bytes);
    return read;
}

QByteArray utf8(const char *text)
{
    return QByteArray(text);
}

QByteArray encoded(const QString &text, const char *codec)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QStringEncoder encoder(codec);
    return encoder.encode(text);
#else
    return QTextCodec::codecForName(codec)->fromUnicode(text);
#endif
}

const QString RussianLog = QStringLiteral("Дата;Диаметр 1;Диаметр 2;Диаметр 3;Кожух;Стриктура;"
                                          "Установлен;ФИО\r\n"
                                          "01.03.2024;1,5;1,6;2;10-12 Ch;нет;да;Иванов\r\n"
                                          "2024-03-02;1,85;2;2,1;12/14;да;нет;Петров\r\n");
const QStringList RussianCases = {QStringLiteral("1,5|1,6|2 10-12 s0 p1 2024-03-01 @2"),
                                  QStringLiteral("1,85|2|2,1 12-14 s1 p0 2024-03-02 @3")};

// A log that a spreadsheet saves again while it is being read: the first
// read of its bytes appends to the file.
class SavedWhileRead : public QFile {
public:
    SavedWhileRead(const QString &path, bool save) : QFile(path), save(save) { }

protected:
    qint64 readData(char *data, qint64 size) override
    {
        if (save) {
            save = false;
            QFile other(fileName());
            if (!other.open(QIODevice::Append) || other.write("1,5;1,6;2;10-12;нет;да\n") < 0)
                return -1;
        }
        return QFile::readData(data, size);
    }

private:
    bool save;
};

} // namespace

class CaseLogTest : public QObject {
    Q_OBJECT

private slots:
    void diameterCells_data();
    void diameterCells();
    void encodings_data();
    void encodings();
    void dialects_data();
    void dialects();
    void badRows_data();
    void badRows();
    void progress_data();
    void progress();
    void unreadableLogs_data();
    void unreadableLogs();
    void readWhole_data();
    void readWhole();
};

void CaseLogTest::diameterCells_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<bool>("valid");

    for (const char *cell : {"1,52", "1.52", "2", " 1,5 ", "10", "10,000", "0,5", "007",
                             "9.99999999999", "1e0", ".5", "1.", "+1.5", "10.0000000000000001"})
        QTest::newRow(cell) << QString::fromLatin1(cell) << true;
    for (const char *cell : {"", "0", "0,000", "0,001", "0.49", "10,01", "14", "010,5", "1,5,2",
                             "1;5", "-1", "inf", "nan", "1e9", "abc", "1.5 mm", "10.00000000001"})
        QTest::newRow(cell) << QString::fromLatin1(cell) << false;
}

// The quick test of plain cells agrees with the calculator's own reading.
void CaseLogTest::diameterCells()
{
    QFETCH(QString, cell);
    QFETCH(bool, valid);

    QCOMPARE(readLogDiameter(cell).has_value(), valid);
    QCOMPARE(isLogDiameter(cell), valid);
}

// Without a mark, only well-formed UTF-8 is UTF-8; every other byte string is 1251.
void CaseLogTest::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("text");

    QTest::newRow("ASCII") << utf8("d1") << QStringLiteral("UTF-8") << QStringLiteral("d1");
    QTest::newRow("two, three and four bytes")
        << utf8("\xD0\xB4 \xE2\x80\x93 \xF0\x9F\x98\x80") << QStringLiteral("UTF-8")
        << QStringLiteral("д – \U0001F600");
    QTest::newRow("1251 letters") << utf8("\xE4\xE0") << QStringLiteral("Windows-1251")
                                  << QStringLiteral("да");
    QTest::newRow("an overlong form is no UTF-8")
        << utf8("\xC0\xAF") << QStringLiteral("Windows-1251") << QStringLiteral("АЇ");
    QTest::newRow("an encoded surrogate is no UTF-8")
        << utf8("\xED\xA0\x80") << QStringLiteral("Windows-1251") << QStringLiteral("н\u00A0Ђ");
    QTest::newRow("a sequence cut at the end is no UTF-8")
        << utf8("d1\xD0") << QStringLiteral("Windows-1251") << QStringLiteral("d1Р");
}

void CaseLogTest::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, encoding);
    QFETCH(QString, text);

    const LogText log = decodeLogText(bytes);
    QVERIFY(log.decoded);
    QCOMPARE(log.encoding, encoding);
    QCOMPARE(log.text, text);
}

void CaseLogTest::dialects_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QStringList>("cases");

    QTest::newRow("spreadsheet CSV on a Russian Windows: 1251, semicolons, CR LF")
        << encoded(RussianLog, "Windows-1251") << QStringLiteral("Windows-1251") << RussianCases;
    QTest::newRow("UTF-8 without a mark")
        << RussianLog.toUtf8() << QStringLiteral("UTF-8") << RussianCases;
    QTest::newRow("UTF-8 with a mark") << QByteArray("\xEF\xBB\xBF") + RussianLog.toUtf8()
                                       << QStringLiteral("UTF-8") << RussianCases;
    QString tabs = RussianLog;
    tabs.replace(QLatin1Char(';'), QLatin1Char('\t'));
    QTest::newRow("Unicode text: UTF-16 LE with a mark, tabs")
        << QByteArray("\xFF\xFE") + encoded(tabs, "UTF-16LE") << QStringLiteral("UTF-16")
        << RussianCases;
    QTest::newRow("UTF-16 BE with a mark") << QByteArray("\xFE\xFF") + encoded(tabs, "UTF-16BE")
                                           << QStringLiteral("UTF-16") << RussianCases;

    QTest::newRow("commas, English names in any case and order, LF, blank lines")
        << utf8(" Placed ,SHEATH,d3,D2, d1 ,stricture,note\n\n"
                "yes,10-12 Fr,2,1.7,1.55,no,x\n   \n,,,,,,\n"
                "0,12-14,2.5,2.4,1.9,1,y")
        << QStringLiteral("UTF-8")
        << QStringList {QStringLiteral("1.55|1.7|2 10-12 s0 p1  @3"),
                        QStringLiteral("1.9|2.4|2.5 12-14 s1 p0  @6")};
    QTest::newRow("quotes: delimiters, doubled quotes and line breaks inside")
        << utf8("d1,d2,d3,sheath,stricture,placed,note\r\n"
                "\"1,5\",\"1,6\",\"2\",\"10/12\",\"Нет\",\"ДА\",\"said \"\"ok\"\",\r\nthen "
                "left\"\r\n"
                "\"1,5\",\"1,6\",2,10-12,0,1,\"\"\r\n")
        << QStringLiteral("UTF-8")
        << QStringList {QStringLiteral("1,5|1,6|2 10-12 s0 p1  @2"),
                        QStringLiteral("1,5|1,6|2 10-12 s0 p1  @3")};
    QTest::newRow("blanks around cells, an empty date, one-digit day and month")
        << utf8("d1;d2;d3;sheath;stricture;placed;date\n"
                " 1,5 ; 1,6 ;2; 10 - 12 ch ; нет ; да ;\n"
                "1,5;1,6;2;10-12;нет;да;3.4.2024\n")
        << QStringLiteral("UTF-8")
        << QStringList {QStringLiteral("1,5|1,6|2 10-12 s0 p1  @2"),
                        QStringLiteral("1,5|1,6|2 10-12 s0 p1 2024-04-03 @3")};
    QTest::newRow("a title above the header, names with units, a spreadsheet's spellings")
        << utf8("Журнал 2024;;;\n;;\n"
                "Дата;Диаметр 1, мм;Диаметр 2 (мм);ДИАМЕТР 3;Кожух (Ch);Стриктура (да/нет);"
                "Установлен?\n"
                "1.3.24;1,5;1,6;2;Ch 10-12;ЛОЖЬ;ИСТИНА\n"
                "01.03.2024;1,5;1,6;2;12/14 Fr;FALSE;TRUE\n"
                "2024-03-01;1,5;1,6;2;10-12 Сн;−;+\n"
                "2024-03-01;1,5;1,6;2;Fr 12-14;-;false\n"
                "2024-03-01;1,5;1,6;2;12–14 СН;–;нет\n")
        << QStringLiteral("UTF-8")
        << QStringList {QStringLiteral("1,5|1,6|2 10-12 s0 p1 2024-03-01 @4"),
                        QStringLiteral("1,5|1,6|2 12-14 s0 p1 2024-03-01 @5"),
                        QStringLiteral("1,5|1,6|2 10-12 s0 p1 2024-03-01 @6"),
                        QStringLiteral("1,5|1,6|2 12-14 s0 p0 2024-03-01 @7"),
                        QStringLiteral("1,5|1,6|2 12-14 s0 p0 2024-03-01 @8")};
}

void CaseLogTest::dialects()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, encoding);
    QFETCH(QStringList, cases);

    const Read read = readLog(bytes);
    QCOMPARE(read.reading.error, QString());
    QCOMPARE(read.reading.encoding, encoding);
    QCOMPARE(read.cases, cases);
    QCOMPARE(read.reading.rowsRead, int(cases.size()));
    QCOMPARE(read.reading.badRows, 0);
}

void CaseLogTest::badRows_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("bad");
    QTest::addColumn<int>("goodRows");
    // More than half the rows bad: no tables even from the good ones.
    QTest::addColumn<bool>("mostBad");

    const QByteArray header("d1;d2;d3;sheath;stricture;placed;date;name\n");
    QTest::newRow("a 14 typed for 1.4, zero, negative, 10.01")
        << header
            + "1,5;14;2;10-12;нет;да;;A\n0;1,5;2;10-12;нет;да;;B\n"
              "-1;1,5;10,01;10-12;нет;да;;C\n10;1,5;2;10-12;нет;да;;D\n"
        << QStringList {QStringLiteral("2:d2:14"), QStringLiteral("3:d1:0"),
                        QStringLiteral("4:d1:-1"), QStringLiteral("4:d3:10,01")}
        << 1 << true;
    QTest::newRow("not numbers, not finite, empty")
        << header
            + "abc;1,5;2;10-12;нет;да;;A\ninf;nan;;10-12;нет;да;;B\n1.5.1;1,5;2;10-12;нет;да;;C\n"
        << QStringList {QStringLiteral("2:d1:abc"), QStringLiteral("3:d1:inf"),
                        QStringLiteral("3:d2:nan"), QStringLiteral("3:d3:"),
                        QStringLiteral("4:d1:1.5.1")}
        << 0 << true;
    QTest::newRow("sheath, yes or no, date")
        << header + "1,5;1,6;2;9-11;может;;31.02.2024;A\n1,5;1,6;2;;нет;да;2024/03/01;B\n"
        << QStringList {QStringLiteral("2:sheath:9-11"), QStringLiteral("2:stricture:может"),
                        QStringLiteral("2:placed:"),     QStringLiteral("2:date:31.02.2024!day"),
                        QStringLiteral("3:sheath:"),     QStringLiteral("3:date:2024/03/01")}
        << 0 << true;
    QTest::newRow("a short row, the spreadsheet's row after a quoted line break")
        << header + "1,5;1,6;2;10-12;нет;да;;\"two\nlines\"\n1,5;1,6\n"
        << QStringList {QStringLiteral("3:d3:"), QStringLiteral("3:sheath:"),
                        QStringLiteral("3:stricture:"), QStringLiteral("3:placed:")}
        << 1 << false;
    const QByteArray good("1.5;1.6;2;10-12;нет;да;;A\n");
    QTest::newRow("a comma among points: 2,364 may be micrometres")
        << header + good + good + "2,364;1.6;2;10-12;нет;да;;B\n" + good
        << QStringList {QStringLiteral("4:d1:2,364!mark")} << 3 << false;
    QTest::newRow("a point among commas, and a row with both")
        << header
            + "1,5;1,6;2;10-12;нет;да;;A\n1.5;1,6;2;10-12;нет;да;;B\n"
              "1,5;1,6;2;10-12;нет;да;;C\n1.5;1.6;2;10-12;нет;;;D\n"
        << QStringList {QStringLiteral("3:d1:1.5!mark"), QStringLiteral("5:d1:1.5!mark"),
                        QStringLiteral("5:d2:1.6!mark"), QStringLiteral("5:placed:")}
        << 2 << false;
    const QByteArray nextYear = QByteArray::number(lastLogYear());
    const QByteArray later = QByteArray::number(lastLogYear() + 1);
    const QByteArray row("1,5;1,6;2;10-12;нет;да;");
    QTest::newRow("years from 1990 to the next one")
        << header + row + "01.01.0001;A\n" + row + "31.12.9999;B\n" + row + "31.12.1989;C\n" + row
            + "1990-01-01;D\n" + row + "31.12." + nextYear + ";E\n" + row + "01.01." + later
            + ";F\n"
        << QStringList {QStringLiteral("2:date:01.01.0001!year"),
                        QStringLiteral("3:date:31.12.9999!year"),
                        QStringLiteral("4:date:31.12.1989!year"),
                        QStringLiteral("7:date:01.01.%1!year").arg(lastLogYear() + 1)}
        << 2 << true;
    // The name's second half would stand in the date column, and be shown as a bad date.
    QTest::newRow("a comma in an unquoted name moves the cells: none read")
        << QByteArray("name,date,d1,d2,d3,sheath,stricture,placed\n"
                      "Иванов, Михаил Петрович,01.03.2024,1.5,1.6,2,10-12,нет,да\n"
                      "\"Петров, Иван\",01.03.2024,1.5,1.6,2,10-12,нет,да\n")
        << QStringList {QStringLiteral("2:d1:!moved")} << 1 << false;
}

void CaseLogTest::badRows()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, bad);
    QFETCH(int, goodRows);
    QFETCH(bool, mostBad);

    const Read read = readLog(bytes);
    QCOMPARE(badTexts(read.reading.badCells), bad);
    QCOMPARE(int(read.cases.size()), goodRows);
    QCOMPARE(read.reading.rowsRead - read.reading.badRows, goodRows);
    QCOMPARE(read.reading.mostRowsBad(), mostBad);
}

void CaseLogTest::progress_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("stopAtCall"); // 0: never
    QTest::addColumn<int>("calls");
    QTest::addColumn<int>("rowsRead");

    const int every = CaseLogReader::ProgressRows;
    QTest::newRow("fewer rows than a step: never asked") << every - 1 << 0 << 0 << every - 1;
    QTest::newRow("read to the end") << 2 * every + 5 << 0 << 2 << 2 * every + 5;
    QTest::newRow("stopped at the first step") << 2 * every + 5 << 1 << 1 << every;
    QTest::newRow("stopped at the last step") << 2 * every << 2 << 2 << 2 * every;
}

// The hook is told the rows read so far, and stopping it ends the reading
// with an error, so that a cancelled log never passes for a read one.
void CaseLogTest::progress()
{
    QFETCH(int, rows);
    QFETCH(int, stopAtCall);
    QFETCH(int, calls);
    QFETCH(int, rowsRead);

    QByteArray log("d1,d2,d3,sheath,stricture,placed\n");
    for (int row = 0; row < rows; ++row)
        log += "1.5,1.6,2,10-12,нет,да\n";
    QVector<int> told;
    int cases = 0;
    CaseLogReader reader([&cases](const LogCase &) { ++cases; },
                         [&](int read) {
                             told.append(read);
                             return int(told.size()) != stopAtCall;
                         });
    const CaseLogReading reading = reader.read(log);
    QCOMPARE(int(told.size()), calls);
    for (int i = 0; i < told.size(); ++i)
        QCOMPARE(told.at(i), (i + 1) * CaseLogReader::ProgressRows);
    QCOMPARE(reading.rowsRead, rowsRead);
    QCOMPARE(cases, rowsRead);
    QCOMPARE(reading.cancelled, stopAtCall > 0);
    QCOMPARE(reading.error.isEmpty(), stopAtCall == 0);
}

void CaseLogTest::unreadableLogs_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("named");
    // What the message must not say: a patient's cells, or a whole long cell.
    QTest::addColumn<QStringList>("unsaid");

    const QByteArray row("1,5;1,6;2;10-12;нет;да;Новиков С.А.\n");
    const QByteArray header("d1;d2;d3;sheath;stricture;placed;name\n");
    QTest::newRow("cases where the header should be: told by place and kind")
        << utf8("У-2023-0001;Новиков Сергей Алексеевич;08.09.2024;Громов А.В.;1,5;нет\n")
        << QStringList {QStringLiteral("строка 1 похожа на данные, а не на заголовок")}
        << QStringList {QStringLiteral("У-2023-0001"), QStringLiteral("Новиков"),
                        QStringLiteral("08.09.2024"), QStringLiteral("Громов")};
    QTest::newRow("a title, then cases")
        << utf8("Журнал Новикова\n1,5;1,6;2;10-12;нет;да;Громов А.В.\n")
        << QStringList {QStringLiteral("ни одна ячейка первых 20 строк")}
        << QStringList {QStringLiteral("Новиков"), QStringLiteral("Громов")};
    QTest::newRow("a megabyte in a header cell: cut")
        << "d1;d2;d3;sheath;stricture;" + QByteArray(1 << 20, 'x') + "\n"
        << QStringList {QStringLiteral("«xxxxxxxxxx"), QStringLiteral("x…»")}
        << QStringList {QString(BadCellTexts::QuotedLength + 1, QLatin1Char('x'))};
    QByteArray zero = header;
    for (int i = 1; i <= 60; ++i)
        zero += i == 29 ? QByteArray(row).insert(row.size() - 1, '\0') : row;
    // Qt 5 would have read up to the zero byte: half the log.
    QTest::newRow("a zero byte at the end of row 30 of 61")
        << zero << QStringList {QStringLiteral("в строке 30 нулевой байт")}
        << QStringList {QStringLiteral("Новиков")};
    QTest::newRow("a Windows-1251 name in row 3 of a UTF-8 log")
        << header + row + row.left(row.indexOf("Новиков"))
            + encoded(QStringLiteral("Новиков"), "Windows-1251") + "\n" + row + row
        << QStringList {QStringLiteral("в строке 3 текст в другой кодировке")}
        << QStringList {QStringLiteral("Новиков")};
    // Qt 5's encoder writes a mark of its own.
    const auto unmarked = [](const QByteArray &bytes) {
        return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") ? bytes.mid(2) : bytes;
    };
    const QString russian = QStringLiteral("Диаметр 1\tДиаметр 2\tКожух\n1,5\t1,6\t10-12\n");
    QTest::newRow("UTF-16 little-endian without a mark")
        << unmarked(encoded(russian, "UTF-16LE"))
        << QStringList {QStringLiteral("UTF-16 без метки")} << QStringList {QStringLiteral("\x04")};
    QTest::newRow("UTF-16 big-endian without a mark")
        << unmarked(encoded(russian, "UTF-16BE"))
        << QStringList {QStringLiteral("UTF-16 без метки")} << QStringList {QStringLiteral("\x04")};

    QTest::newRow("empty") << QByteArray() << QStringList {QStringLiteral("пуст")} << QStringList();
    QTest::newRow("one column missing")
        << utf8("d1;d2;sheath;stricture;placed\n1,5;1,6;10-12;нет;да\n")
        << QStringList {QStringLiteral("d3 (или «диаметр 3»)")} << QStringList();
    QTest::newRow("three missing, Russian header")
        << utf8("диаметр 1,диаметр 2,диаметр 3,примечание\n")
        << QStringList {QStringLiteral("sheath (или «кожух»)"),
                        QStringLiteral("stricture (или «стриктура»)"),
                        QStringLiteral("placed (или «установлен»)")}
        << QStringList();
    QTest::newRow("a column twice")
        << utf8("d1,d2,d3,sheath,stricture,placed,Установлен\n")
        << QStringList {QStringLiteral("placed"), QStringLiteral("дважды")} << QStringList();
    QTest::newRow("a header in another separator than the rows")
        << utf8("d1 d2 d3 sheath stricture placed\n") << QStringList {QStringLiteral("d1")}
        << QStringList();
    QTest::newRow("a title row, a misspelt name: the row as read, the close cell")
        << utf8("Журнал\nДиамтр 1;d2;d3;sheath;stricture;Установка\n")
        << QStringList {QStringLiteral("строка 2"), QStringLiteral("«Диамтр 1», «d2»"),
                        QStringLiteral("столбец A «Диамтр 1»"),
                        QStringLiteral("столбец F «Установка»")}
        << QStringList();
    QTest::newRow("a header below row 20")
        << QByteArray("x\n").repeated(20) + "d1;d2;d3;sheath;stricture;placed\n"
        << QStringList {QStringLiteral("нет столбца"), QStringLiteral("первых 20")}
        << QStringList();
    QTest::newRow("UTF-8 read as Windows-1251 and saved again")
        << QStringLiteral("Р”РёР°РјРµС‚СЂ 1;Р”РёР°РјРµС‚СЂ 2;РљРѕР¶СѓС…\n").toUtf8()
        << QStringList {QStringLiteral("другой кодировке")} << QStringList();
    QTest::newRow("an old Excel workbook")
        << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0W\0o\0r\0k\0b\0o\0o\0k\0", 24)
        << QStringList {QStringLiteral(".xls"), QStringLiteral(".xlsx, .ods или CSV")}
        << QStringList();
    QTest::newRow("a workbook with a password")
        << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"
                      "E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0",
                      40)
        << QStringList {QStringLiteral("паролем"), QStringLiteral(".xlsx, .ods или CSV")}
        << QStringList();
}

void CaseLogTest::unreadableLogs()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, named);
    QFETCH(QStringList, unsaid);

    const Read read = readLog(bytes);
    for (const QString &name : named)
        QVERIFY2(read.reading.error.contains(name), qPrintable(read.reading.error.left(2000)));
    for (const QString &text : unsaid)
        QVERIFY2(!read.reading.error.contains(text), qPrintable(read.reading.error.left(2000)));
    QVERIFY(read.cases.isEmpty());
}

void CaseLogTest::readWhole_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<qint64>("size"); // the file made this large, sparse; 0: as written
    QTest::addColumn<QString>("refusal");
    QTest::newRow("left alone: read whole") << false << qint64(0) << QString();
    QTest::newRow("saved while read: refused")
        << true << qint64(0) << QStringLiteral("изменился, пока его читали");
    QTest::newRow("past the limit: refused unread")
        << false << CaseLogReader::MaxLogBytes + 1 << QStringLiteral("больше 128 МБ");
}

void CaseLogTest::readWhole()
{
    QFETCH(bool, save);
    QFETCH(qint64, size);
    QFETCH(QString, refusal);
    QTemporaryDir dir;
    const QByteArray log = RussianLog.toUtf8();
    {
        QFile file(dir.filePath(QStringLiteral("log.csv")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(log) == log.size());
        QVERIFY(size == 0 || file.resize(size));
    }
    SavedWhileRead file(dir.filePath(QStringLiteral("log.csv")), save);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QString error;
    const std::optional<QByteArray> bytes = CaseLogReader::readWhole(file, &error);
    QCOMPARE(bytes.has_value(), refusal.isEmpty());
    QVERIFY2(refusal.isEmpty() ? error.isEmpty() : error.contains(refusal), qPrintable(error));
    if (bytes)
        QCOMPARE(*bytes, log);
    else if (size > 0)
        QCOMPARE(file.pos(), qint64(0));
}

QTEST_GUILESS_MAIN(CaseLogTest)
#include "tst_caselog.moc"
