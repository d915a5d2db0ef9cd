// Speed of velmira-stats' whole pass over a case log (read, sort the cases
// by the calculator's rule, fit, render both tables; no report) against the
// bare cost of reading the same log and splitting its fields, for logs of
// 10,000, 100,000 and 1,000,000 cases. The two run interleaved in one
// process, several repetitions each; the medians of wall and processor time
// and their ratios are printed, with the wall time's growth per tenfold size.
// The report is timed apart.
//
//   bench_caselog [REPETITIONS]     (default 5; on an otherwise idle machine)

#include "benchlog.h"
#include "benchtiming.h"
#include "logevidence.h"
#include "statisticsreport.h"
#include "statisticswriter.h"

#include <QGuiApplication>
#include <QLoggingCategory>

#include <cstdio>

namespace {

const QVector<int> Sizes = {10000, 100000, 1000000};
constexpr double RatioTarget = 2.0;

struct Pass {
    QVector<SheathEvidence> sheaths;
    LogSummary log;
    qint64 tableBytes = 0;
};

Pass wholePass(const QByteArray &bytes)
{
    Pass pass;
    const LogEvidence evidence = gatherLogEvidence(bytes);
    pass.sheaths = evidence.sheaths;
    pass.log.logName = QStringLiteral("bench.csv");
    pass.log.sha256 = evidence.sha256;
    pass.log.rowsRead = evidence.reading.rowsRead;
    pass.log.written = QDateTime::currentDateTime();
    pass.log.version = QStringLiteral("bench");
    for (const SheathEvidence &sheath : pass.sheaths)
        pass.tableBytes += statisticsFileBytes(pass.log, sheath).size();
    return pass;
}

} // namespace

int main(int argc, char *argv[])
{
    // The rule's debug line per case is not part of any clinic's run.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 5;

    QVector<QByteArray> logs;
    for (int size : Sizes)
        logs.append(generatedLog(size));
    QVector<QVector<double>> baseWall(Sizes.size()), baseCpu(Sizes.size()), fullWall(Sizes.size()),
        fullCpu(Sizes.size());
    Pass last;
    for (int repetition = 0; repetition < repetitions; ++repetition) {
        for (int i = 0; i < Sizes.size(); ++i) {
            qint64 fields = 0;
            const Timing base = timed([&] { fields = readAndSplit(logs[i]); });
            const Timing full = timed([&] { last = wholePass(logs[i]); });
            if (fields < Sizes[i] * 10 || last.log.rowsRead != Sizes[i] || last.tableBytes == 0)
                qFatal("bench_caselog: a pass did not read the whole log");
            baseWall[i].append(base.wallMs);
            baseCpu[i].append(base.cpuMs);
            fullWall[i].append(full.wallMs);
            fullCpu[i].append(full.cpuMs);
        }
    }

    std::printf("%d repetitions, medians; the whole pass against reading and splitting the log\n",
                repetitions);
    std::printf("%10s %12s %12s %8s %12s %12s %8s %8s\n", "cases", "split ms", "whole ms", "wall x",
                "split cpu", "whole cpu", "cpu x", "growth");
    for (int i = 0; i < Sizes.size(); ++i) {
        // The target is the time a clinic waits; the processor time adds the
        // hash, which runs on another core.
        const double ratio = median(fullWall[i]) / median(baseWall[i]);
        const QString growth = i == 0
            ? QStringLiteral("-")
            : QString::asprintf("%.2f", median(fullWall[i]) / median(fullWall[i - 1]));
        std::printf("%10d %12.1f %12.1f %7.2fx %12.1f %12.1f %7.2fx %8s %s\n", Sizes[i],
                    median(baseWall[i]), median(fullWall[i]), ratio, median(baseCpu[i]),
                    median(fullCpu[i]), median(fullCpu[i]) / median(baseCpu[i]), qPrintable(growth),
                    ratio <= RatioTarget ? "met" : "MISSED");
    }
    // The report, apart: it draws the 17 rows per sheath size, whatever the log's length.
    QVector<double> report;
    for (int repetition = 0; repetition < repetitions; ++repetition)
        report.append(timed([&] { statisticsReportPdf(last.log, last.sheaths); }).wallMs);
    std::printf("report (from the 1,000,000-case pass): %.1f ms\n", median(report));
    return 0;
}
