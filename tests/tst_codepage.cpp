#include "statisticstable.h"

#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

// A clinic on a Russian Windows saves its statistics in the ANSI code page,
// Windows-1251, without a byte-order mark. Only there does that code page decide
// how such a file reads, so this runs where the ANSI code page is 1251 and
// skips elsewhere, unless VELMIRA_EXPECT_CP1251 says the run is meant to have it.
class CodePageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void readsAnsiCodePage_data();
    void readsAnsiCodePage();
};

void CodePageTest::initTestCase()
{
#ifdef Q_OS_WIN
    const unsigned codePage = GetACP();
#else
    const unsigned codePage = 0;
#endif
    if (codePage == 1251)
        return;
    if (qEnvironmentVariableIsSet("VELMIRA_EXPECT_CP1251"))
        QFAIL(qPrintable(QStringLiteral("The ANSI code page is %1, not 1251").arg(codePage)));
    QSKIP("The ANSI code page is not Windows-1251");
}

void CodePageTest::readsAnsiCodePage_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QStringList>("firstRow");

    // "Диаметр мм,Вероятность %" in Windows-1251.
    const QByteArray header = QByteArrayLiteral("\xc4\xe8\xe0\xec\xe5\xf2\xf0 \xec\xec,"
                                                "\xc2\xe5\xf0\xee\xff\xf2\xed\xee\xf1\xf2\xfc %");
    const QStringList labels = {QStringLiteral("Диаметр мм"), QStringLiteral("Вероятность %")};
    const QStringList row = {QStringLiteral("1.45"), QStringLiteral("33")};

    QTest::newRow("LF") << header + "\n1.45,33\n" << labels << row;
    QTest::newRow("CR LF") << header + "\r\n1.45,33\r\n" << labels << row;
    // "# примечание" in Windows-1251: a comment line, read and dropped.
    QTest::newRow("Cyrillic comment")
        << header + "\n# \xef\xf0\xe8\xec\xe5\xf7\xe0\xed\xe8\xe5\n1.45,33\n"
        << labels << row;
    // A byte-order mark still wins over the code page.
    QTest::newRow("UTF-8 with BOM") << QByteArrayLiteral("\xef\xbb\xbf")
            + QStringLiteral("Диаметр мм,Вероятность %\n1.45,33\n").toUtf8()
                                    << labels << row;
}

void CodePageTest::readsAnsiCodePage()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, labels);
    QFETCH(QStringList, firstRow);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Statistics_1.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
    file.close();

    QTableWidget table;
    loadStatisticsTable(&table, path);
    QCOMPARE(table.columnCount(), 2);
    QCOMPARE(table.model()->headerData(0, Qt::Horizontal).toString(), labels.at(0));
    QCOMPARE(table.model()->headerData(1, Qt::Horizontal).toString(), labels.at(1));
    QCOMPARE(table.rowCount(), 1);
    QCOMPARE(table.item(0, 0)->text(), firstRow.at(0));
    QCOMPARE(table.item(0, 1)->text(), firstRow.at(1));
}

QTEST_MAIN(CodePageTest)
#include "tst_codepage.moc"
