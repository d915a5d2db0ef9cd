// Speed of loading a statistics table and of one press's lookup, against the
// bare cost of reading and splitting the same file, for files of growing size.
//
// Slots:
//   load, lookUp  QBENCHMARK figures per file size (usable with -callgrind);
//   compare       the same operations and the baseline, interleaved in one run:
//                 the median of several repetitions per size, printed at the end
//                 as two tables with ratios, of elapsed time (QElapsedTimer) and
//                 of the thread's processor time, which a busy machine disturbs less.
// Run on the offscreen platform: QT_QPA_PLATFORM=offscreen bench_statistics
// (QtTest arguments select slots and rows, e.g. "compare" or "load:100000").

#include "diameter.h"
#include "probabilityrule.h"
#include "statisticslookup.h"
#include "statisticstable.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

#include <time.h>

namespace {

// The largest stays under the calculator's limit on a table file (MaxStatisticsFileBytes).
const QVector<int> FileSizes = {100, 1000, 10000, 100000};
// Repetitions per size; BENCH_REPETITIONS in the environment overrides.
constexpr int DefaultRepetitions = 5;
// A timed run repeats its operation until this much time has been measured,
// so that small files give more than a timer tick; the run reports the mean.
constexpr qint64 MinimumTimedNanoseconds = 20 * 1000 * 1000;
// A smallest diameter inside the 10-12 Ch band, so the table is consulted.
constexpr double MiddleBandMinimum = 1.523;

// Targets the figures are held against; they are reported, never asserted.
constexpr double LoadGrowthTarget = 11.0;
constexpr double LoadToBaselineTarget = 3.5;
constexpr double LookupToBaselineTarget = 0.5;
constexpr double LookupGrowthTarget = 11.0;

struct GeneratedFile {
    QString path;
    int rows = 0;
    // What the table must hold and the lookup must find, from the generator's own record.
    int probeRow = 0;
    QString probeDiameter;
    QString probePercentage;
    std::optional<int> expectedPercentage;
    int rowsScanned = 0; // rows a backward lookup visits up to and including its match
};

// Milliseconds per operation, as a median over the repetitions.
struct Costs {
    double baseline = 0;
    double load = 0;
    double lookup = 0;
    double calculate = 0;
};

struct Figures {
    int rows = 0;
    int rowsScanned = 0;
    Costs wall; // elapsed time, QElapsedTimer
    Costs cpu; // this thread's processor time: what other processes cannot inflate
};

// A ureter's smallest diameter, in thousandths of a millimetre, and the share
// of sheaths placed: a logistic curve around 1.52 mm with a little noise.
int percentageFor(int thousandths, std::minstd_rand &random)
{
    const double diameter = thousandths / 1000.0;
    const double curve = 100.0 / (1.0 + std::exp(-(diameter - 1.52) / 0.12));
    const int noise = int(random() % 7) - 3;
    return std::clamp(int(std::lround(curve)) + noise, 0, 100);
}

// Diameters from 1.000 mm to 2.999 mm in ascending order, as a clinic sorts its
// table; a longer file repeats each value on consecutive lines.
GeneratedFile generateFile(const QString &path, int rows)
{
    GeneratedFile generated;
    generated.path = path;
    generated.rows = rows;
    generated.probeRow = rows / 2;

    QByteArray bytes("\xEF\xBB\xBF");
    bytes += QStringLiteral("Диаметр (мм),Вероятность (%)\n").toUtf8();
    bytes += "# Generated for a benchmark: not clinical data.\n";
    bytes.reserve(bytes.size() + rows * 10);

    std::minstd_rand random(20240611);
    const QString minimumText = twoDecimalText(MiddleBandMinimum);
    int lastMatch = -1;
    for (int row = 0; row < rows; ++row) {
        const int thousandths = 1000 + int(qint64(row) * 2000 / rows);
        const int percentage = percentageFor(thousandths, random);
        const QByteArray diameter = QByteArray::number(thousandths / 1000) + '.'
            + QByteArray::number(thousandths % 1000).rightJustified(3, '0');
        const QByteArray percentageText = QByteArray::number(percentage);
        bytes += diameter + ',' + percentageText + '\n';

        if (row == generated.probeRow) {
            generated.probeDiameter = QString::fromLatin1(diameter);
            generated.probePercentage = QString::fromLatin1(percentageText);
        }
        if (twoDecimalText(thousandths / 1000.0) == minimumText) {
            lastMatch = row;
            generated.expectedPercentage = percentage;
        }
    }
    generated.rowsScanned = lastMatch < 0 ? rows : rows - lastMatch;

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return generated;
}

// The least a loader must do: read every line, simplify it, split it at commas.
qint64 readAndSplit(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    QTextStream stream(&file);
    qint64 fields = 0;
    while (!stream.atEnd()) {
        const QStringList parts = stream.readLine().simplified().split(QLatin1Char(','));
        fields += parts.size();
    }
    return fields;
}

struct Timing {
    double wallMs = 0;
    double cpuMs = 0;
};

qint64 threadCpuNanoseconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Repeats work until enough time has been measured; prepare runs before each
// repetition, untimed. Returns the elapsed and the processor time per repetition.
template<typename Prepare, typename Work> Timing timePerRun(Prepare prepare, Work work)
{
    QElapsedTimer timer;
    qint64 wall = 0;
    qint64 cpu = 0;
    int runs = 0;
    do {
        prepare();
        const qint64 cpuStart = threadCpuNanoseconds();
        timer.start();
        work();
        wall += timer.nsecsElapsed();
        cpu += threadCpuNanoseconds() - cpuStart;
        ++runs;
    } while (wall < MinimumTimedNanoseconds);
    return {double(wall) / runs / 1e6, double(cpu) / runs / 1e6};
}

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    const int middle = values.size() / 2;
    return values.size() % 2 ? values.at(middle) : (values.at(middle - 1) + values.at(middle)) / 2;
}

CalculationInput middleBandInput()
{
    CalculationInput input;
    input.diameterTexts
        = {QString::number(MiddleBandMinimum), QStringLiteral("1.7"), QStringLiteral("1,9")};
    input.sheath = SheathSize::Ch10To12;
    return input;
}

int repetitions()
{
    bool ok = false;
    const int fromEnvironment = qEnvironmentVariableIntValue("BENCH_REPETITIONS", &ok);
    return ok && fromEnvironment > 0 ? fromEnvironment : DefaultRepetitions;
}

QtMessageHandler previousHandler = nullptr;

// calculateProbability logs the smallest diameter on every call: keep that
// line out of the figures and the output, pass everything else on.
void dropDebugMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtDebugMsg && previousHandler)
        previousHandler(type, context, message);
}

QString ratioText(double ratio)
{
    return QString::asprintf("%.2fx", ratio);
}

QString verdict(bool met)
{
    return met ? QStringLiteral("met") : QStringLiteral("MISSED");
}

} // namespace

class StatisticsBenchmark : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void load_data() { sizeRows(); }
    void load();
    void lookUp_data() { sizeRows(); }
    void lookUp();
    void compare();

private:
    void sizeRows();
    const GeneratedFile &fileWith(int rows);
    void verifyTable(const QTableWidget &table, const GeneratedFile &file);
    void printTable() const;
    QString costTable(const QString &title, Costs Figures::*kind) const;

    QTemporaryDir dir;
    QMap<int, GeneratedFile> files;
    QMap<int, Figures> figures;
};

void StatisticsBenchmark::initTestCase()
{
    QVERIFY(dir.isValid());
    previousHandler = qInstallMessageHandler(dropDebugMessages);
}

void StatisticsBenchmark::cleanupTestCase()
{
    qInstallMessageHandler(previousHandler);
    printTable();
}

void StatisticsBenchmark::sizeRows()
{
    QTest::addColumn<int>("rows");
    for (const int rows : FileSizes)
        QTest::addRow("%d", rows) << rows;
}

// Files are written on first use, so a run of one size writes only that file.
const GeneratedFile &StatisticsBenchmark::fileWith(int rows)
{
    if (!files.contains(rows)) {
        const QString path = dir.filePath(QStringLiteral("Statistics_%1.txt").arg(rows));
        files.insert(rows, generateFile(path, rows));
    }
    return files[rows];
}

void StatisticsBenchmark::verifyTable(const QTableWidget &table, const GeneratedFile &file)
{
    QCOMPARE(table.rowCount(), file.rows);
    QCOMPARE(table.columnCount(), 2);
    QVERIFY(table.item(file.probeRow, 0));
    QCOMPARE(table.item(file.probeRow, 0)->text(), file.probeDiameter);
    QCOMPARE(table.item(file.probeRow, 1)->text(), file.probePercentage);
}

void StatisticsBenchmark::load()
{
    QFETCH(int, rows);
    const GeneratedFile &file = fileWith(rows);
    QVERIFY(!file.path.isEmpty());

    // Each repetition needs a fresh table; building an empty one is timed here
    // too, destroying the filled ones is not.
    std::vector<std::unique_ptr<QTableWidget>> tables;
    QBENCHMARK
    {
        tables.push_back(std::make_unique<QTableWidget>());
        loadStatisticsTable(tables.back().get(), file.path);
    }
    verifyTable(*tables.back(), file);
}

void StatisticsBenchmark::lookUp()
{
    QFETCH(int, rows);
    const GeneratedFile &file = fileWith(rows);
    QVERIFY(!file.path.isEmpty());
    QTableWidget table;
    loadStatisticsTable(&table, file.path);

    std::optional<StatisticsMatch> found;
    QBENCHMARK
    {
        found = findStatisticsRow(*table.model(), MiddleBandMinimum);
    }
    QCOMPARE(found ? found->figure : -1, file.expectedPercentage.value_or(-1));
}

void StatisticsBenchmark::compare()
{
    const CalculationInput input = middleBandInput();
    for (const int rows : FileSizes) {
        const GeneratedFile &file = fileWith(rows);
        QVERIFY(!file.path.isEmpty());
        QVERIFY(file.expectedPercentage.has_value());
    }

    QMap<int, QVector<Timing>> baseline, load, lookup, calculate;
    // Every repetition measures every size, in alternating order, so that a
    // busy spell on the machine falls on all sizes alike and not on one.
    const int count = repetitions();
    for (int repetition = 0; repetition < count; ++repetition) {
        QVector<int> sizes = FileSizes;
        if (repetition % 2)
            std::reverse(sizes.begin(), sizes.end());
        for (const int rows : sizes) {
            const GeneratedFile &file = fileWith(rows);

            qint64 fields = 0;
            baseline[rows] << timePerRun([] {}, [&] { fields = readAndSplit(file.path); });
            QVERIFY(fields >= 2 * rows);

            // Building the empty table and destroying the previous one stay untimed.
            std::unique_ptr<QTableWidget> table;
            load[rows] << timePerRun(
                [&] {
                    table.reset();
                    table = std::make_unique<QTableWidget>();
                },
                [&] { loadStatisticsTable(table.get(), file.path); });
            verifyTable(*table, file);

            std::optional<StatisticsMatch> found;
            lookup[rows] << timePerRun(
                [] {}, [&] { found = findStatisticsRow(*table->model(), MiddleBandMinimum); });
            QCOMPARE(found ? found->figure : -1, file.expectedPercentage.value_or(-1));

            CalculationResult result;
            calculate[rows] << timePerRun(
                [] {}, [&] { result = calculateProbability(input, table->model()); });
            QVERIFY(result.hasFigure());
            QCOMPARE(std::optional<int>(result.figure), file.expectedPercentage);
        }
    }

    const auto medians = [](const QVector<Timing> &timings) {
        QVector<double> wall, cpu;
        for (const Timing &timing : timings) {
            wall << timing.wallMs;
            cpu << timing.cpuMs;
        }
        return std::make_pair(median(wall), median(cpu));
    };
    for (const int rows : FileSizes) {
        Figures measured;
        measured.rows = rows;
        measured.rowsScanned = files[rows].rowsScanned;
        std::tie(measured.wall.baseline, measured.cpu.baseline) = medians(baseline[rows]);
        std::tie(measured.wall.load, measured.cpu.load) = medians(load[rows]);
        std::tie(measured.wall.lookup, measured.cpu.lookup) = medians(lookup[rows]);
        std::tie(measured.wall.calculate, measured.cpu.calculate) = medians(calculate[rows]);
        figures.insert(rows, measured);
    }
}

void StatisticsBenchmark::printTable() const
{
    if (figures.isEmpty())
        return;
    QString out = QString::asprintf(
        "\nStatistics tables: median of %d repetitions per size, sizes interleaved;"
        " lookup of %.3f mm\n"
        "baseline: read, simplify and split every line; scanned: rows the lookup visits,"
        " from the last one back to its match\n",
        repetitions(), MiddleBandMinimum);
    out += costTable(QStringLiteral("Elapsed time (QElapsedTimer)"), &Figures::wall);
    out += costTable(QStringLiteral("Processor time of the benchmark's thread"), &Figures::cpu);
    std::fputs(out.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

QString StatisticsBenchmark::costTable(const QString &title, Costs Figures::*kind) const
{
    QString out = QLatin1Char('\n') + title + QLatin1Char('\n');
    out += QString::asprintf("%9s %9s %12s %10s %9s %12s %9s %12s %9s\n", "rows", "scanned",
                             "baseline ms", "load ms", "load/base", "lookup ms", "look/base",
                             "calculate ms", "calc/base");
    bool loadWithinBaseline = true;
    for (const Figures &f : figures) {
        const Costs &c = f.*kind;
        out += QString::asprintf("%9d %9d %12.3f %10.3f %9.2f %12.4f %9.3f %12.4f %9.3f\n", f.rows,
                                 f.rowsScanned, c.baseline, c.load, c.load / c.baseline, c.lookup,
                                 c.lookup / c.baseline, c.calculate, c.calculate / c.baseline);
        loadWithinBaseline = loadWithinBaseline && c.load <= LoadToBaselineTarget * c.baseline;
    }

    out += QString::asprintf("load at most %.1fx baseline at every size: ", LoadToBaselineTarget)
        + verdict(loadWithinBaseline) + QLatin1Char('\n');
    if (figures.contains(100000)) {
        const Costs c = figures.value(100000).*kind;
        out += QString::asprintf("lookup on 100000 rows at most %.1fx baseline: ",
                                 LookupToBaselineTarget)
            + ratioText(c.lookup / c.baseline) + QLatin1Char(' ')
            + verdict(c.lookup <= LookupToBaselineTarget * c.baseline) + QLatin1Char('\n');
    }
    if (figures.contains(10000) && figures.contains(100000)) {
        const Costs small = figures.value(10000).*kind;
        const Costs large = figures.value(100000).*kind;
        const double loadGrowth = large.load / small.load;
        const double lookupGrowth = large.lookup / small.lookup;
        out += QStringLiteral("growth 100000 vs 10000 rows: baseline ")
            + ratioText(large.baseline / small.baseline) + QStringLiteral(", load ")
            + ratioText(loadGrowth) + QStringLiteral(", lookup ") + ratioText(lookupGrowth)
            + QStringLiteral(", calculate ") + ratioText(large.calculate / small.calculate)
            + QLatin1Char('\n');
        out += QString::asprintf("load growth at most %.0fx: ", LoadGrowthTarget)
            + verdict(loadGrowth <= LoadGrowthTarget)
            + QString::asprintf(", lookup growth at most %.0fx: ", LookupGrowthTarget)
            + verdict(lookupGrowth <= LookupGrowthTarget) + QLatin1Char('\n');
    }
    return out;
}

QTEST_MAIN(StatisticsBenchmark)
#include "bench_statistics.moc"
