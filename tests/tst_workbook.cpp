#include "celltext.h"
#include "numberformat.h"
#include "workbookreader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QVector>
#include <QtTest>

#include <zip.h>

namespace {

QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(VELMIRA_WORKBOOKS_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return file.readAll();
}

QStringList texts(std::initializer_list<const char *> list)
{
    QStringList result;
    for (const char *text : list)
        result.append(QString::fromUtf8(text));
    return result;
}

// Every row of every sheet, as "sheet/row" -> cells joined by '|', and the
// sheets with their row counts as "name:rows".
struct WorkbookContents {
    QMap<QString, QString> rows;
    QStringList sheets;
    QString error;
};

WorkbookContents readAll(const QByteArray &bytes, const QVector<int> &columns = {},
                         qint64 partLimit = WorkbookReader::DefaultPartLimit, bool keepRows = true)
{
    WorkbookContents contents;
    const auto reader = WorkbookReader::open(bytes, &contents.error, partLimit);
    if (!reader)
        return contents;
    while (reader->nextSheet()) {
        int count = 0;
        SheetRow row;
        while (reader->readRow(row, columns)) {
            if (keepRows)
                contents.rows.insert(reader->sheetName() + QLatin1Char('/')
                                         + QString::number(row.number),
                                     row.cells.toList().join(QLatin1Char('|')));
            ++count;
        }
        contents.sheets.append(reader->sheetName() + QLatin1Char(':') + QString::number(count));
    }
    contents.error = reader->error();
    return contents;
}

// A ZIP archive of the given entries (name, contents), written by minizip.
QByteArray zipOf(const QVector<QPair<QByteArray, QByteArray>> &entries)
{
    QTemporaryDir folder;
    const QByteArray path = QFile::encodeName(folder.filePath(QStringLiteral("a.zip")));
    zipFile zip = zipOpen64(path.constData(), APPEND_STATUS_CREATE);
    for (const auto &entry : entries) {
        zip_fileinfo info {};
        if (zipOpenNewFileInZip4_64(zip, entry.first.constData(), &info, nullptr, 0, nullptr, 0,
                                    nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS,
                                    DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, 0, 0, 0)
            != ZIP_OK)
            qFatal("cannot add %d bytes of name", int(entry.first.size()));
        zipWriteInFileInZip(zip, entry.second.constData(), unsigned(entry.second.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
    QFile file(QFile::decodeName(path));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// An OpenDocument spreadsheet of one cell, its paragraphs as given, after
// the given prolog.
QByteArray odsOf(const QByteArray &prolog, const QByteArray &cell)
{
    const QByteArray content = "<?xml version=\"1.0\"?>" + prolog
        + "<office:document-content"
          " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
          " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
          " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\">"
          "<office:body><office:spreadsheet><table:table table:name=\"Журнал\"><table:table-row>"
          "<table:table-cell office:value-type=\"string\">"
        + cell
        + "</table:table-cell></table:table-row></table:table></office:spreadsheet>"
          "</office:body></office:document-content>";
    return zipOf(
        {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}, {"content.xml", content}});
}

// A workbook whose sheets all name one part, as a crafted one may.
QByteArray xlsxOf(int sheets, const QByteArray &sheet)
{
    QByteArray names;
    for (int i = 1; i <= sheets; ++i)
        names += "<sheet name=\"S" + QByteArray::number(i) + "\" r:id=\"rId1\"/>";
    return zipOf(
        {{"xl/workbook.xml",
          "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
          "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
          "<sheets>"
              + names + "</sheets></workbook>"},
         {"xl/_rels/workbook.xml.rels",
          "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
          "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
          "2006/relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/></Relationships>"},
         {"xl/worksheets/sheet1.xml",
          "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
          "<sheetData>"
              + sheet + "</sheetData></worksheet>"}});
}

// The archive with its last entry's checksum changed, in its header and in
// the directory alike, as if its data were damaged.
QByteArray wrongChecksum(QByteArray bytes)
{
    const int local = bytes.lastIndexOf("PK\x03\x04") + 14;
    const int central = bytes.lastIndexOf("PK\x01\x02") + 16;
    for (const int at : {local, central})
        bytes[at] = char(bytes.at(at) ^ 0x55);
    return bytes;
}

} // namespace

class TestWorkbook : public QObject {
    Q_OBJECT

private slots:
    void number_data();
    void number();
    void serialDate_data();
    void serialDate();
    void dateFormat_data();
    void dateFormat();
    void sheets_data();
    void sheets();
    void cells_data();
    void cells();
    void errors_data();
    void errors();
    void cancelWithinSheet();
    void isZip_data();
    void isZip();
};

void TestWorkbook::number_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("text");
    QTest::newRow("binary noise") << "1.4500000000000002"
                                  << "1.45";
    QTest::newRow("negative noise") << "-0.30000000000000004"
                                    << "-0.3";
    QTest::newRow("already shown") << "1.995"
                                   << "1.995";
    QTest::newRow("whole") << "100"
                           << "100";
    QTest::newRow("trailing zeros") << "12.50"
                                    << "12.5";
    QTest::newRow("bare point") << "7."
                                << "7";
    QTest::newRow("leading zeros") << "007"
                                   << "7";
    QTest::newRow("no integer part") << ".5"
                                     << "0.5";
    QTest::newRow("zero") << "0"
                          << "0";
    QTest::newRow("negative zero") << "-0.0"
                                   << "0";
    QTest::newRow("exponent") << "2E-3"
                              << "0.002";
    QTest::newRow("small exponent") << "1E-20"
                                    << "1E-20";
    QTest::newRow("large exponent") << "1.5e21"
                                    << "1.5E+21";
    QTest::newRow("largest plain") << "1e20"
                                   << "100000000000000000000";
    QTest::newRow("beyond 15 digits") << "123456789012345678"
                                      << "123456789012346000";
    QTest::newRow("15 digits kept") << "0.123456789012345"
                                    << "0.123456789012345";
    QTest::newRow("16 digits rounded") << "0.1234567890123456"
                                       << "0.123456789012346";
    QTest::newRow("not a number") << "#N/A"
                                  << "#N/A";
    QTest::newRow("comma is no point") << "1,5"
                                       << "1,5";
    QTest::newRow("empty") << ""
                           << "";
}

void TestWorkbook::number()
{
    QFETCH(QString, stored);
    QFETCH(QString, text);
    QCOMPARE(CellText::number(stored), text);
}

void TestWorkbook::serialDate_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("date1904");
    QTest::addColumn<QString>("text");
    QTest::newRow("first day") << "1" << false << "1900-01-01";
    QTest::newRow("before the false leap day") << "59" << false << "1900-02-28";
    QTest::newRow("the false leap day") << "60" << false << "1900-02-29";
    QTest::newRow("after it") << "61" << false << "1900-03-01";
    QTest::newRow("a day with a time") << "45000.75" << false << "2023-03-15";
    QTest::newRow("a leap day") << "45351" << false << "2024-02-29";
    QTest::newRow("last day") << "2958465" << false << "9999-12-31";
    QTest::newRow("beyond the last day") << "2958466" << false << "2958466";
    QTest::newRow("day zero is no date") << "0" << false << "0";
    QTest::newRow("negative") << "-1" << false << "-1";
    QTest::newRow("1904: day zero") << "0" << true << "1904-01-01";
    QTest::newRow("1904: same serial, other day") << "45352" << true << "2028-03-02";
    QTest::newRow("1904: last day") << "2957003" << true << "9999-12-31";
    QTest::newRow("not a number") << "x" << false << "x";
}

void TestWorkbook::serialDate()
{
    QFETCH(QString, stored);
    QFETCH(bool, date1904);
    QFETCH(QString, text);
    QCOMPARE(CellText::serialDate(stored, date1904), text);
}

void TestWorkbook::dateFormat_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("date");
    QTest::newRow("built-in short date") << 14 << "" << true;
    QTest::newRow("built-in date and time") << 22 << "" << true;
    QTest::newRow("built-in time") << 18 << "" << false;
    QTest::newRow("built-in minutes") << 47 << "" << false;
    QTest::newRow("built-in number") << 2 << "" << false;
    QTest::newRow("East Asian date") << 57 << "" << true;
    QTest::newRow("East Asian time") << 32 << "" << false;
    QTest::newRow("short year") << 164 << "DD.MM.YY" << true;
    QTest::newRow("locale in brackets") << 164 << "[$-419]D MMMM YYYY" << true;
    QTest::newRow("date and time") << 164 << "yyyy-mm-dd h:mm" << true;
    QTest::newRow("elapsed hours") << 164 << "[h]:mm" << false;
    QTest::newRow("time") << 164 << "h:mm:ss" << false;
    QTest::newRow("quoted day") << 164 << "0\" days\"" << false;
    QTest::newRow("escaped d") << 164 << "0\\d" << false;
    QTest::newRow("colour") << 164 << "[Red]0.00" << false;
    QTest::newRow("general") << 164 << "General" << false;
}

void TestWorkbook::dateFormat()
{
    QFETCH(int, id);
    QFETCH(QString, code);
    QFETCH(bool, date);
    QCOMPARE(id < 164 ? NumberFormat::isBuiltInDate(id) : NumberFormat::isDateCode(code), date);
}

void TestWorkbook::sheets_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("sheets");
    QTest::addColumn<QString>("format");
    QTest::newRow("several sheets and a chart")
        << "edge.xlsx" << texts({"Журнал:5", "2025:2", "Диаграмма:0"}) << "Excel (.xlsx)";
    QTest::newRow("million empty rows elements")
        << "million_rows.xlsx" << texts({"Журнал:1"}) << "Excel (.xlsx)";
    QTest::newRow("openpyxl") << "openpyxl.xlsx" << texts({"2024:4", "2025:2"}) << "Excel (.xlsx)";
    QTest::newRow("ods tables, a million empty rows")
        << "edge.ods" << texts({"Журнал:6", "2025:1", "Пусто:0"}) << "OpenDocument (.ods)";
}

void TestWorkbook::sheets()
{
    QFETCH(QString, file);
    QFETCH(QStringList, sheets);
    QFETCH(QString, format);
    QString error;
    const auto reader = WorkbookReader::open(fixture(file), &error);
    QVERIFY2(reader, qPrintable(error));
    QCOMPARE(reader->formatName(), format);
    // Only counted: a million rows kept would slow the sanitizers' run.
    const WorkbookContents contents
        = readAll(fixture(file), {0}, WorkbookReader::DefaultPartLimit, false);
    QCOMPARE(contents.error, QString());
    QCOMPARE(contents.sheets, sheets);
}

void TestWorkbook::cells_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QVector<int>>("columns");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("cells");
    const QVector<int> all;
    QTest::newRow("shared, rich, phonetic, inline rich") << "edge.xlsx" << all << "Журнал/1"
                                                         << "Имя|Дата|d1|Кожух";
    QTest::newRow("date, noise, logical, error, formulas, quoted days, time")
        << "edge.xlsx" << all << "Журнал/2"
        << "Иванов И.И.|2024-03-01|1.45|ИСТИНА|#N/A|2|ab|3|0.5";
    QTest::newRow("no references, custom date, exponent, spaces kept")
        << "edge.xlsx" << all << "Журнал/3"
        << "Петров|2023-03-15|0.002|ЛОЖЬ| два\nабзаца ";
    QTest::newRow("date cell, 15 digits, number format")
        << "edge.xlsx" << all << "Журнал/6"
        << "-0.1|2024-02-29|123456789012346000|12.5";
    QTest::newRow("1900 dates around the false leap day, a gap")
        << "edge.xlsx" << all << "Журнал/7"
        << "1E-20|1900-02-28|1900-03-01|1900-01-01||7";
    QTest::newRow("chosen columns, in the order asked")
        << "edge.xlsx" << QVector<int> {3, 1, 40} << "Журнал/2"
        << "ИСТИНА|2024-03-01|";
    QTest::newRow("a row with content only elsewhere")
        << "edge.xlsx" << QVector<int> {0} << "2025/3"
        << "";
    QTest::newRow("1904 dates") << "dates1904.xlsx" << all << "1904/1"
                                << "1904-01-02|2021-09-23|43000|ИСТИНА";
    QTest::newRow("ods: paragraphs, types, text elements, annotation")
        << "edge.ods" << all << "Журнал/2"
        << "Иванов\nИ.И.|2024-03-01|1.45|ИСТИНА|0.25|100.5|0.5|a   b\tc\nspan link|2.5";
    QTest::newRow("ods: a covered cell takes a column, repeated row")
        << "edge.ods" << all << "Журнал/5"
        << "слито||3";
    QTest::newRow("ods: repeated cells, in a row group")
        << "edge.ods" << QVector<int> {0, 2, 3, 1003, 1004} << "Журнал/8"
        << "7|7||ЛОЖЬ|";
}

void TestWorkbook::cells()
{
    QFETCH(QString, file);
    QFETCH(QVector<int>, columns);
    QFETCH(QString, row);
    QFETCH(QString, cells);
    const WorkbookContents contents = readAll(fixture(file), columns);
    QCOMPARE(contents.error, QString());
    QVERIFY2(contents.rows.contains(row), qPrintable(contents.rows.keys().join(QLatin1Char(' '))));
    QCOMPARE(contents.rows.value(row), cells);
}

void TestWorkbook::errors_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("partLimit");
    QTest::addColumn<QStringList>("fragments");
    const qint64 noLimit = WorkbookReader::DefaultPartLimit;
    QTest::newRow("damaged sheet") << fixture(QStringLiteral("damaged.xlsx")) << noLimit
                                   << texts({"часть xl/worksheets/sheet1.xml", "повреждён"});
    QTest::newRow("missing sheet part") << fixture(QStringLiteral("missing_sheet.xlsx")) << noLimit
                                        << texts({"часть xl/worksheets/sheet2.xml", "нет"});
    QTest::newRow("over the limit") << fixture(QStringLiteral("bomb.xlsx")) << qint64(100000)
                                    << texts({"часть xl/worksheets/sheet1.xml", "ZIP-бомба"});
    QTest::newRow("first part over the limit")
        << fixture(QStringLiteral("edge.xlsx")) << qint64(300)
        << texts({"часть xl/workbook.xml", "0.293 КБ", "ZIP-бомба"});
    QTest::newRow("cut short") << fixture(QStringLiteral("edge.xlsx")).left(2000) << noLimit
                               << texts({"ZIP", "повреждён"});
    QTest::newRow("a row past the sheet's last")
        << fixture(QStringLiteral("rows_past_end.xlsx")) << noLimit
        << texts({"лист «Журнал»", "1048577", "повреждена"});
    // A row standing for 2,000,000: the cases past the last row would vanish.
    QTest::newRow("rows repeated past the sheet's last")
        << fixture(QStringLiteral("repeated_rows.ods")) << noLimit
        << texts({"лист «Повтор»", "1048576", "повреждена"});
    QTest::newRow("a ZIP, no workbook") << fixture(QStringLiteral("not_workbook.zip")) << noLimit
                                        << texts({"архив ZIP, но не книга"});
    QTest::newRow("OLE: old .xls or password")
        << fixture(QStringLiteral("ole.xls")) << noLimit << texts({".xls", ".xlsx, .ods или CSV"});
    QTest::newRow("text") << QByteArray("d1;d2\n1;2\n") << noLimit << texts({"нет архива ZIP"});
    // Names longer than any buffer a reader might keep, one with a NUL that
    // would end it at a part's name.
    QTest::newRow("entry name of 1,100 bytes")
        << zipOf({{QByteArray(1100, 'x'), "<x/>"}}) << noLimit << texts({"архив ZIP, но не книга"});
    QTest::newRow("entry name of 65,000 bytes") << zipOf({{QByteArray(65000, 'x'), "<x/>"}})
                                                << noLimit << texts({"архив ZIP, но не книга"});
    QTest::newRow("a document type (entities)")
        << odsOf(QByteArray("<!DOCTYPE d [<!ENTITY a \"") + QByteArray(4000, 'a') + "\">]>",
                 QByteArray("<text:p>") + QByteArray("&a;").repeated(300000) + "</text:p>")
        << noLimit << texts({"часть content.xml", "<!DOCTYPE>"});
    QTest::newRow("a cell of 16,384 spaces 70,000 times")
        << odsOf({},
                 "<text:p>" + QByteArray("<text:s text:c=\"16384\"/>").repeated(70000)
                     + "</text:p>")
        << noLimit << texts({"часть content.xml", "больше 32767 знаков"});
    // Each part fits its limit; sixty times the same one does not.
    QTest::newRow("sixty sheets naming one part")
        << xlsxOf(60, QByteArray("<row><c><v>1</v></c></row>").repeated(200)) << qint64(100000)
        << texts({"часть xl/worksheets/sheet1.xml", "вместе с прежними", "ZIP-бомба"});
    QTest::newRow("a checksum that does not agree")
        << wrongChecksum(odsOf({}, "<text:p>x</text:p>")) << noLimit
        << texts({"часть content.xml", "контрольная сумма"});
    QTest::newRow("a prolog past 64 KB")
        << odsOf("<!--" + QByteArray(70000, 'x') + "-->", "<text:p>x</text:p>") << noLimit
        << texts({"часть content.xml", "больше 64 КБ"});
    // minizip writes names up to a NUL: the NUL is set into the archive's bytes.
    QTest::newRow("entry name with a NUL")
        << zipOf({{"xl/workbook.xml|.txt", "<x/>"}})
               .replace(QByteArray("xml|.txt"), QByteArray("xml\0.txt", 8))
        << noLimit << texts({"архив ZIP, но не книга"});
}

void TestWorkbook::errors()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, partLimit);
    QFETCH(QStringList, fragments);
    const WorkbookContents contents = readAll(bytes, {}, partLimit);
    for (const QString &fragment : fragments)
        QVERIFY2(contents.error.contains(fragment), qPrintable(contents.error));
}

// A sheet of few rows can still take minutes: the reader is asked within it.
void TestWorkbook::cancelWithinSheet()
{
    const QByteArray bytes = xlsxOf(1, QByteArray("<row><c/></row>").repeated(200000));
    int asked = 0;
    QString error;
    const auto reader = WorkbookReader::open(bytes, &error, WorkbookReader::DefaultPartLimit,
                                             [&asked] { return ++asked < 2; });
    QVERIFY2(reader && reader->nextSheet(), qPrintable(error));
    SheetRow row;
    QVERIFY(!reader->readRow(row));
    QCOMPARE(asked, 2);
    QVERIFY2(reader->error().contains(QStringLiteral("чтение прервано")),
             qPrintable(reader->error()));
}

void TestWorkbook::isZip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("zip");
    QTest::newRow("xlsx") << fixture(QStringLiteral("edge.xlsx")) << true;
    QTest::newRow("ods") << fixture(QStringLiteral("edge.ods")) << true;
    QTest::newRow("empty archive") << QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0') << true;
    QTest::newRow("OLE") << fixture(QStringLiteral("ole.xls")) << false;
    QTest::newRow("CSV") << QByteArray("PK;d1\n") << false;
    QTest::newRow("nothing") << QByteArray() << false;
}

void TestWorkbook::isZip()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, zip);
    QCOMPARE(WorkbookReader::isZip(bytes), zip);
}

QTEST_GUILESS_MAIN(TestWorkbook)
#include "tst_workbook.moc"
