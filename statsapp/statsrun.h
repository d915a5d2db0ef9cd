#ifndef VELMIRA_STATSRUN_H
#define VELMIRA_STATSRUN_H

#include "caselogreader.h"
#include "logevidence.h"
#include "outputfolder.h"
#include "sheathevidence.h"
#include "statsoptions.h"
#include "tablesvalidation.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QVector>

#include <functional>
#include <optional>

// One run of velmira-stats: read the log, sort and fit its cases, compute the
// tables and the report in memory, and only then write them, whole or not at
// all. Every failure is said on standard error with its reason.
class StatsRun {
    Q_DECLARE_TR_FUNCTIONS(StatsRun)

public:
    // The report needs a QGuiApplication, which only the caller can create.
    using ReportMaker
        = std::function<QByteArray(const LogSummary &, const QVector<SheathEvidence> &,
                                   const std::optional<TablesValidation> &)>;

    // Exit statuses: what went wrong, for scripts.
    enum Status {
        Written = 0,
        UsageError = 1,
        LogUnreadable = 2,
        BadRows = 3,
        NoCases = 4,
        NotWritten = 5,
        // Another program was writing the same folder; nothing was written.
        FolderLocked = 6
    };

    StatsRun(const StatsRequest &request, ReportMaker makeReport);
    int exec();

    // What the files and the report say of the log, read from logPath.
    static LogSummary summaryOf(const LogEvidence &evidence, const QString &logPath,
                                bool skipBadRows);
    // The statistics files to write: one per sheath size with cases in its rows.
    static QVector<OutputFile> tableFiles(const LogSummary &log,
                                          const QVector<SheathEvidence> &sheaths);

    // Also for the check of tables, which reads and stops on a log the same way.
    int fail(Status status, const QString &reason) const;
    // The log's bytes; nothing when it cannot be opened, which is then said.
    std::optional<QByteArray> logBytes() const;
    // Lists the bad rows; Written when the run may go on without them.
    int reportBadRows(const CaseLogReading &reading) const;

private:
    // What is written, and how well it predicts.
    struct Build {
        LogSummary log;
        QVector<SheathEvidence> sheaths;
        TablesValidation validation;
    };
    Build tablesToWrite(const LogEvidence &evidence) const;
    QString logLine(const LogSummary &log, const CaseLogReading &reading) const;
    QString sheetLines(const CaseLogReading &reading) const;
    QString summaryText(const Build &build, const CaseLogReading &reading,
                        const QStringList &kept) const;
    QString validationLines(const TablesValidation &validation) const;

    StatsRequest request;
    ReportMaker makeReport;
};

#endif // VELMIRA_STATSRUN_H
