#include "installedcomparison.h"
#include "logoverview.h"
#include "statsrun.h"
#include "tablesbuild.h"

#include <QLoggingCategory>
#include <QTest>
#include <QTextStream>

// What the keeper's window decides without widgets: what installing would
// change, row by row, and when a log gives tables.
namespace {

// A sheath size's evidence with the given figures in its first rows; the
// other rows keep 50 %. With cases, so that a table is written for it.
SheathEvidence evidence(const QVector<int> &figures, bool withCases = true)
{
    SheathEvidence sheath;
    sheath.sheath = SheathSize::Ch10To12;
    for (int row = 0; row < 17; ++row) {
        FittedRow fitted;
        fitted.diameter = QString::number(1.45 + row * 0.01, 'f', 2);
        fitted.percent = row < figures.size() ? figures.at(row) : 50;
        fitted.cases = withCases ? 1 : 0;
        sheath.rows.append(fitted);
    }
    return sheath;
}

StatisticsFile parsed(const QString &text)
{
    QString copy = text;
    QTextStream stream(&copy);
    return parseStatistics(stream);
}

// Every row but those given holds 50 % in the installed table.
QString installedText(const QString &lastLines)
{
    QString text = QStringLiteral("Диаметр,Вероятность\n");
    for (int row = 0; row < 17; ++row)
        text += QStringLiteral("%1,50\n").arg(1.45 + row * 0.01, 0, 'f', 2);
    return text + lastLines;
}

// A CSV log of the given good rows followed by bad ones.
LogReadResult readLog(int good, int bad)
{
    QByteArray log("d1,d2,d3,sheath,stricture,placed\n");
    for (int row = 0; row < good; ++row)
        log += "1.5,1.6,2,10-12,нет,да\n";
    for (int row = 0; row < bad; ++row)
        log += "1.5,1.6,2,9-11,нет,да\n";
    LogReadResult result;
    result.path = QStringLiteral("/clinic/log.csv");
    result.evidence = gatherLogEvidence(log);
    return result;
}

} // namespace

class StatsGuiTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void comparison_data();
    void comparison();
    void tables_data();
    void tables();
    void overviewSaysSkipped();
};

void StatsGuiTest::initTestCase()
{
    // The calculator's rule logs every smallest diameter it reads, as noise here.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
}

void StatsGuiTest::comparison_data()
{
    QTest::addColumn<QString>("installed");
    QTest::addColumn<QVector<int>>("figures");
    QTest::addColumn<bool>("withCases");
    QTest::addColumn<QString>("firstInstalled"); // row 1.45, as shown
    QTest::addColumn<int>("changed");

    const QString same = installedText(QString());
    QTest::newRow("no installed table: every row changes")
        << QString() << QVector<int> {} << true << QStringLiteral("—") << 17;
    QTest::newRow("the same figures: nothing changes")
        << same << QVector<int> {} << true << QStringLiteral("50 %") << 0;
    QTest::newRow("two rows differ")
        << same << QVector<int> {33, 50, 61} << true << QStringLiteral("50 %") << 2;
    // The calculator's lookup: the last usable row that renders alike wins.
    QTest::newRow("a later row for 1.45 wins")
        << installedText(QStringLiteral("1.450,33\n")) << QVector<int> {33} << true
        << QStringLiteral("33 %") << 0;
    QTest::newRow("an unusable later row is passed over")
        << installedText(QStringLiteral("1.45,33%\n")) << QVector<int> {} << true
        << QStringLiteral("50 %") << 0;
    QTest::newRow("no cases in the rows: no new table, nothing changes")
        << QString() << QVector<int> {} << false << QStringLiteral("—") << 0;
}

void StatsGuiTest::comparison()
{
    QFETCH(QString, installed);
    QFETCH(QVector<int>, figures);
    QFETCH(bool, withCases);
    QFETCH(QString, firstInstalled);
    QFETCH(int, changed);

    const SheathEvidence sheath = evidence(figures, withCases);
    const QVector<RowChange> rows = InstalledComparison::compare(parsed(installed), sheath);
    QCOMPARE(int(rows.size()), 17);
    QCOMPARE(InstalledComparison::figureText(rows.constFirst().installed), firstInstalled);
    QCOMPARE(InstalledComparison::changedRows(rows), changed);
    for (int row = 0; row < rows.size(); ++row) {
        QCOMPARE(rows.at(row).diameter, sheath.rows.at(row).diameter);
        QCOMPARE(rows.at(row).fresh.has_value(), withCases);
    }
}

void StatsGuiTest::tables_data()
{
    QTest::addColumn<int>("good");
    QTest::addColumn<int>("bad");
    QTest::addColumn<bool>("skip");
    QTest::addColumn<bool>("ready");
    QTest::addColumn<int>("skipped");

    QTest::newRow("no bad rows") << 4 << 0 << false << true << 0;
    QTest::newRow("bad rows, not skipped") << 3 << 1 << false << false << 0;
    QTest::newRow("bad rows skipped") << 3 << 1 << true << true << 1;
    QTest::newRow("half bad, skipped") << 2 << 2 << true << true << 2;
    QTest::newRow("most bad: refused even when skipped") << 1 << 2 << true << false << 0;
    QTest::newRow("no good rows at all") << 0 << 3 << true << false << 0;
}

// The command's rule for --skip-bad-rows, and the command's bytes.
void StatsGuiTest::tables()
{
    QFETCH(int, good);
    QFETCH(int, bad);
    QFETCH(bool, skip);
    QFETCH(bool, ready);
    QFETCH(int, skipped);

    const LogReadResult result = readLog(good, bad);
    const TablesBuild build(result, skip);
    QCOMPARE(build.ready(), ready);
    QCOMPARE(build.refusal().isEmpty(), ready);
    if (!ready)
        return;
    QCOMPARE(build.summary().skippedRows, skipped);
    QCOMPARE(build.summary().logName, QStringLiteral("log.csv"));
    const QVector<OutputFile> command = StatsRun::tableFiles(build.summary(), build.sheaths());
    QCOMPARE(int(build.tables().size()), int(command.size()));
    QCOMPARE(build.tables().constFirst().name, QStringLiteral("Statistics_1.txt"));
    QCOMPARE(build.tables().constFirst().bytes, command.constFirst().bytes);
}

void StatsGuiTest::overviewSaysSkipped()
{
    const LogReadResult result = readLog(3, 1);
    const auto rowsLine = [&](bool skip) {
        for (const LogOverview::Line &line : LogOverview::lines(result, skip)) {
            if (line.first == LogOverview::tr("Строки"))
                return line.second;
        }
        return QString();
    };
    QCOMPARE(rowsLine(false), QStringLiteral("прочитано 4, с ошибками 1, пропущено 0"));
    QCOMPARE(rowsLine(true), QStringLiteral("прочитано 4, с ошибками 1, пропущено 1"));
}

QTEST_GUILESS_MAIN(StatsGuiTest)
#include "tst_statsgui.moc"
