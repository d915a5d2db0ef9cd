#include "casetally.h"
#include "crossvalidation.h"
#include "figuretally.h"
#include "logevidence.h"
#include "shownfigures.h"
#include "statisticswriter.h"
#include "tablecheck.h"
#include "tablecheckjson.h"
#include "tablechecktexts.h"
#include "unseencases.h"
#include "wilsoninterval.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>

// The check's figures where they stop existing (one outcome, one figure, no
// case left), where they are known in closed form, and the figure each case
// gets through the calculator's reading of a folder's files.
class TableCheckTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void edgeCases_data();
    void edgeCases();
    void closedForms_data();
    void closedForms();
    void shownFigures_data();
    void shownFigures();
    void repeatedDiametersKeepTheirFigures();
    void builtTablesReadAsWritten();
    void foldsPartitionTheCases_data();
    void foldsPartitionTheCases();
    void aFoldNeverSeesItsOwnCases_data();
    void aFoldNeverSeesItsOwnCases();
    void aValueRoundedToZeroHasNoSign();
    void unseenCases_data();
    void unseenCases();
};

namespace {

// The calculator's result for a case of the given zone and figure.
CalculationResult shown(int figure, char zone)
{
    CalculationResult result;
    result.figure = figure;
    result.basis = zone == 'L' ? CalculationResult::Basis::LowerBound
        : zone == 'U'          ? CalculationResult::Basis::UpperBound
        : zone == 'S'          ? CalculationResult::Basis::Stricture
                               : CalculationResult::Basis::Table;
    if (zone == 'N')
        result.outcome = CalculationResult::Outcome::NoUsableRow;
    return result;
}

// "60T+ 29L- S+ N-": figure, zone (Lower, Table, Upper, Stricture, No figure), placed.
FigureTally tallyOf(const QString &cases)
{
    FigureTally tally;
    const QStringList words = cases.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &word : words) {
        const char zone = word.at(word.size() - 2).toLatin1();
        LogCase logCase;
        logCase.placed = word.endsWith(QLatin1Char('+'));
        tally.add(logCase, shown(word.left(word.size() - 2).toInt(), zone));
    }
    return tally;
}

// Every interval holds its estimate and lies in order.
bool holds(const std::optional<Estimate> &estimate)
{
    return !estimate || (estimate->low <= estimate->value && estimate->value <= estimate->high);
}

// 10-12 Ch: 1.45 gives 40, 1.46 the last usable 55, 1.47 nothing, 1.48 0; no 12-14 Ch file.
bool writeTable(const QString &folder)
{
    QFile file(QDir(folder).filePath(QStringLiteral("Statistics_1.txt")));
    return file.open(QIODevice::WriteOnly)
        && file.write("diameter,percent\n# rows\n1.45,40\n1.46,50\n1.46,55\n1.46,85%\n1.47,x\n"
                      "1.48,0\n")
        > 0;
}

LogCase caseOf(const char *smallest, SheathSize sheath, bool stricture)
{
    LogCase logCase;
    logCase.diameters = {QStringLiteral("3"), QString::fromLatin1(smallest), QStringLiteral("2.5")};
    logCase.sheath = sheath;
    logCase.stricture = stricture;
    return logCase;
}

double logit(double p)
{
    return std::log(p / (1.0 - p));
}

} // namespace

void TableCheckTest::initTestCase()
{
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
}

void TableCheckTest::edgeCases_data()
{
    QTest::addColumn<QString>("cases");
    QTest::addColumn<QVector<int>>("counts"); // cases, placements, strictures, no figure
    // O/E, intercept, slope, scaled Brier, c-statistic, its interval, clamped figures
    QTest::addColumn<QString>("present");

    QTest::newRow("all placed") << "29L+ 60T+ 93U+" << QVector<int> {3, 3, 0, 0} << "O------";
    QTest::newRow("none placed") << "29L- 60T- 93U-" << QVector<int> {3, 0, 0, 0} << "O------";
    QTest::newRow("one case") << "60T+" << QVector<int> {1, 1, 0, 0} << "O------";
    QTest::newRow("only stricture cases") << "0S+ 0S-" << QVector<int> {0, 0, 2, 0} << "-------";
    QTest::newRow("figures of 0 and 100")
        << "0T- 0T+ 100T+ 100T- 50T+ 50T-" << QVector<int> {6, 3, 0, 0} << "OISBCDZ";
    QTest::newRow("only a figure of 0") << "0T- 0T-" << QVector<int> {2, 0, 0, 0} << "------Z";
    QTest::newRow("no usable row")
        << "0N+ 0N- 60T+ 60T- 0S+" << QVector<int> {2, 1, 1, 2} << "OI-BC--";
    QTest::newRow("nothing but cases without a figure")
        << "0N+ 0N-" << QVector<int> {0, 0, 0, 2} << "-------";
    QTest::newRow("separated by the figure")
        << "30T- 30T- 70T+ 70T+" << QVector<int> {4, 2, 0, 0} << "OI-BCD-";
    QTest::newRow("separated with a tie at the edge")
        << "30T- 30T- 50T- 50T+ 70T+ 70T+" << QVector<int> {6, 3, 0, 0} << "OI-BCD-";
    QTest::newRow("overlapping") << "30T- 30T+ 70T- 70T+ 70T+" << QVector<int> {5, 3, 0, 0}
                                 << "OISBCD-";
}

void TableCheckTest::edgeCases()
{
    QFETCH(QString, cases);
    QFETCH(QVector<int>, counts);
    QFETCH(QString, present);

    const TableCheck check = checkTables(tallyOf(cases));
    QCOMPARE(
        (QVector<int> {check.cases, check.placements, check.excludedStricture, check.noFigure}),
        counts);
    const bool c = check.concordance.has_value();
    const QString found = QString(QLatin1Char(check.oe ? 'O' : '-'))
        + QLatin1Char(check.intercept ? 'I' : '-') + QLatin1Char(check.slope ? 'S' : '-')
        + QLatin1Char(check.brierScaled ? 'B' : '-') + QLatin1Char(c ? 'C' : '-')
        + QLatin1Char(c && check.concordance->interval ? 'D' : '-')
        + QLatin1Char(check.clampedFigures ? 'Z' : '-');
    QCOMPARE(found, present);
    QCOMPARE(check.observed.has_value() && check.brier.has_value(), check.cases > 0);
    QVERIFY(holds(check.oe) && holds(check.intercept) && holds(check.slope));
    for (const std::optional<double> &figure : {check.brier, check.brierScaled}) {
        if (figure)
            QVERIFY2(std::isfinite(*figure), qPrintable(cases));
    }
    if (c) {
        QVERIFY(check.concordance->value >= 0.0 && check.concordance->value <= 1.0);
        QVERIFY(holds(check.concordance->interval));
    }

    // The JSON says null wherever a figure does not exist.
    const QJsonObject json = QJsonDocument::fromJson(tableCheckJson(check)).object();
    QCOMPARE(json.value(QStringLiteral("oe")).isNull(), !check.oe);
    QCOMPARE(json.value(QStringLiteral("slope_ci")).isNull(), !check.slope);
    QCOMPARE(json.value(QStringLiteral("c_statistic")).isNull(), !c);
    QCOMPARE(json.value(QStringLiteral("by_figure")).toArray().size(), int(check.byFigure.size()));
}

void TableCheckTest::closedForms_data()
{
    QTest::addColumn<QString>("cases");
    QTest::addColumn<QString>("figure");
    QTest::addColumn<double>("expected");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");

    // One figure: the offset model's fit is logit(rate) - logit(figure), its
    // standard error 1 / sqrt(n p (1 - p)); the O/E interval is Wilson's over the figure.
    const QString tenAt60 = QStringLiteral("60T+ 60T+ 60T+ ") + QStringLiteral("60T- ").repeated(7);
    const double a = logit(0.3) - logit(0.6);
    const double aSpread = Wilson95Quantile / std::sqrt(10 * 0.3 * 0.7);
    QTest::newRow("intercept, one figure")
        << tenAt60 << "intercept" << a << a - aSpread << a + aSpread;
    const Proportion wilson = wilsonProportion(3, 10);
    QTest::newRow("O/E, one figure")
        << tenAt60 << "oe" << 0.5 << wilson.low / 0.6 << wilson.high / 0.6;
    const Proportion none = wilsonProportion(0, 5);
    QTest::newRow("O/E, one figure, none placed")
        << QStringLiteral("93U- ").repeated(5) << "oe" << 0.0 << 0.0 << none.high / 0.93;

    // Two figures: the slope's model is saturated, each figure's rate fitted exactly.
    const QString twoFigures = QStringLiteral("20T+ ").repeated(3)
        + QStringLiteral("20T- ").repeated(7) + QStringLiteral("80T+ ").repeated(6)
        + QStringLiteral("80T- ").repeated(4);
    const double width = logit(0.8) - logit(0.2);
    const double b = (logit(0.6) - logit(0.3)) / width;
    const double bSpread
        = Wilson95Quantile * std::sqrt(1 / (10 * 0.3 * 0.7) + 1 / (10 * 0.6 * 0.4)) / width;
    QTest::newRow("slope, two figures") << twoFigures << "slope" << b << b - bSpread << b + bSpread;

    // 20-, 40+, 40-, 80+: 3.5 of 4 pairs in order; DeLong's variance is 1/32.
    const QString pairs = QStringLiteral("20T- 40T+ 40T- 80T+");
    const double cSpread = Wilson95Quantile * std::sqrt(1.0 / 32);
    QTest::newRow("c-statistic, cut at 1") << pairs << "c" << 0.875 << 0.875 - cSpread << 1.0;
    QTest::newRow("Brier score, scaled") << pairs << "brier" << 0.15 << 0.4 << 0.4;
}

void TableCheckTest::closedForms()
{
    QFETCH(QString, cases);
    QFETCH(QString, figure);
    QFETCH(double, expected);
    QFETCH(double, low);
    QFETCH(double, high);

    const TableCheck check = checkTables(tallyOf(cases));
    std::optional<Estimate> found;
    if (figure == QLatin1String("intercept"))
        found = check.intercept;
    else if (figure == QLatin1String("slope"))
        found = check.slope;
    else if (figure == QLatin1String("oe"))
        found = check.oe;
    else if (figure == QLatin1String("c") && check.concordance)
        found = check.concordance->interval;
    else if (figure == QLatin1String("brier") && check.brier && check.brierScaled)
        found = Estimate {*check.brier, *check.brierScaled, *check.brierScaled};
    QVERIFY2(found.has_value(), qPrintable(figure));
    QVERIFY2(std::abs(found->value - expected) < 1e-9,
             qPrintable(QString::number(found->value, 'g', 12)));
    QVERIFY2(std::abs(found->low - low) < 1e-9, qPrintable(QString::number(found->low, 'g', 12)));
    QVERIFY2(std::abs(found->high - high) < 1e-9,
             qPrintable(QString::number(found->high, 'g', 12)));
}

void TableCheckTest::shownFigures_data()
{
    QTest::addColumn<QString>("smallest");
    QTest::addColumn<int>("sheath"); // 1: 10-12 Ch, 2: 12-14 Ch
    QTest::addColumn<bool>("stricture");
    QTest::addColumn<int>("figure"); // -1: none
    QTest::addColumn<int>("basis");

    const int table = int(CalculationResult::Basis::Table);
    QTest::newRow("a row") << "1.45" << 1 << false << 40 << table;
    QTest::newRow("the last usable of two rows") << "1.46" << 1 << false << 55 << table;
    QTest::newRow("read with three decimals") << "1.462" << 1 << false << 55 << table;
    QTest::newRow("an unusable row only") << "1.47" << 1 << false << -1 << 0;
    QTest::newRow("a row of 0 %") << "1.48" << 1 << false << 0 << table;
    QTest::newRow("no row") << "1.55" << 1 << false << -1 << 0;
    QTest::newRow("at the lower bound")
        << "1.44" << 1 << false << 29 << int(CalculationResult::Basis::LowerBound);
    QTest::newRow("at the upper bound")
        << "1.6" << 1 << false << 93 << int(CalculationResult::Basis::UpperBound);
    QTest::newRow("a stricture") << "1.45" << 1 << true << 0
                                 << int(CalculationResult::Basis::Stricture);
    QTest::newRow("no file for 12-14 Ch") << "1.9" << 2 << false << -1 << 0;
    QTest::newRow("12-14 Ch above its bound")
        << "2.1" << 2 << false << 93 << int(CalculationResult::Basis::UpperBound);
}

void TableCheckTest::shownFigures()
{
    QFETCH(QString, smallest);
    QFETCH(int, sheath);
    QFETCH(bool, stricture);
    QFETCH(int, figure);
    QFETCH(int, basis);

    QTemporaryDir folder;
    QVERIFY(writeTable(folder.path()));

    const LogCase logCase = caseOf(
        qPrintable(smallest), sheath == 1 ? SheathSize::Ch10To12 : SheathSize::Ch12To14, stricture);
    const CalculationResult result = ShownFigures(folder.path()).figureOf(logCase);
    QCOMPARE(result.hasFigure() ? result.figure : -1, figure);
    if (result.hasFigure())
        QCOMPARE(int(result.basis), basis);
}

// One folder's figures over many cases: a smallest diameter met again, with
// another sheath size or a stricture, or written otherwise, gets its own figure.
void TableCheckTest::repeatedDiametersKeepTheirFigures()
{
    QTemporaryDir folder;
    QVERIFY(writeTable(folder.path()));
    const ShownFigures figures(folder.path());
    const auto figureOf = [&figures](const char *smallest, SheathSize sheath, bool stricture) {
        const CalculationResult result = figures.figureOf(caseOf(smallest, sheath, stricture));
        return result.hasFigure() ? result.figure : -1;
    };
    for (int pass = 0; pass < 2; ++pass) {
        QCOMPARE(figureOf("1.46", SheathSize::Ch10To12, false), 55);
        QCOMPARE(figureOf("1.46", SheathSize::Ch10To12, true), 0);
        QCOMPARE(figureOf("1.46", SheathSize::Ch12To14, false), 29);
        QCOMPARE(figureOf("1,460", SheathSize::Ch10To12, false), 55);
        QCOMPARE(figureOf("1.47", SheathSize::Ch10To12, false), -1);
        QCOMPARE(figureOf("x", SheathSize::Ch10To12, false), -1);
        QCOMPARE(figureOf("1.451", SheathSize::Ch10To12, false), 40);
    }
}

// Tables just built give each case the figure the calculator gives it once
// they are written and read from a folder; a size without table cases gets no file.
void TableCheckTest::builtTablesReadAsWritten()
{
    CaseTally tally;
    quint32 state = 7;
    for (int i = 0; i < 400; ++i) {
        state = state * 1103515245u + 12345u;
        LogCase logCase = caseOf(qPrintable(QString::number(1.40 + (state >> 8) % 30 / 100.0)),
                                 SheathSize::Ch10To12, (state >> 20) % 30 == 0);
        logCase.placed = (state >> 12) % 100 < 20 + (state >> 8) % 30 * 2;
        tally.add(logCase);
    }
    const QVector<SheathEvidence> sheaths = buildTables(tally);
    QVERIFY(sheaths.at(0).tableCases() > 0);
    QCOMPARE(sheaths.at(1).tableCases(), 0);
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("Statistics_1.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(statisticsFileBytes(LogSummary(), sheaths.at(0)));
    file.close();

    const ShownFigures fromFiles(folder.path());
    const ShownFigures fromEvidence(sheaths);
    for (SheathSize sheath : {SheathSize::Ch10To12, SheathSize::Ch12To14}) {
        for (int hundredths = 130; hundredths <= 230; ++hundredths) {
            const LogCase logCase
                = caseOf(qPrintable(QString::number(hundredths / 100.0)), sheath, false);
            const CalculationResult a = fromFiles.figureOf(logCase);
            const CalculationResult b = fromEvidence.figureOf(logCase);
            QCOMPARE(b.hasFigure(), a.hasFigure());
            QCOMPARE(b.figure, a.figure);
            QCOMPARE(int(b.basis), int(a.basis));
        }
    }
}

void TableCheckTest::foldsPartitionTheCases_data()
{
    QTest::addColumn<int>("cases");
    QTest::addColumn<int>("folds");
    QTest::newRow("none") << 0 << 10;
    QTest::newRow("fewer than folds") << 7 << 10;
    QTest::newRow("one a fold") << 10 << 10;
    QTest::newRow("uneven") << 301 << 10;
    QTest::newRow("thousands") << 5003 << 10;
    QTest::newRow("two folds") << 11 << 2;
}

// Every case in one fold, sizes within one of each other, and the same folds
// for the same seed; another seed deals other folds.
void TableCheckTest::foldsPartitionTheCases()
{
    QFETCH(int, cases);
    QFETCH(int, folds);
    const QVector<int> fold = foldsOf(cases, folds, 20261210u);
    QCOMPARE(fold.size(), cases);
    QVector<int> sizes(folds);
    for (int f : fold) {
        QVERIFY(f >= 0 && f < folds);
        ++sizes[f];
    }
    QVERIFY(*std::max_element(sizes.begin(), sizes.end())
                - *std::min_element(sizes.begin(), sizes.end())
            <= 1);
    QCOMPARE(foldsOf(cases, folds, 20261210u), fold);
    if (cases > 100)
        QVERIFY(foldsOf(cases, folds, 1u) != fold);
}

void TableCheckTest::aFoldNeverSeesItsOwnCases_data()
{
    QTest::addColumn<int>("placed"); // of ten cases in one table row
    QTest::addColumn<int>("figureIfPlaced"); // the rate of the other nine, clipped
    QTest::addColumn<int>("figureIfNot");
    QTest::newRow("five of ten") << 5 << 44 << 56;
    QTest::newRow("nine of ten: the clipping") << 9 << 89 << 93;
    QTest::newRow("one of ten: the lower clipping") << 1 << 29 << 29;
    QTest::newRow("all ten") << 10 << 93 << -1;
}

// Ten cases, ten folds: each case's figure comes from the other nine alone,
// so a placed case sees one placement fewer than its apparent rate.
void TableCheckTest::aFoldNeverSeesItsOwnCases()
{
    QFETCH(int, placed);
    QFETCH(int, figureIfPlaced);
    QFETCH(int, figureIfNot);
    QVector<LogCase> cases;
    for (int i = 0; i < 10; ++i) {
        LogCase logCase = caseOf("1.50", SheathSize::Ch10To12, false);
        logCase.placed = i < placed;
        cases.append(logCase);
    }
    const FigureTally tally = crossValidatedTally(cases, 10, 20261210u);
    for (int figure = 0; figure < FigureTally::Figures; ++figure) {
        const PlacementCount &c = tally.byFigure[size_t(figure)];
        if (figure == figureIfPlaced && figure == figureIfNot) {
            QCOMPARE(c.cases, 10);
        } else if (figure == figureIfPlaced) {
            QCOMPARE(c.cases, placed);
            QCOMPARE(c.placed, placed);
        } else if (figure == figureIfNot) {
            QCOMPARE(c.cases, 10 - placed);
            QCOMPARE(c.placed, 0);
        } else {
            QCOMPARE(c.cases, 0);
        }
    }
}

void TableCheckTest::aValueRoundedToZeroHasNoSign()
{
    TableCheck check;
    check.cases = 10;
    check.slope = Estimate {-0.004, -0.5, 0.5};
    QCOMPARE(TableCheckTexts::brief(check),
             QStringLiteral("случаев 10, наклон 0.00 (-0.50 – 0.50)"));
}

// The first day tables cannot have seen, from the lines the writer gives
// them, and the cases from it: earlier and undated ones left out and counted.
void TableCheckTest::unseenCases_data()
{
    QTest::addColumn<QStringList>("comments");
    QTest::addColumn<QDate>("firstUnseen");
    QTest::addColumn<QStringList>("dates"); // of the log's cases, "" for none
    QTest::addColumn<int>("checked");
    QTest::addColumn<int>("seen");
    QTest::addColumn<int>("undated");

    const QString summary = QStringLiteral("Статистика клиники: 61 случай, кожух 10-12 Ch, журнал "
                                           "log.csv, 03.2024-12.2025; изотоническая регрессия");
    const QString written
        = QStringLiteral("Записано %1 10:00:00, velmira-stats 1.0, SHA-256 журнала");
    const QStringList dates = {QStringLiteral("2025-12-31"), QStringLiteral("2026-01-01"),
                               QStringLiteral("2026-03-02"), QString()};
    QTest::newRow("written later: the month after the period")
        << QStringList {summary, written.arg(QStringLiteral("10.02.2026"))} << QDate(2026, 1, 1)
        << dates << 2 << 1 << 1;
    QTest::newRow("written within the period's last month: the day after")
        << QStringList {summary, written.arg(QStringLiteral("15.12.2025"))} << QDate(2025, 12, 16)
        << dates << 3 << 0 << 1;
    QTest::newRow("no line of the writer: every case, optimistic")
        << QStringList {QStringLiteral("ДЕМОНСТРАЦИОННЫЕ ДАННЫЕ")} << QDate() << dates << 4 << 0
        << 0;
    QTest::newRow("a log without dates: every case")
        << QStringList {summary} << QDate(2026, 1, 1) << QStringList {QString(), QString()} << 2
        << 0 << 0;
}

void TableCheckTest::unseenCases()
{
    QFETCH(QStringList, comments);
    QFETCH(QDate, firstUnseen);
    QFETCH(QStringList, dates);
    QFETCH(int, checked);
    QFETCH(int, seen);
    QFETCH(int, undated);
    QCOMPARE(UnseenCases::firstUnseenDay(comments), firstUnseen);
    QVector<LogCase> cases;
    for (const QString &date : dates) {
        LogCase logCase;
        logCase.date = QDate::fromString(date, Qt::ISODate);
        cases.append(logCase);
    }
    const UnseenCases unseen(cases, firstUnseen);
    QCOMPARE(int(unseen.cases().size()), checked);
    QCOMPARE(unseen.leftOutSeen(), seen);
    QCOMPARE(unseen.leftOutUndated(), undated);
    QCOMPARE(unseen.optimistic(), checked == int(dates.size()));
    QCOMPARE(UnseenCases(cases, firstUnseen, true).cases().size(), cases.size());
}

QTEST_GUILESS_MAIN(TableCheckTest)
#include "tst_tablecheck.moc"
