#ifndef VELMIRA_STATISTICSREPORT_H
#define VELMIRA_STATISTICSREPORT_H

#include "sheathevidence.h"
#include "tablesvalidation.h"

#include <QByteArray>
#include <QVector>

#include <optional>

// The PDF report for the person who decides whether to install a clinic's
// tables: a first page on both sheath sizes, then one page per sheath size
// with the plot, the 17 rows, the check of the fixed bounds and what was
// excluded. Drawn with QPdfWriter and QPainter into memory, so that the caller
// writes it whole or not at all. Needs a QGuiApplication (any platform,
// offscreen included). Empty on failure.
// With a validation, a last page on how well the tables predict the log's
// cases, above all those they did not see.
QByteArray statisticsReportPdf(const LogSummary &log, const QVector<SheathEvidence> &sheaths,
                               const std::optional<TablesValidation> &validation = std::nullopt);

// The report's file name beside the tables, for the command and the window alike.
inline QString statisticsReportFileName()
{
    return QStringLiteral("Statistics_report.pdf");
}

#endif // VELMIRA_STATISTICSREPORT_H
