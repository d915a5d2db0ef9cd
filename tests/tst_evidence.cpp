#include "caselogreader.h"
#include "casetally.h"
#include "isotonicfit.h"
#include "logevidence.h"
#include "wilsoninterval.h"

#include <QLoggingCategory>
#include <QTest>

using Cases = QVector<LogCase>;
Q_DECLARE_METATYPE(Cases)

namespace {

using Ints = QVector<int>;
using Reals = QVector<double>;

// "first-last placed/cases" per block: the pooling in one line.
QString blockList(const IsotonicFit &fit)
{
    QStringList blocks;
    for (const IsotonicFit::Block &block : fit.blocks)
        blocks.append(
            QString::asprintf("%d-%d %d/%d", block.first, block.last, block.placed, block.cases));
    return blocks.join(QStringLiteral(", "));
}

// Every count of a sheath size that is not zero, rows named by their text.
QString tallyList(SheathSize sheath, const SheathTally &tally)
{
    const QStringList texts = tableRowTexts(sheath);
    QStringList parts;
    const auto count = [&parts](const QString &name, int cases, int placed) {
        if (cases > 0 || placed > 0)
            parts.append(QString::asprintf("%s %d/%d", qPrintable(name), cases, placed));
    };
    for (int row = 0; row < tally.rowCases.size(); ++row)
        count(texts[row], tally.rowCases[row], tally.rowPlaced[row]);
    count(QStringLiteral("lower"), tally.lowerCases, tally.lowerPlaced);
    count(QStringLiteral("upper"), tally.upperCases, tally.upperPlaced);
    if (tally.strictureCases > 0)
        parts.append(QStringLiteral("stricture %1").arg(tally.strictureCases));
    return parts.isEmpty()
        ? QString()
        : sheathName(sheath) + QStringLiteral(": ") + parts.join(QStringLiteral(", "));
}

// A case whose smallest diameter is the middle one, as logs write it.
LogCase logged(const char *smallest, bool placed, SheathSize sheath = SheathSize::Ch10To12,
               bool stricture = false)
{
    LogCase logCase;
    logCase.diameters
        = {QStringLiteral("3.1"), QString::fromLatin1(smallest), QStringLiteral("4.2")};
    logCase.sheath = sheath;
    logCase.placed = placed;
    logCase.stricture = stricture;
    return logCase;
}

} // namespace

class EvidenceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void fit_data();
    void fit();
    void wilson_data();
    void wilson();
    void tally_data();
    void tally();
    void evidence();
};

// As velmira-stats runs: the rule's debug line once per case is noise here.
void EvidenceTest::initTestCase()
{
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
}

void EvidenceTest::fit_data()
{
    QTest::addColumn<Ints>("cases");
    QTest::addColumn<Ints>("placed");
    QTest::addColumn<Reals>("x"); // empty: 0, 1, 2, ...
    QTest::addColumn<bool>("clip"); // to the fixed figures, else to 0..1
    QTest::addColumn<QString>("blocks");
    QTest::addColumn<Reals>("values");

    const auto row = [](const char *name, Ints cases, Ints placed, bool clip, const char *blocks,
                        Reals values, Reals x = {}) {
        QTest::newRow(name) << cases << placed << x << clip << QString::fromLatin1(blocks)
                            << values;
    };
    const double low = LowerBoundFigure / 100.0;
    const double high = UpperBoundFigure / 100.0;
    // Rates 0, 0.5, 1 already rise: nothing pools.
    row("pool: rising rates kept apart", {2, 2, 2}, {0, 1, 2}, false, "0-0 0/2, 1-1 1/2, 2-2 2/2",
        {0, 0.5, 1});
    // 3/4 then 0/1 pool by cases, 3/5 = 0.6, not by the mean of rates, 0.375.
    row("pool: weighted by cases", {4, 1}, {3, 0}, false, "0-1 3/5", {0.6, 0.6});
    // 0.6 < 0.9 stays; 0.9 > 0.1 pools to 10/20 = 0.5 < 0.6, so it pools back: 13/25 = 0.52.
    row("pool: steps back after a merge", {5, 10, 10}, {3, 9, 1}, false, "0-2 13/25",
        {0.52, 0.52, 0.52});
    // 1/2, 0/2 pool to 1/4; 2/2, 1/2 to 3/4; 0.25 < 0.75 keeps two blocks.
    row("pool: two blocks", {2, 2, 2, 2}, {1, 0, 2, 1}, false, "0-1 1/4, 2-3 3/4",
        {0.25, 0.25, 0.75, 0.75});
    row("pool: falling throughout", {4, 4, 4, 4, 4}, {4, 3, 2, 1, 0}, false, "0-4 10/20",
        {0.5, 0.5, 0.5, 0.5, 0.5});
    // 3/3 then 1/3 pool to 4/6, still above 0/3.
    row("pool: violator at the end", {3, 3, 3}, {0, 3, 1}, false, "0-0 0/3, 1-2 4/6",
        {0, 4.0 / 6, 4.0 / 6});
    row("tie: equal rates pool", {2, 4}, {1, 2}, false, "0-1 3/6", {0.5, 0.5});
    // 2/2, 0/2 pool to 2/4 = 0.5, which ties 2/4 beside it: one block.
    row("tie: a pooled block meets its rate", {2, 2, 4}, {2, 0, 2}, false, "0-2 4/8",
        {0.5, 0.5, 0.5});
    row("tie: all placed", {1, 1, 1}, {1, 1, 1}, false, "0-2 3/3", {1, 1, 1});
    // The block keeps its own rate, 0; only the values are clipped.
    row("clip: none placed", {3, 3}, {0, 0}, true, "0-1 0/6", {low, low});
    row("clip: all placed", {5}, {5}, true, "0-0 5/5", {high});
    row("clip: inside kept", {2, 2, 2}, {0, 1, 2}, true, "0-0 0/2, 1-1 1/2, 2-2 2/2",
        {low, 0.5, high});
    // Clipped first, then interpolated: (0.29 + 0.93) / 2 = 0.61, not (0 + 1) / 2.
    row("clip: before interpolation", {2, 0, 2}, {0, 0, 2}, true, "0-0 0/2, 2-2 2/2",
        {low, (low + high) / 2, high});
    // From 1/4 to 3/4 over four steps of 0.125.
    row("interpolate: between fitted rows", {4, 0, 0, 0, 4}, {1, 0, 0, 0, 3}, false,
        "0-0 1/4, 4-4 3/4", {0.25, 0.375, 0.5, 0.625, 0.75});
    row("interpolate: flat beyond the ends", {0, 0, 2, 0}, {0, 0, 1, 0}, false, "2-2 1/2",
        {0.5, 0.5, 0.5, 0.5});
    // x = 1 lies a quarter of the way from 0 to 4: 0 + 1/4 * (1 - 0).
    row("interpolate: by diameter, not by row", {1, 0, 1}, {0, 0, 1}, false, "0-0 0/1, 2-2 1/1",
        {0, 0.25, 1}, {0, 1, 4});
    // Row 2 lies between the block's last row (0.5) and row 3 (1): 0.75.
    row("interpolate: from a block's last row", {2, 2, 0, 2}, {1, 1, 0, 2}, false,
        "0-1 2/4, 3-3 2/2", {0.5, 0.5, 0.75, 1});
    row("interpolate: a block spans an empty row", {2, 0, 4}, {1, 0, 2}, false, "0-2 3/6",
        {0.5, 0.5, 0.5});
    row("no cases: nothing fitted", {0, 0, 0}, {0, 0, 0}, true, "", {0, 0, 0});
}

void EvidenceTest::fit()
{
    QFETCH(Ints, cases);
    QFETCH(Ints, placed);
    QFETCH(Reals, x);
    QFETCH(bool, clip);
    QFETCH(QString, blocks);
    QFETCH(Reals, values);
    for (int row = x.size(); row < cases.size(); ++row)
        x.append(row);

    const IsotonicFit fit = clip
        ? fitIsotonic(x, cases, placed, LowerBoundFigure / 100.0, UpperBoundFigure / 100.0)
        : fitIsotonic(x, cases, placed, 0.0, 1.0);
    QCOMPARE(blockList(fit), blocks);
    for (const IsotonicFit::Block &block : fit.blocks)
        QVERIFY(qAbs(block.rate - double(block.placed) / block.cases) < 1e-12); // unclipped
    QCOMPARE(fit.value.size(), values.size());
    for (int row = 0; row < values.size(); ++row) {
        QVERIFY2(qAbs(fit.value[row] - values[row]) < 1e-12, qPrintable(QString::number(row)));
        const int b = fit.block[row];
        if (cases[row] == 0)
            QCOMPARE(b, -1);
        else
            QVERIFY(b >= 0 && fit.blocks[b].first <= row && row <= fit.blocks[b].last);
    }
}

void EvidenceTest::wilson_data()
{
    QTest::addColumn<int>("placed");
    QTest::addColumn<int>("cases");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");

    // With z^2 = 3.841459: 0 of n gives 0 .. z^2 / (n + z^2), n of n gives
    // n / (n + z^2) .. 1. The figures agree with statsmodels' proportion_confint.
    QTest::newRow("no cases: anything") << 0 << 0 << 0.0 << 1.0;
    QTest::newRow("0 of 1") << 0 << 1 << 0.0 << 0.793450685623; // z^2 / 4.841459
    QTest::newRow("0 of 10") << 0 << 10 << 0.0 << 0.277532799863; // z^2 / 13.841459
    // Computed as written, 0 of 3 gives a low bound of 5.6e-17 and 10 of 10
    // a high one of 1 - 1.1e-16: the interval must still hold the rate.
    QTest::newRow("0 of 3") << 0 << 3 << 0.0 << 0.561497031755; // z^2 / 6.841459
    QTest::newRow("1 of 1") << 1 << 1 << 0.206549314377 << 1.0; // 1 / 4.841459
    QTest::newRow("10 of 10") << 10 << 10 << 0.722467200137 << 1.0; // 10 / 13.841459
    QTest::newRow("5 of 10: symmetric") << 5 << 10 << 0.236593090513 << 0.763406909487;
    QTest::newRow("3 of 7") << 3 << 7 << 0.158219855251 << 0.749541635472;
}

void EvidenceTest::wilson()
{
    QFETCH(int, placed);
    QFETCH(int, cases);
    QFETCH(double, low);
    QFETCH(double, high);

    const Proportion proportion = wilsonProportion(placed, cases);
    QCOMPARE(proportion.cases, cases);
    QCOMPARE(proportion.placed, placed);
    QVERIFY(0.0 <= proportion.low && proportion.low <= proportion.rate());
    QVERIFY(proportion.rate() <= proportion.high && proportion.high <= 1.0);
    QVERIFY2(qAbs(proportion.low - low) < 1e-9,
             qPrintable(QString::number(proportion.low, 'g', 12)));
    QVERIFY2(qAbs(proportion.high - high) < 1e-9,
             qPrintable(QString::number(proportion.high, 'g', 12)));
}

void EvidenceTest::tally_data()
{
    QTest::addColumn<Cases>("cases");
    QTest::addColumn<QString>("tally"); // both sheath sizes, each "rows, bound checks, strictures"

    const SheathSize large = SheathSize::Ch12To14;
    LogCase spread = logged("1.52", true);
    spread.diameters = {QStringLiteral("2,1"), QStringLiteral("1,87"), QStringLiteral("1,52")};
    QTest::newRow("smallest of three, decimal comma") << Cases {spread} << "10-12 Ch: 1.52 1/1";
    QTest::newRow("cases at the same text share a row")
        << Cases {logged("1.50", true), logged("1.5", false), logged("1.504", true),
                  logged("1.4951", false)}
        << "10-12 Ch: 1.50 4/2";
    // 1.505 is stored as 1.50499999..., 1.515 as 1.51499999...: both render down.
    QTest::newRow("rendered from the stored double")
        << Cases {logged("1.505", false), logged("1.515", true)} << "10-12 Ch: 1.50 1/0, 1.51 1/1";
    // Above the bound as numbers, so looked up as text, even where the text is the bound's.
    QTest::newRow("just above the lower bound")
        << Cases {logged("1.4449", true), logged("1.445", false)} << "10-12 Ch: 1.44 1/1, 1.45 1/0";
    QTest::newRow("at and below the lower bound")
        << Cases {logged("1.44", true), logged("1.440", false), logged("0.9", false)}
        << "10-12 Ch: lower 3/1";
    QTest::newRow("just below the upper bound")
        << Cases {logged("1.599", true), logged("1.595", false)} << "10-12 Ch: 1.59 1/0, 1.60 1/1";
    QTest::newRow("at and above the upper bound")
        << Cases {logged("1.6", true), logged("1.60", true), logged("2.5", false)}
        << "10-12 Ch: upper 3/2";
    QTest::newRow("strictures excluded wherever they lie")
        << Cases {logged("1.50", true, SheathSize::Ch10To12, true),
                  logged("1.2", false, SheathSize::Ch10To12, true),
                  logged("2.5", true, SheathSize::Ch10To12, true)}
        << "10-12 Ch: stricture 3";
    // 1.845 is stored as 1.84499999..., 1.995 as 1.99500000...
    QTest::newRow("12-14 bounds") << Cases {
        logged("1.845", false, large), logged("1.84", false, large), logged("1.995", true, large),
        logged("2", false, large)} << "12-14 Ch: 1.84 1/0, 2.00 1/1, lower 1/0, upper 1/0";
    QTest::newRow("sheath sizes kept apart")
        << Cases {logged("1.70", true), logged("1.70", false, large), logged("1.90", true),
                  logged("1.90", true, large)}
        << "10-12 Ch: upper 2/2; 12-14 Ch: 1.90 1/1, lower 1/0";
}

void EvidenceTest::tally()
{
    QFETCH(Cases, cases);
    QFETCH(QString, tally);

    CaseTally caseTally;
    for (const LogCase &logCase : cases)
        caseTally.add(logCase);
    QStringList sheaths;
    for (const SheathSize sheath : {SheathSize::Ch10To12, SheathSize::Ch12To14})
        if (const QString list = tallyList(sheath, caseTally.tally(sheath)); !list.isEmpty())
            sheaths.append(list);
    QCOMPARE(sheaths.join(QStringLiteral("; ")), tally);
}

// The rows as the files write them, from one tally: percent, span and interval.
void EvidenceTest::evidence()
{
    SheathTally tally;
    tally.rowCases.fill(0, 17);
    tally.rowPlaced.fill(0, 17);
    tally.rowCases[0] = 3; // 1.44: 0 of 3, clipped up
    tally.rowCases[3] = 2; // 1.47: 2 of 2 and 1.49: 0 of 2 pool to 2 of 4
    tally.rowPlaced[3] = 2;
    tally.rowCases[5] = 2;
    tally.rowCases[10] = 4; // 1.54: 4 of 4, clipped down
    tally.rowPlaced[10] = 4;
    tally.lowerCases = 10; // 0 of 10: 0 .. 0.2775, below the lower figure
    tally.upperCases = 1; // 1 of 1: 0.2065 .. 1, holds the upper figure
    tally.upperPlaced = 1;
    tally.strictureCases = 2;
    const SheathEvidence evidence = buildSheathEvidence(SheathSize::Ch10To12, tally);

    QCOMPARE(evidence.rows.size(), 17);
    QCOMPARE(evidence.rows.first().diameter, QStringLiteral("1.44"));
    QCOMPARE(evidence.rows.last().diameter, QStringLiteral("1.60"));
    // From 0.29 at 1.44 up to 0.5 at 1.47: 0.07 a row; from 0.5 at 1.49 up
    // to 0.93 at 1.54: 0.086 a row (58.6, 67.2, 75.8, 84.4); flat beyond.
    Ints percents {LowerBoundFigure, 36, 43, 50, 50, 50, 59, 67, 76, 84};
    while (percents.size() < 17)
        percents.append(UpperBoundFigure);
    for (int row = 0; row < 17; ++row)
        QVERIFY2(evidence.rows[row].percent == percents[row],
                 qPrintable(evidence.rows[row].diameter + QStringLiteral(": ")
                            + QString::number(evidence.rows[row].percent)));

    const FittedRow &pooled = evidence.rows[3];
    QCOMPARE(pooled.blockFrom + QLatin1Char('-') + pooled.blockTo, QStringLiteral("1.47-1.49"));
    QCOMPARE(pooled.block.cases, 4);
    QCOMPARE(pooled.block.placed, 2);
    QVERIFY(qAbs(pooled.block.low - 0.150038989152) < 1e-9); // 2 of 4
    QVERIFY(!pooled.isClipped() && !pooled.isInterpolated());
    const FittedRow &between = evidence.rows[4];
    QVERIFY(between.isInterpolated() && between.block.cases == 0 && between.blockFrom.isEmpty());
    QVERIFY(evidence.rows[0].isClipped() && evidence.rows[10].isClipped());

    QCOMPARE(evidence.lower.figure, LowerBoundFigure);
    QVERIFY(evidence.lower.disagrees());
    QVERIFY(!evidence.upper.disagrees());
    QCOMPARE(evidence.allCases(), 11 + 10 + 1 + 2);
}

QTEST_GUILESS_MAIN(EvidenceTest)
#include "tst_evidence.moc"
