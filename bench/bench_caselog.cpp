// Speed of velmira-stats' whole pass over a case log (read, sort the cases
// by the calculator's rule, fit, render both tables; no report) against the
// bare cost of reading the same log and splitting its fields, for logs of
// 10,000, 100,000 and 1,000,000 cases. The two run interleaved in one
// process, several repetitions each; the medians of wall and processor time
// and their ratios are printed, with the wall time's growth per tenfold size.
// The report is timed apart.
//
//   bench_caselog [REPETITIONS]     (default 5; on an otherwise idle machine)

#include "logevidence.h"
#include "logtext.h"
#include "statisticsreport.h"
#include "statisticswriter.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLoggingCategory>
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QStringEncoder>
#else
#include <QTextCodec>
#endif

#include <algorithm>
#include <cstdio>
#include <random>

#include <time.h>

namespace {

const QVector<int> Sizes = {10000, 100000, 1000000};
constexpr double RatioTarget = 2.0;

struct Timing {
    double wallMs = 0;
    double cpuMs = 0;
};

double processCpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

template<typename Work> Timing timed(Work work)
{
    QElapsedTimer timer;
    const double cpu = processCpuMs();
    timer.start();
    work();
    return {timer.nsecsElapsed() / 1e6, processCpuMs() - cpu};
}

// A spreadsheet's CSV on a Russian Windows: semicolons, decimal commas,
// Windows-1251, CR LF, with columns the program ignores.
QByteArray generatedLog(int cases)
{
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> smallest(1300, 2200), extra(0, 600), percent(0, 99);
    QString text = QStringLiteral("№ записи;ФИО;Дата;Хирург;Диаметр 1;Диаметр 2;Диаметр 3;Кожух;"
                                  "Стриктура;Установлен\r\n");
    text.reserve(cases * 80);
    for (int i = 0; i < cases; ++i) {
        const int d = smallest(random);
        const auto mm = [](int thousandths) {
            return QString::number(thousandths / 1000.0, 'f', 3)
                .replace(QLatin1Char('.'), QLatin1Char(','));
        };
        text += QStringLiteral(
                    "СИН-%1;Вымыслов Аркадий;%2.03.2025;Хирург Альфа;%3;%4;%5;%6;%7;%8\r\n")
                    .arg(i)
                    .arg(1 + i % 28)
                    .arg(mm(d), mm(d + extra(random)), mm(d + extra(random)),
                         d < 1750 ? QStringLiteral("10-12 Ch") : QStringLiteral("12-14 Ch"),
                         percent(random) < 3 ? QStringLiteral("да") : QStringLiteral("нет"),
                         percent(random) < 60 ? QStringLiteral("да") : QStringLiteral("нет"));
    }
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QStringEncoder encoder("windows-1251");
    return encoder.encode(text);
#else
    return QTextCodec::codecForName("Windows-1251")->fromUnicode(text);
#endif
}

// The least any reader does: decode the bytes, then cut each line and split
// it at the delimiter, a line at a time as the reader goes.
qint64 readAndSplit(const QByteArray &bytes)
{
    const QString text = decodeLogText(bytes).text;
    qint64 fields = 0;
    for (int start = 0; start < text.size();) {
        int end = int(text.indexOf(QLatin1Char('\n'), start));
        if (end < 0)
            end = int(text.size());
        fields += text.mid(start, end - start).split(QLatin1Char(';')).size();
        start = end + 1;
    }
    return fields;
}

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

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    const int middle = int(values.size()) / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
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
