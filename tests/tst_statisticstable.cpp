#include "statisticsdiagnosis.h"
#include "statisticstable.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace {

QString headerLabel(const QTableWidget &table, int column)
{
    return table.model()->headerData(column, Qt::Horizontal).toString();
}

QStringList rowTexts(const QTableWidget &table, int row)
{
    return {table.item(row, 0)->text(), table.item(row, 1)->text()};
}

} // namespace

class StatisticsTableTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void loadsFile_data();
    void loadsFile();
    void unreadableFileLeavesEmptyTable_data();
    void unreadableFileLeavesEmptyTable();
    void itemsAreCentredAndEditable();
    void diagnosesLoad_data();
    void diagnosesLoad();

private:
    QString writeFile(const QByteArray &bytes);

    QScopedPointer<QTemporaryDir> dir;
};

void StatisticsTableTest::init()
{
    dir.reset(new QTemporaryDir);
    QVERIFY(dir->isValid());
}

QString StatisticsTableTest::writeFile(const QByteArray &bytes)
{
    const QString path = dir->filePath(QStringLiteral("Statistics_1.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

void StatisticsTableTest::loadsFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QVector<QStringList>>("rows");

    const QByteArray example = "d,P\n# a remark, with a comma\n\n1.45,62\n1.46 ,\t64\n"
                               "1.47,66,remark\n #1.48,68\n1.49\n1.50,\n";
    const QVector<QStringList> exampleRows = {{QStringLiteral("1.45"), QStringLiteral("62")},
                                              {QStringLiteral("1.46 "), QStringLiteral(" 64")},
                                              {QStringLiteral("1.47"), QStringLiteral("66")},
                                              {QStringLiteral("#1.48"), QStringLiteral("68")},
                                              {QStringLiteral("1.50"), QString()}};
    const QStringList dp = {QStringLiteral("d"), QStringLiteral("P")};
    QByteArray crlf = example;
    crlf.replace("\n", "\r\n");

    QTest::newRow("example table") << example << dp << exampleRows;
    QTest::newRow("CR LF") << crlf << dp << exampleRows;
    QTest::newRow("empty file: empty first label, default second")
        << QByteArray() << QStringList {QString(), QStringLiteral("2")} << QVector<QStringList> {};
    QTest::newRow("header without comma")
        << QByteArray("diameter\n") << QStringList {QStringLiteral("diameter"), QStringLiteral("2")}
        << QVector<QStringList> {};
    const QByteArray longLabel(200, 'x');
    QTest::newRow("header label of 200 characters kept")
        << QByteArray(longLabel + ",P\n")
        << QStringList {QString::fromLatin1(longLabel), QStringLiteral("P")}
        << QVector<QStringList> {};
    QTest::newRow("longer header label shortened")
        << QByteArray("P," + longLabel + "y\n")
        << QStringList {QStringLiteral("P"), QString(199, QLatin1Char('x')) + QChar(0x2026)}
        << QVector<QStringList> {};
    QTest::newRow("header with three fields")
        << QByteArray("a,b,c\n1.5,50,x\n") << QStringList {QStringLiteral("a"), QStringLiteral("b")}
        << QVector<QStringList> {{QStringLiteral("1.5"), QStringLiteral("50")}};

    const QString russian = QStringLiteral("Диаметр (мм),Вероятность (%)");
    QTest::newRow("UTF-8 with byte-order mark")
        << QByteArray("\xEF\xBB\xBF" + russian.toUtf8() + "\n1.5,50\n")
        << russian.split(QLatin1Char(','))
        << QVector<QStringList> {{QStringLiteral("1.5"), QStringLiteral("50")}};
    QString utf16Text = russian + QStringLiteral("\n1.5,50\n");
    QByteArray utf16("\xFF\xFE");
    utf16.append(reinterpret_cast<const char *>(utf16Text.utf16()), utf16Text.size() * 2);
    QTest::newRow("UTF-16 with byte-order mark")
        << utf16 << russian.split(QLatin1Char(','))
        << QVector<QStringList> {{QStringLiteral("1.5"), QStringLiteral("50")}};
}

void StatisticsTableTest::loadsFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, labels);
    QFETCH(QVector<QStringList>, rows);

    const QString path = writeFile(bytes);
    QVERIFY(!path.isEmpty());
    QTableWidget table;
    loadStatisticsTable(&table, path);

    QCOMPARE(table.columnCount(), 2);
    QCOMPARE(headerLabel(table, 0), labels.at(0));
    QCOMPARE(headerLabel(table, 1), labels.at(1));
    QCOMPARE(table.rowCount(), rows.size());
    for (int row = 0; row < rows.size(); ++row)
        QCOMPARE(rowTexts(table, row), rows.at(row));
}

void StatisticsTableTest::unreadableFileLeavesEmptyTable_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << QStringLiteral("missing");
    QTest::newRow("directory") << QStringLiteral("directory");
}

void StatisticsTableTest::unreadableFileLeavesEmptyTable()
{
    QFETCH(QString, kind);
    const QString path = dir->filePath(QStringLiteral("Statistics_1.txt"));
    if (kind == QLatin1String("directory"))
        QVERIFY(QDir().mkpath(path));

    QTableWidget table;
    loadStatisticsTable(&table, path);

    QCOMPARE(table.columnCount(), 2);
    QCOMPARE(table.rowCount(), 0);
    QCOMPARE(headerLabel(table, 0), QStringLiteral("1"));
    QCOMPARE(headerLabel(table, 1), QStringLiteral("2"));
    // Rows a user might add later stretch like loaded ones.
    table.setRowCount(1);
    QCOMPARE(table.horizontalHeader()->sectionResizeMode(0), QHeaderView::Stretch);
    QCOMPARE(table.verticalHeader()->sectionResizeMode(0), QHeaderView::Stretch);
}

void StatisticsTableTest::itemsAreCentredAndEditable()
{
    const QString path = writeFile("d,P\n1.5,50\n1.6,60\n");
    QTableWidget table;
    loadStatisticsTable(&table, path);

    QCOMPARE(table.horizontalHeader()->sectionResizeMode(1), QHeaderView::Stretch);
    QCOMPARE(table.verticalHeader()->sectionResizeMode(1), QHeaderView::Stretch);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            const QTableWidgetItem *item = table.item(row, column);
            QVERIFY(item);
            QCOMPARE(item->type(), int(QTableWidgetItem::Type));
            QCOMPARE(item->data(Qt::TextAlignmentRole), QVariant(132));
            QVERIFY(item->flags() & Qt::ItemIsEditable);
        }
    }
    QVERIFY(table.editTriggers() != QAbstractItemView::NoEditTriggers);
}

Q_DECLARE_METATYPE(StatisticsDiagnosis::Status)

void StatisticsTableTest::diagnosesLoad_data()
{
    using Status = StatisticsDiagnosis::Status;
    QTest::addColumn<QByteArray>("bytes"); // "missing" and "directory" put no file there
    QTest::addColumn<Status>("status");
    QTest::addColumn<QString>("report"); // part of the tool tip after its first line

    const auto row
        = [](const char *name, const QByteArray &bytes, Status status, const char *report) {
              QTest::newRow(name) << bytes << status << QString::fromUtf8(report);
          };
    row("missing", "missing", Status::NotFound, "Таблица пуста: файл не найден в этой папке.");
    row("directory", "directory", Status::NotReadable, "не файл, а папка.");
    row("header only", "d,P\n# remark\n", Status::NoDataRows,
        "нет ни одной строки с запятой.\n\nremark");
    row("clinic's own file", "Диаметр,P\n1.5,50\n", Status::Loaded, "Загружено строк: 1.");
    row("unusable rows", "d,P\n1.5,50\n\n1.6,5 0\n1.7,abc\n", Status::Loaded,
        "Загружено строк: 3. Непригодных для расчёта: 2, первая — строка 4 файла (строка 2 "
        "таблицы).");
    row("spreadsheet export", "Диаметр;Вероятность\n1,44;29\n", Status::Loaded,
        "Непригодных для расчёта: 1, первая — строка 2 файла (строка 1 таблицы).\nФайл похож на "
        "выгрузку из электронной таблицы: в нём есть точки с запятой, а пригодных строк через "
        "запятую нет. Сохраните его так: запятая между столбцами, точка в диаметре");
    row("semicolons beside usable rows", "d;P\n1.5,50\n", Status::Loaded, "строк: 1.");
    row("Windows-1251 header", "\xC4\xE8\xE0\xEC\xE5\xF2\xF0,P\n1.5,50\n", Status::Loaded,
        "Сохраните файл в кодировке UTF-8");
    row("UTF-16 with byte-order mark",
        QByteArray("\xFF\xFE"
                   "d\0,\0P\0\n\0",
                   10),
        Status::NoDataRows, "нет строк данных");
    const QByteArray counts = "Диаметр мм,Процент,Случаев,Установлено,Случаев в блоке,"
                              "Установлено в блоке,Блок от мм,Блок до мм,ДИ от %,ДИ до %\n";
    row("clinic's counts", counts + "1.51,64,12,8,37,24,1.49,1.52,49,78\n1.52,64,0,0,,,,,,\n",
        Status::Loaded, "случаев в строках таблицы — 12, строк со счётчиками — 2;");
    row("malformed counts", counts + "1.51,64,12,80,37,24,1.49,1.52,49,78\n", Status::Loaded,
        "Строк с повреждёнными счётчиками случаев: 1 (первая — строка 1 таблицы)");
    row("counts that contradict the row", counts + "1.50,61\n1.51,99,12,8,37,24,1.49,1.52,49,78\n",
        Status::Loaded,
        "Уилсона.\nСтрок с повреждёнными счётчиками случаев: 1 (первая — "
        "строка 2 таблицы): счётчики не согласуются с процентом.");
#ifndef Q_OS_WIN
    // Refused unopened, as a missing file is: none of them may hold up start-up.
    row("a pipe", "fifo", Status::NotReadable, "не обычный файл (канал, устройство");
    row("a link to /dev/zero", "devzero", Status::NotReadable, "не обычный файл");
#endif
    row("a runaway file", "large", Status::NotReadable, "файл больше 1 МБ");
    row("a file at the limit", "limit", Status::Loaded, "Загружено строк: 1.");
    row("columns that are no counts", "d,P,Хирург\n1.5,50,Иванов\n", Status::Loaded,
        "Столбцы после второго — не счётчики случаев");
    row("comments follow", "d,P\n# Демо, не клинические\n#\n# как заменить\n1.5,50\n",
        Status::Loaded, "Загружено строк: 1.\n\nДемо, не клинические\n\nкак заменить");
}

void StatisticsTableTest::diagnosesLoad()
{
    QFETCH(QByteArray, bytes);
    QFETCH(StatisticsDiagnosis::Status, status);
    QFETCH(QString, report);

    const QString path = dir->filePath(QStringLiteral("Statistics_1.txt"));
    if (bytes == "directory")
        QVERIFY(QDir().mkpath(path));
#ifndef Q_OS_WIN
    else if (bytes == "fifo")
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (bytes == "devzero")
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
#endif
    else if (bytes == "large" || bytes == "limit") // one byte over or just at it
        QVERIFY(!writeFile("d,P\n"
                           + QByteArray(MaxStatisticsFileBytes - (bytes == "large" ? 10 : 11), '\n')
                           + "1.5,50\n")
                     .isEmpty());
    else if (bytes != "missing")
        QVERIFY(!writeFile(bytes).isEmpty());
    // Named relative to the working directory, as the program names its files.
    const QString previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir->path()));
    QTableWidget table;
    const StatisticsDiagnosis diagnosis
        = loadStatisticsTable(&table, QStringLiteral(".//Statistics_1.txt"));
    QVERIFY(QDir::setCurrent(previousDir));

    QCOMPARE(diagnosis.status, status);
    const QString firstLine = QStringLiteral("Файл: ")
        + QDir::toNativeSeparators(QDir(dir->path()).canonicalPath()
                                   + QStringLiteral("/Statistics_1.txt\n"));
    QVERIFY2(table.toolTip().startsWith(firstLine), qPrintable(table.toolTip()));
    const QString rest = table.toolTip().mid(firstLine.size());
    QVERIFY2(rest.contains(report), qPrintable(rest));
    // Nothing is said that does not apply: a sound file gets its row count alone.
    for (const char *finding : {"UTF-8", "точки с запятой", "Непригодных", "\n\n"})
        QCOMPARE(rest.contains(QString::fromUtf8(finding)),
                 report.contains(QString::fromUtf8(finding)));
    if (diagnosis.spreadsheetExport) // explained, never read otherwise
        QCOMPARE(table.item(0, 1)->text(), QStringLiteral("44;29"));
}

QTEST_MAIN(StatisticsTableTest)
#include "tst_statisticstable.moc"
