#include "pendingreplace.h"
#include "rowcounts.h"
#include "statisticsfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
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
    void readsClinicCounts_data();
    void readsClinicCounts();
    void readsAReplacementInProgressAsItsNewSet_data();
    void readsAReplacementInProgressAsItsNewSet();
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

// A file that velmira-stats wrote: its rows' extra fields read back as counts
// only when they hold together, and a two-column reader sees the same rows.
void StatisticsFileTest::readsClinicCounts_data()
{
    QTest::addColumn<QString>("line"); // a data line after the announcing header
    QTest::addColumn<int>("blockCases"); // -1: no counts

    const auto row = [](const char *name, const char *line, int blockCases) {
        QTest::newRow(name) << QString::fromUtf8(line) << blockCases;
    };
    row("sound", "1.51,64,12,8,37,24,1.49,1.52,49,78", 37);
    row("blanks around fields", "1.51,64, 12 ,8,37,24,1.49,1.52,49,78", 37);
    row("interpolated", "1.47,45,0,0,,,,,,", 0);
    row("interpolated with a block", "1.47,45,0,0,3,1,1.46,1.48,6,79", -1);
    row("not whole numbers", "1.51,64,12.5,8,37,24,1.49,1.52,49,78", -1);
    row("more placements than cases", "1.51,64,12,13,37,24,1.49,1.52,49,78", -1);
    row("block smaller than its row", "1.51,64,12,8,10,8,1.49,1.52,49,97", -1);
    row("interval beyond 100", "1.51,64,12,8,37,24,1.49,1.52,49,101", -1);
    row("interval missing the rate", "1.51,64,12,8,37,24,1.49,1.52,70,90", -1);
    row("block running backwards", "1.51,64,12,8,37,24,1.52,1.49,49,78", -1);
    row("a field short", "1.51,64,12,8,37,24,1.49,1.52,49", -1);
    row("words", "1.51,64,двенадцать,8,37,24,1.49,1.52,49,78", -1);
}

void StatisticsFileTest::readsClinicCounts()
{
    QFETCH(QString, line);
    QFETCH(int, blockCases);

    const QString header
        = QStringLiteral("Диаметр мм,Процент,") + rowCountsLabels().join(QLatin1Char(','));
    const StatisticsFile file = parse(header + QLatin1Char('\n') + line + QLatin1Char('\n'));
    QVERIFY(hasRowCountsColumns(file.headerLabels + file.extraHeaderLabels));
    QCOMPARE(file.headerLabels,
             QStringList({QStringLiteral("Диаметр мм"), QStringLiteral("Процент")}));
    QCOMPARE(rowsOf(file), Rows({line.split(QLatin1Char(',')).mid(0, 2)}));
    const std::optional<RowCounts> evidence = readRowCounts(file.rows.at(0).extraFields);
    QCOMPARE(evidence ? evidence->blockCases : -1, blockCases);
    // What is read back is what the writer writes.
    if (evidence)
        QCOMPARE(readRowCounts(rowCountsFields(*evidence))->blockCases, blockCases);
}

// The writer stages a set and commits its journal last: from then on the
// staged file is the folder's, before it is renamed into place; a journal
// that is missing, damaged or names a path outside the folder is not one.
void StatisticsFileTest::readsAReplacementInProgressAsItsNewSet_data()
{
    QTest::addColumn<bool>("staged");
    QTest::addColumn<QByteArray>("journal"); // empty: none
    QTest::addColumn<bool>("readsStaged");

    const QByteArray header("velmira-stats replace 1\n");
    QTest::newRow("nothing staged") << false << QByteArray() << false;
    QTest::newRow("staged, no journal yet") << true << QByteArray() << false;
    QTest::newRow("staged and journaled")
        << true << header + "Statistics_1.txt\tStatistics_1.old.txt\n"
        << true;
    QTest::newRow("journaled, already in place") << false << header + "Statistics_1.txt\t\n"
                                                 << false;
    QTest::newRow("the journal names another file") << true << header + "Statistics_2.txt\t\n"
                                                    << false;
    QTest::newRow("a journal without its header")
        << true << QByteArray("Statistics_1.txt\t\n") << false;
    QTest::newRow("a journal naming a path outside")
        << true << header + "Statistics_1.txt\t../elsewhere.txt\n"
        << false;
}

void StatisticsFileTest::readsAReplacementInProgressAsItsNewSet()
{
    QFETCH(bool, staged);
    QFETCH(QByteArray, journal);
    QFETCH(bool, readsStaged);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Statistics_1.txt"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral(".velmira-stats.new")));
    const QString stagedPath
        = QDir(pendingFolder(dir.path())).filePath(QStringLiteral("Statistics_1.txt"));
    QFile file(stagedPath);
    QVERIFY(!staged || (file.open(QIODevice::WriteOnly) && file.write("new\n") == 4));
    file.close();
    QFile list(pendingJournal(dir.path()));
    QVERIFY(journal.isEmpty() || (list.open(QIODevice::WriteOnly) && list.write(journal) > 0));
    list.close();
    QCOMPARE(currentFilePath(path), readsStaged ? stagedPath : path);
}

QTEST_GUILESS_MAIN(StatisticsFileTest)
#include "tst_statisticsfile.moc"
