// Speed of velmira-stats --check (read the log, give each case the figure the
// calculator shows through its own reading of the tables, count and work out
// every figure) against the bare cost of reading the same log and splitting
// its fields, for logs of 10,000, 100,000 and 1,000,000 cases; interleaved,
// several repetitions, medians. The 10-fold cross-validation of a build is
// timed apart, on the cases already read.
//
//   bench_tablecheck [REPETITIONS]     (default 5; on an otherwise idle machine)

#include "benchlog.h"
#include "benchtiming.h"
#include "crossvalidation.h"
#include "logevidence.h"
#include "shownfigures.h"
#include "statisticswriter.h"
#include "tablecheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

const QVector<int> Sizes = {10000, 100000, 1000000};
constexpr double RatioTarget = 2.0;

// The tables checked: built from the smallest log, as a clinic's would be.
void writeTables(const QString &folder)
{
    const LogEvidence evidence = gatherLogEvidence(generatedLog(Sizes.first()));
    for (const SheathEvidence &sheath : evidence.sheaths) {
        QFile file(QDir(folder).filePath(statisticsFileName(sheath.sheath)));
        if (!file.open(QIODevice::WriteOnly)
            || file.write(statisticsFileBytes(LogSummary(), sheath)) <= 0)
            qFatal("bench_tablecheck: the tables could not be written");
    }
}

int checkPass(const QByteArray &bytes, const QString &folder, QVector<LogCase> &cases)
{
    cases = readLogCases(bytes).cases;
    return checkTables(tallyFigures(ShownFigures(folder), cases)).cases;
}

} // namespace

int main(int argc, char *argv[])
{
    // The rule's debug line per case is not part of any clinic's run.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    QCoreApplication application(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 5;
    QTemporaryDir folder;
    writeTables(folder.path());

    QVector<QByteArray> logs;
    for (int size : Sizes)
        logs.append(generatedLog(size));
    const int n = int(Sizes.size());
    QVector<QVector<double>> baseWall(n), checkWall(n), foldsWall(n);
    for (int repetition = 0; repetition < repetitions; ++repetition) {
        for (int i = 0; i < n; ++i) {
            qint64 fields = 0;
            int checked = 0;
            QVector<LogCase> cases;
            baseWall[i].append(timed([&] { fields = readAndSplit(logs[i]); }).wallMs);
            checkWall[i].append(
                timed([&] { checked = checkPass(logs[i], folder.path(), cases); }).wallMs);
            foldsWall[i].append(
                timed([&] { checkTables(crossValidatedTally(cases, 10, 20261210u)); }).wallMs);
            if (fields < Sizes[i] * 10 || checked < Sizes[i] / 2)
                qFatal("bench_tablecheck: a pass did not read the whole log");
        }
    }

    std::printf("%d repetitions, medians of wall time; --check against reading and splitting the "
                "log\n",
                repetitions);
    std::printf("%10s %10s %10s %8s %8s %12s %8s\n", "cases", "split ms", "check ms", "check x",
                "growth", "10 folds ms", "folds x");
    for (int i = 0; i < n; ++i) {
        const double ratio = median(checkWall[i]) / median(baseWall[i]);
        const QString growth = i == 0
            ? QStringLiteral("-")
            : QString::asprintf("%.2f", median(checkWall[i]) / median(checkWall[i - 1]));
        std::printf("%10d %10.1f %10.1f %7.2fx %8s %12.1f %7.2fx %s\n", Sizes[i],
                    median(baseWall[i]), median(checkWall[i]), ratio, qPrintable(growth),
                    median(foldsWall[i]), median(foldsWall[i]) / median(baseWall[i]),
                    ratio <= RatioTarget ? "met" : "MISSED");
    }
    return 0;
}
