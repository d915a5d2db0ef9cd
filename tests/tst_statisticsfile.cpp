#include "statisticsfile.h"

#include <QTest>
#include <QTextStream>

namespace {

using Rows = QVector<QStringList>;

StatisticsFile parse(const QString &text)
{
    QString copy = text;
    QTextStream stream(&copy, QIODevice::ReadOnly);
    return parseStatistics(stream);
}

Rows rowsOf(const StatisticsFile &file)
{
    Rows rows;
    for (const StatisticsRow &row : file.rows)
        rows.append({row.diameter, row.percentage});
    return rows;
}

} // namespace

class StatisticsFileTest : public QObject {
    Q_OBJECT

private slots:
    void parsesLines_data();
    void parsesLines();
    void notesFindings_data();
    void notesFindings();
};

void StatisticsFileTest::parsesLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<Rows>("rows");

    const QString example = QStringLiteral("d,P\n"
                                           "# a remark, with a comma\n"
                                           "\n"
                                           "1.45,62\n"
                                           "1.46 ,\t64\n"
                                           "1.47,66,remark\n"
                                           " #1.48,68\n"
                                           "1.49\n"
                                           "1.50,\n");
    const Rows exampleRows = {{QStringLiteral("1.45"), QStringLiteral("62")},
                              {QStringLiteral("1.46 "), QStringLiteral(" 64")},
                              {QStringLiteral("1.47"), QStringLiteral("66")},
                              {QStringLiteral("#1.48"), QStringLiteral("68")},
                              {QStringLiteral("1.50"), QString()}};
    const QStringList dp = {QStringLiteral("d"), QStringLiteral("P")};

    QTest::newRow("example table") << example << dp << exampleRows;
    QString crlf = example;
    crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    QTest::newRow("CR LF like LF") << crlf << dp << exampleRows;
    QTest::newRow("empty file") << QString() << QStringList {QString()} << Rows {};
    QTest::newRow("header only") << QStringLiteral("d,P\n") << dp << Rows {};
    QTest::newRow("header without final line break") << QStringLiteral("d,P") << dp << Rows {};
    QTest::newRow("header without comma") << QStringLiteral("  diameter   and  percent \n1.5,50\n")
                                          << QStringList {QStringLiteral("diameter and percent")}
                                          << Rows {{QStringLiteral("1.5"), QStringLiteral("50")}};
    QTest::newRow("header with three fields keeps two")
        << QStringLiteral("d,P,note\n") << dp << Rows {};
    QTest::newRow("header starting with # is still the header")
        << QStringLiteral("#d,P\n1.5,50\n")
        << QStringList {QStringLiteral("#d"), QStringLiteral("P")}
        << Rows {{QStringLiteral("1.5"), QStringLiteral("50")}};
    QTest::newRow("# after a blank is data")
        << QStringLiteral("d,P\n\t# 1.5,50\n") << dp
        << Rows {{QStringLiteral("# 1.5"), QStringLiteral("50")}};
    QTest::newRow("blank lines leave no gaps")
        << QStringLiteral("d,P\n1.5,50\n   \n\t\n1.6,60\n") << dp
        << Rows {{QStringLiteral("1.5"), QStringLiteral("50")},
                 {QStringLiteral("1.6"), QStringLiteral("60")}};
    QTest::newRow("leading comma gives an empty first cell")
        << QStringLiteral("d,P\n,50\n") << dp << Rows {{QString(), QStringLiteral("50")}};
    QTest::newRow("only commas") << QStringLiteral("d,P\n,,,\n") << dp
                                 << Rows {{QString(), QString()}};
    QTest::newRow("inner whitespace collapses to one blank")
        << QStringLiteral("d,P\n 1 .5  ,  5 0 \n") << dp
        << Rows {{QStringLiteral("1 .5 "), QStringLiteral(" 5 0")}};
}

void StatisticsFileTest::parsesLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, header);
    QFETCH(Rows, rows);

    const StatisticsFile file = parse(text);
    QCOMPARE(file.headerLabels, header);
    QCOMPARE(rowsOf(file), rows);
}

// What the parse keeps for telling the user about the file; the rows stay as above.
void StatisticsFileTest::notesFindings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("comments");
    QTest::addColumn<int>("unusableRows");
    QTest::addColumn<int>("firstUnusableLine");
    QTest::addColumn<int>("firstUnusableRow");
    QTest::addColumn<bool>("semicolons");

    QTest::newRow("mixed table") << QStringLiteral("d,P\n# a remark, with a comma\n\n1.45,62\n"
                                                   "1.46 ,\t64\n #1.48,68\n1.49\n1.50,\n")
                                 << QStringList {QStringLiteral("a remark, with a comma")} << 2 << 6
                                 << 2 << false;
    QTest::newRow("comments without mark and outer blanks")
        << QStringLiteral("d,P\n#  Демо: не клинические  \n#\n1.5,50\n#last")
        << QStringList {QStringLiteral("Демо: не клинические"), QString(), QStringLiteral("last")}
        << 0 << 0 << -1 << false;
    QTest::newRow("spreadsheet export with decimal comma")
        << QStringLiteral("Диаметр;Вероятность\r\n1,44;29\r\n1,45;33\r\n") << QStringList {} << 2
        << 2 << 0 << true;
    QTest::newRow("semicolons and decimal points give no row")
        << QStringLiteral("d;P\n1.44;29\n") << QStringList {} << 0 << 0 << -1 << true;
    QTest::newRow("semicolons in comments and usable rows do not count")
        << QStringLiteral("#d,P\n# a;b\n1.5,50,a;b\n") << QStringList {QStringLiteral("a;b")} << 0
        << 0 << -1 << false;
    QTest::newRow("not a number, not finite, percentage out of range")
        << QStringLiteral("d,P\n1.5,50\n\n1.6,101\nnan,5\ninf,5\n1 .7,5\n1.8,5%\n")
        << QStringList {} << 5 << 4 << 1 << false;
}

void StatisticsFileTest::notesFindings()
{
    QFETCH(QString, text);
    QFETCH(QStringList, comments);
    QFETCH(int, unusableRows);
    QFETCH(int, firstUnusableLine);
    QFETCH(int, firstUnusableRow);
    QFETCH(bool, semicolons);

    const StatisticsFile file = parse(text);
    QCOMPARE(file.comments, comments);
    QCOMPARE(file.unusableRows, unusableRows);
    QCOMPARE(file.firstUnusableLine, firstUnusableLine);
    QCOMPARE(file.firstUnusableRow, firstUnusableRow);
    QCOMPARE(file.hasSemicolons, semicolons);
}

QTEST_GUILESS_MAIN(StatisticsFileTest)
#include "tst_statisticsfile.moc"
