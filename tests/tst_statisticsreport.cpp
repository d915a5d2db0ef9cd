#include "diameter.h"
#include "statisticsreport.h"
#include "wilsonproportion.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A folder name that the report must never print: it names the log by its file alone.
const QString PrivateFolder = QStringLiteral("Иванова-личное");

// 17 rows of equal counts, pooled into one block, with one row without cases.
SheathEvidence sheath(SheathSize size, int rowCases, int rowPlaced, int stricture, Proportion lower,
                      Proportion upper)
{
    SheathEvidence evidence;
    evidence.sheath = size;
    const SheathBounds bounds = sheathBounds(size);
    const int withCases = rowCases > 0 ? 16 : 0;
    const Proportion block = wilsonProportion(withCases * rowCases, withCases * rowPlaced);
    for (int i = 0; i < 17; ++i) {
        EvidenceRow row;
        row.diameter = QString::number(bounds.lower + i / 100.0, 'f', 2);
        row.cases = i == 5 ? 0 : rowCases;
        row.placed = i == 5 ? 0 : rowPlaced;
        row.fittedRate = rowCases > 0 ? qBound(0.29, block.rate(), 0.93) : 0.29;
        row.percent = qRound(row.fittedRate * 100.0);
        if (row.cases > 0) {
            row.block = block;
            row.blockFrom = twoDecimalText(bounds.lower);
            row.blockTo = twoDecimalText(bounds.upper);
        }
        evidence.rows.append(row);
    }
    evidence.lower = {bounds.lower, LowerBoundFigure, lower};
    evidence.upper = {bounds.upper, UpperBoundFigure, upper};
    evidence.strictureCases = stricture;
    return evidence;
}

LogSummary log()
{
    LogSummary summary;
    summary.logName = QStringLiteral("/srv/%1/журнал-2025.csv").arg(PrivateFolder);
    summary.sha256 = QByteArray(64, 'c');
    summary.rowsRead = 1409;
    summary.badRows = 6;
    summary.skippedRows = 6;
    summary.firstDate = QDate(2025, 1, 13);
    summary.lastDate = QDate(2025, 12, 2);
    summary.written = QDateTime(QDate(2026, 1, 5), QTime(8, 30));
    summary.version = QStringLiteral("1.0.0");
    return summary;
}

QString pdfText(const QByteArray &pdf)
{
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("report.pdf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
        return {};
    file.close();
    QProcess process;
    process.start(
        QStringLiteral("pdftotext"),
        {QStringLiteral("-enc"), QStringLiteral("UTF-8"), file.fileName(), QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    // Lines wrap wherever the layout put them; words are what counts.
    return QString::fromUtf8(process.readAllStandardOutput()).simplified();
}

bool containsNumber(const QString &text, int number)
{
    return text.contains(QRegularExpression(QStringLiteral("(?<![\\d.])%1(?![\\d.])").arg(number)));
}

QString disagreement(const BoundCheck &check)
{
    return QStringLiteral(
               "Фиксированное значение %1 % лежит вне 95 % ДИ наблюдаемой доли (%2–%3 %)")
        .arg(check.figure)
        .arg(qRound(check.observed.low * 100))
        .arg(qRound(check.observed.high * 100));
}

} // namespace

class TestStatisticsReport : public QObject {
    Q_OBJECT

private slots:
    void report_data();
    void report();
};

void TestStatisticsReport::report_data()
{
    QTest::addColumn<int>("lowerCases");
    QTest::addColumn<int>("lowerPlaced");
    QTest::addColumn<int>("upperCases");
    QTest::addColumn<int>("upperPlaced");
    QTest::addColumn<int>("wideRowCases"); // 12-14 Ch: 0 writes no table
    QTest::addColumn<bool>("lowerOutside");
    QTest::addColumn<bool>("upperOutside");

    QTest::newRow("both bounds agree") << 100 << 30 << 100 << 93 << 2 << false << false;
    QTest::newRow("lower figure too high") << 45 << 4 << 100 << 93 << 2 << true << false;
    QTest::newRow("upper figure too high") << 100 << 30 << 60 << 40 << 2 << false << true;
    QTest::newRow("no case at the bounds") << 0 << 0 << 0 << 0 << 2 << false << false;
    QTest::newRow("12-14 Ch without table") << 45 << 4 << 60 << 40 << 0 << true << true;
}

void TestStatisticsReport::report()
{
    QFETCH(int, lowerCases);
    QFETCH(int, lowerPlaced);
    QFETCH(int, upperCases);
    QFETCH(int, upperPlaced);
    QFETCH(int, wideRowCases);
    QFETCH(bool, lowerOutside);
    QFETCH(bool, upperOutside);

    const QVector<SheathEvidence> sheaths {sheath(SheathSize::Ch10To12, 11, 7, 23,
                                                  wilsonProportion(lowerCases, lowerPlaced),
                                                  wilsonProportion(upperCases, upperPlaced)),
                                           sheath(SheathSize::Ch12To14, wideRowCases, 1, 31,
                                                  wilsonProportion(3, 1), wilsonProportion(4, 4))};
    const QByteArray pdf = statisticsReportPdf(log(), sheaths);
    QVERIFY(pdf.startsWith("%PDF-"));
    const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    // With its size: Qt 5 would stop at the first NUL of a compressed stream.
    QCOMPARE(QString::fromLatin1(pdf.constData(), pdf.size()).count(page), 3);

    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    const QString text = pdfText(pdf);
    QVERIFY(!text.isEmpty());

    // Every count, as given: all cases, strictures, each bound's cases, the rows'.
    const int narrowAll = 23 + lowerCases + upperCases + 16 * 11;
    for (const int count : {narrowAll, 23, 31, 16 * 11, 1409, 6})
        QVERIFY2(containsNumber(text, count), qPrintable(QString::number(count)));
    if (lowerCases > 0)
        QVERIFY(text.contains(
            QStringLiteral("случаев: %1, установлено: %2").arg(lowerCases).arg(lowerPlaced)));
    QVERIFY(text.contains(QStringLiteral("журнал-2025.csv")));
    QVERIFY(text.contains(QString(64, QLatin1Char('c'))));
    QVERIFY(text.contains(QStringLiteral("интерполировано")));

    QCOMPARE(text.contains(disagreement(sheaths.at(0).lower)), lowerOutside);
    QCOMPARE(text.contains(disagreement(sheaths.at(0).upper)), upperOutside);
    QCOMPARE(text.count(QStringLiteral("лежит вне 95 % ДИ")),
             int(lowerOutside) + int(upperOutside));
    QCOMPARE(text.contains(QStringLiteral("Таблица для кожуха 12-14 Ch не составлена")),
             wideRowCases == 0);
    QVERIFY(!text.contains(PrivateFolder));
}

QTEST_MAIN(TestStatisticsReport)
#include "tst_statisticsreport.moc"
