// How long the PDF report takes for both sheath sizes, drawn from a realistic
// made-up log: 10-12 Ch with about 200 cases in its rows, a violator pooled,
// two diameters without cases and a low end raised to 29 %; 12-14 Ch with few
// cases. With a file name as argument it also writes that report, to look at.
//
//   bench_report [-n REPETITIONS] [REPORT.pdf]

#include "statisticsreport.h"
#include "wilsoninterval.h"

#include <QCommandLineParser>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace {

struct Counts {
    int cases;
    int placed;
};

struct Block {
    double cases = 0;
    double placed = 0;
    int first = 0; // indices into the rows with cases
    int last = 0;
    double rate() const { return placed / cases; }
};

// Pools adjacent violators over the rows with cases, weighted by cases.
QVector<Block> pool(const QVector<Counts> &rows, const QVector<int> &withCases)
{
    QVector<Block> blocks;
    for (int i = 0; i < withCases.size(); ++i) {
        const Counts &row = rows.at(withCases.at(i));
        blocks.append({double(row.cases), double(row.placed), i, i});
        while (blocks.size() > 1 && blocks.at(blocks.size() - 2).rate() > blocks.last().rate()) {
            const Block last = blocks.takeLast();
            blocks.last().cases += last.cases;
            blocks.last().placed += last.placed;
            blocks.last().last = last.last;
        }
    }
    return blocks;
}

void fillFitted(SheathEvidence &sheath, const QVector<Counts> &rows, const QVector<int> &withCases)
{
    for (const Block &block : pool(rows, withCases)) {
        for (int i = block.first; i <= block.last; ++i) {
            FittedRow &row = sheath.rows[withCases.at(i)];
            row.fittedRate = qBound(0.29, block.rate(), 0.93);
            row.block = wilsonProportion(int(block.placed), int(block.cases));
            row.blockFrom = sheath.rows.at(withCases.at(block.first)).diameter;
            row.blockTo = sheath.rows.at(withCases.at(block.last)).diameter;
        }
    }
}

// Rows without cases: linear between the fitted neighbours, the nearest at the ends.
void interpolate(SheathEvidence &sheath, const QVector<int> &withCases)
{
    for (int r = 0; r < sheath.rows.size(); ++r) {
        FittedRow &row = sheath.rows[r];
        if (row.cases == 0 && !withCases.isEmpty()) {
            const auto next = std::upper_bound(withCases.cbegin(), withCases.cend(), r);
            const int right = next == withCases.cend() ? withCases.last() : *next;
            const int left = next == withCases.cbegin() ? withCases.first() : *(next - 1);
            const double a = sheath.rows.at(left).fittedRate;
            const double b = sheath.rows.at(right).fittedRate;
            row.fittedRate = left == right ? a : a + (b - a) * (r - left) / double(right - left);
        }
        row.percent = qRound(row.fittedRate * 100.0);
    }
}

BoundCheck boundCheck(double bound, int figure, Counts counts)
{
    return {bound, figure, wilsonProportion(counts.placed, counts.cases)};
}

SheathEvidence sheath(SheathSize size, const QVector<Counts> &rows, Counts lower, Counts upper,
                      int stricture)
{
    SheathEvidence evidence;
    evidence.sheath = size;
    const SheathBounds bounds = sheathBounds(size);
    QVector<int> withCases;
    for (int i = 0; i < rows.size(); ++i) {
        FittedRow row;
        row.diameter = QString::number(bounds.lower + i / 100.0, 'f', 2);
        row.cases = rows.at(i).cases;
        row.placed = rows.at(i).placed;
        evidence.rows.append(row);
        if (row.cases > 0)
            withCases.append(i);
    }
    fillFitted(evidence, rows, withCases);
    interpolate(evidence, withCases);
    evidence.lower = boundCheck(bounds.lower, LowerBoundFigure, lower);
    evidence.upper = boundCheck(bounds.upper, UpperBoundFigure, upper);
    evidence.strictureCases = stricture;
    return evidence;
}

QVector<SheathEvidence> sheaths()
{
    const QVector<Counts> narrow {{6, 1},   {9, 2},   {11, 4},  {0, 0},   {12, 5},  {14, 7},
                                  {16, 6},  {18, 10}, {0, 0},   {17, 10}, {15, 10}, {16, 11},
                                  {14, 10}, {13, 10}, {12, 10}, {10, 9},  {9, 9}};
    const QVector<Counts> wide {{0, 0}, {0, 0}, {2, 1}, {0, 0}, {0, 0}, {0, 0},
                                {3, 2}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {2, 2},
                                {0, 0}, {0, 0}, {0, 0}, {1, 1}, {0, 0}};
    return {sheath(SheathSize::Ch10To12, narrow, {45, 4}, {60, 56}, 14),
            sheath(SheathSize::Ch12To14, wide, {5, 1}, {12, 11}, 2)};
}

LogSummary log()
{
    LogSummary summary;
    summary.logName = QStringLiteral("cases-2024-2026.csv");
    summary.sha256 = QCryptographicHash::hash("made-up log", QCryptographicHash::Sha256).toHex();
    summary.rowsRead = 341;
    summary.badRows = 3;
    summary.skippedRows = 3;
    summary.firstDate = QDate(2024, 3, 4);
    summary.lastDate = QDate(2026, 11, 27);
    summary.written = QDateTime(QDate(2026, 12, 9), QTime(10, 15));
    summary.version = QStringLiteral("1.0.0");
    return summary;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("n"), QStringLiteral("Repetitions."), QStringLiteral("n"),
                      QStringLiteral("20")});
    parser.addPositionalArgument(QStringLiteral("report"),
                                 QStringLiteral("Where to write one report."));
    parser.process(app);

    const LogSummary summary = log();
    const QVector<SheathEvidence> evidence = sheaths();
    const int repetitions = qMax(1, parser.value(QStringLiteral("n")).toInt());
    QVector<double> times;
    QByteArray pdf;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        pdf = statisticsReportPdf(summary, evidence);
        times.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf(
        "report for 2 sheath sizes, %d repetitions: median %.1f ms, min %.1f ms, max %.1f ms, "
        "%lld bytes\n",
        repetitions, times.at(times.size() / 2), times.first(), times.last(),
        static_cast<long long>(pdf.size()));
    if (!parser.positionalArguments().isEmpty()) {
        QFile file(parser.positionalArguments().first());
        if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
            return 1;
    }
    return pdf.isEmpty() ? 1 : 0;
}
