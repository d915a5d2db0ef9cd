#include "diameter.h"
#include "statisticsreport.h"
#include "tablecheck.h"
#include "wilsoninterval.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

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
    const Proportion block = wilsonProportion(withCases * rowPlaced, withCases * rowCases);
    for (int i = 0; i < 17; ++i) {
        FittedRow row;
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
    // A "%1" in the name must come out as written, never as a number.
    summary.logName
        = QStringLiteral("/srv/") + PrivateFolder + QStringLiteral("/журнал %1 2025.csv");
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

// The report's text as pdftotext extracts it; with the layout kept, a table
// row stays on one line.
QString pdfText(const QByteArray &pdf, bool layout = false)
{
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("report.pdf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
        return {};
    file.close();
    QStringList arguments {QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (layout)
        arguments.append(QStringLiteral("-layout"));
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  arguments + QStringList {file.fileName(), QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    // Paragraphs wrap wherever the layout put them; words are what counts.
    return layout ? text : text.simplified();
}

bool containsNumber(const QString &text, int number)
{
    return text.contains(QRegularExpression(QStringLiteral("(?<![\\d.])%1(?![\\d.])").arg(number)));
}

// A check of cases counted at the lower bound, two table figures and the
// upper bound; lowerPlaced of 45 at the lower bound.
TableCheck checkOf(int lowerPlaced)
{
    FigureTally tally;
    const auto add = [&tally](int figure, FigureZone zone, int cases, int placed) {
        tally.byFigure[size_t(figure)] = {cases, placed};
        PlacementCount &counts = tally.byZone[size_t(zone)];
        counts.cases += cases;
        counts.placed += placed;
        tally.zoneFigureSum[size_t(zone)] += figure * cases;
    };
    add(LowerBoundFigure, FigureZone::LowerBound, 45, lowerPlaced);
    add(47, FigureZone::Table, 30, 15);
    add(71, FigureZone::Table, 25, 19);
    add(UpperBoundFigure, FigureZone::UpperBound, 60, 56);
    return checkTables(tally);
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
    void rows_data();
    void rows();
    void checkPage_data();
    void checkPage();
    void wilsonInterval_data();
    void wilsonInterval();
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
    QTest::addColumn<bool>("rounded"); // no diameter of the log with more than one decimal

    QTest::newRow("both bounds agree") << 100 << 30 << 100 << 93 << 2 << false << false << false;
    QTest::newRow("lower figure too high") << 45 << 4 << 100 << 93 << 2 << true << false << false;
    QTest::newRow("upper figure too high") << 100 << 30 << 60 << 40 << 2 << false << true << false;
    QTest::newRow("no case at the bounds") << 0 << 0 << 0 << 0 << 2 << false << false << true;
    QTest::newRow("12-14 Ch without table") << 45 << 4 << 60 << 40 << 0 << true << true << false;
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
    QFETCH(bool, rounded);

    const QVector<SheathEvidence> sheaths {sheath(SheathSize::Ch10To12, 11, 7, 23,
                                                  wilsonProportion(lowerPlaced, lowerCases),
                                                  wilsonProportion(upperPlaced, upperCases)),
                                           sheath(SheathSize::Ch12To14, wideRowCases, 1, 31,
                                                  wilsonProportion(1, 3), wilsonProportion(4, 4))};
    LogSummary summary = log();
    summary.diametersRounded = rounded;
    const QByteArray pdf = statisticsReportPdf(summary, sheaths);
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
    QVERIFY(text.contains(QStringLiteral("журнал %1 2025.csv")));
    QVERIFY(text.contains(QStringLiteral("13.01.2025 – 02.12.2025")));
    QVERIFY(text.contains(QString(64, QLatin1Char('c'))));
    QVERIFY(text.contains(QStringLiteral("интерполировано")));
    // Six skipped of 1409: a share that rounds to nothing is still named.
    QVERIFY(text.contains(QStringLiteral("6 (меньше 1 %)")));
    QCOMPARE(text.contains(QStringLiteral("похоже, округлены")), rounded);

    QCOMPARE(text.contains(disagreement(sheaths.at(0).lower)), lowerOutside);
    QCOMPARE(text.contains(disagreement(sheaths.at(0).upper)), upperOutside);
    QCOMPARE(text.count(QStringLiteral("лежит вне 95 % ДИ")),
             int(lowerOutside) + int(upperOutside));
    QCOMPARE(text.contains(QStringLiteral("Таблица для кожуха 12-14 Ch не составлена")),
             wideRowCases == 0);
    QVERIFY(!text.contains(PrivateFolder));
}

// One row of the 10-12 Ch table changed; its line in the report shows its
// cells in order and its mark.
void TestStatisticsReport::rows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("cases");
    QTest::addColumn<int>("placed");
    QTest::addColumn<int>("blockCases"); // the block spans this row and the next
    QTest::addColumn<int>("blockPlaced");
    QTest::addColumn<double>("fitted");
    QTest::addColumn<QString>("mark");

    QTest::newRow("low end raised")
        << 0 << 14 << 2 << 30 << 4 << 0.29 << QStringLiteral("поднято до 29 %");
    QTest::newRow("high end lowered")
        << 15 << 12 << 12 << 25 << 25 << 0.93 << QStringLiteral("снижено до 93 %");
    QTest::newRow("violator pooled") << 7 << 20 << 8 << 41 << 19 << 19 / 41.0 << QString();
    QTest::newRow("few cases") << 9 << 4 << 3 << 9 << 6 << 6 / 9.0
                               << QStringLiteral("мало наблюдений");
    QTest::newRow("no case of its own")
        << 11 << 0 << 0 << 0 << 0 << 0.7 << QStringLiteral("интерполировано");
}

void TestStatisticsReport::rows()
{
    QFETCH(int, row);
    QFETCH(int, cases);
    QFETCH(int, placed);
    QFETCH(int, blockCases);
    QFETCH(int, blockPlaced);
    QFETCH(double, fitted);
    QFETCH(QString, mark);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");

    SheathEvidence narrow = sheath(SheathSize::Ch10To12, 11, 7, 23, wilsonProportion(4, 45),
                                   wilsonProportion(56, 60));
    FittedRow &changed = narrow.rows[row];
    changed.cases = cases;
    changed.placed = placed;
    changed.fittedRate = fitted;
    changed.percent = qRound(fitted * 100.0);
    changed.block = wilsonProportion(blockPlaced, blockCases);
    changed.blockFrom = changed.diameter;
    changed.blockTo = narrow.rows.at(qMin(row + 1, 16)).diameter;
    const QString text = pdfText(statisticsReportPdf(log(), {narrow}), true);

    // Diameter, cases, placements, observed and fitted percent, interval, block, mark.
    QStringList cells {QRegularExpression::escape(changed.diameter), QString::number(cases),
                       QString::number(placed)};
    if (cases > 0) {
        cells << QString::number(qRound(100.0 * placed / cases)) << QString::number(changed.percent)
              << QStringLiteral("%1–%2")
                     .arg(qRound(changed.block.low * 100))
                     .arg(qRound(changed.block.high * 100))
              << QRegularExpression::escape(changed.blockFrom + QStringLiteral("–")
                                            + changed.blockTo);
    } else {
        cells << QStringLiteral("—") << QString::number(changed.percent) << QStringLiteral("—")
              << QStringLiteral("—");
    }
    cells << QRegularExpression::escape(mark);
    const QRegularExpression line(QStringLiteral("^\\s*") + cells.join(QStringLiteral("\\s+")),
                                  QRegularExpression::MultilineOption);
    QVERIFY2(text.contains(line), qPrintable(line.pattern()));
}

// The page on the tables' check comes last, with a column per check given;
// without a validation there is no such page.
void TestStatisticsReport::checkPage_data()
{
    QTest::addColumn<bool>("validated");
    QTest::addColumn<bool>("heldOut");
    QTest::addColumn<QString>("plotted"); // which check the plot and the bounds are of

    QTest::newRow("no validation") << false << false << QString();
    QTest::newRow("cross-validated")
        << true << false << QStringLiteral("перекрёстная проверка, 10 блоков");
    QTest::newRow("held out by date")
        << true << true << QStringLiteral("на отложенных случаях с 01.06.2025");
}

void TestStatisticsReport::checkPage()
{
    QFETCH(bool, validated);
    QFETCH(bool, heldOut);
    QFETCH(QString, plotted);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");

    // Each check with its own count at the lower bound, so that the
    // sentence on the bound shows which check it is of.
    std::optional<TablesValidation> validation;
    if (validated) {
        validation = TablesValidation {checkOf(30), checkOf(16), std::nullopt};
        if (heldOut)
            validation->heldOut = HeldOutCheck {QDate(2025, 6, 1), 120, 160, 3, checkOf(4)};
    }
    const QVector<SheathEvidence> sheaths {
        sheath(SheathSize::Ch10To12, 11, 7, 23, wilsonProportion(4, 45), wilsonProportion(56, 60))};
    const QByteArray pdf = statisticsReportPdf(log(), sheaths, validation);
    const QString text = pdfText(pdf);
    QVERIFY(!text.isEmpty());
    QCOMPARE(text.contains(QStringLiteral("Страница 3 из 3")), validated);
    QCOMPARE(text.contains(QStringLiteral("Проверка таблиц")), validated);
    for (const char *column : {"На тех же случаях", "Перекрёстная проверка"})
        QCOMPARE(text.contains(QString::fromUtf8(column)), validated);
    QCOMPARE(text.contains(QStringLiteral("Отложенные случаи")), heldOut);
    if (!validated)
        return;
    QVERIFY(text.contains(QStringLiteral("Калибровка: ") + plotted));
    // The plotted check's lower bound: 4 of 45 leave 29 % outside, 16 of 45 do not.
    const int lowerPlaced = heldOut ? 4 : 16;
    const Proportion lower = wilsonProportion(lowerPlaced, 45);
    // A line may break after the interval's dash.
    const QRegularExpression sentence(
        QStringLiteral("случаев 45, установлено %1, наблюдаемая доля %2 % \\(95 % ДИ %3–\\s*%4 "
                       "%\\) — цифра 29 % %5")
            .arg(lowerPlaced)
            .arg(qRound(lower.rate() * 100))
            .arg(qRound(lower.low * 100))
            .arg(qRound(lower.high * 100))
            .arg(heldOut ? QStringLiteral("вне интервала") : QStringLiteral("в интервале")));
    QVERIFY2(text.contains(sentence), qPrintable(sentence.pattern()));
}

// The interval's ends are where the score statistic of the observed rate
// equals the normal quantile; no cases leave every rate possible.
void TestStatisticsReport::wilsonInterval_data()
{
    QTest::addColumn<int>("cases");
    QTest::addColumn<int>("placed");
    QTest::newRow("none placed") << 12 << 0;
    QTest::newRow("all placed") << 9 << 9;
    QTest::newRow("one case") << 1 << 1;
    QTest::newRow("narrow, rare") << 45 << 4;
    QTest::newRow("many") << 1000 << 617;
    QTest::newRow("no cases") << 0 << 0;
}

void TestStatisticsReport::wilsonInterval()
{
    QFETCH(int, cases);
    QFETCH(int, placed);
    const Proportion interval = wilsonProportion(placed, cases);
    QCOMPARE(interval.cases, cases);
    QCOMPARE(interval.placed, placed);
    if (cases == 0) {
        QCOMPARE(interval.low, 0.0);
        QCOMPARE(interval.high, 1.0);
        return;
    }
    const double rate = double(placed) / cases;
    QVERIFY(interval.low <= rate && rate <= interval.high);
    for (const double end : {interval.low, interval.high}) {
        // An end at 0 or 1 is where the rate itself lies: the score is 0 there.
        if (end <= 0.0 || end >= 1.0) {
            QCOMPARE(rate, end);
            continue;
        }
        const double score = std::abs(rate - end) / std::sqrt(end * (1.0 - end) / cases);
        QVERIFY2(std::abs(score - 1.959963984540054) < 1e-9, qPrintable(QString::number(score)));
    }
}

QTEST_MAIN(TestStatisticsReport)
#include "tst_statisticsreport.moc"
