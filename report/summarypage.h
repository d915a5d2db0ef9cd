#ifndef VELMIRA_SUMMARYPAGE_H
#define VELMIRA_SUMMARYPAGE_H

#include "sheathevidence.h"

#include <QCoreApplication>
#include <QVector>

#include <functional>

class ReportPage;
class TextTable;

// The first page: the log the tables were built from, and both sheath sizes
// side by side, so that the reader sees at a glance how much evidence each
// table has and whether the fixed bounds hold.
class SummaryPage {
    Q_DECLARE_TR_FUNCTIONS(SummaryPage)

public:
    SummaryPage(const LogSummary &log, const QVector<SheathEvidence> &sheaths);

    void draw(ReportPage &page) const;

private:
    using Value = std::function<QString(const SheathEvidence &)>;

    void drawLog(ReportPage &page) const;
    void drawSheaths(ReportPage &page) const;
    void drawMethod(ReportPage &page) const;
    void drawReading(ReportPage &page) const;
    void addCountRows(TextTable &table) const;
    void addFitRows(TextTable &table) const;
    void addRow(TextTable &table, const QString &label, const Value &value) const;

    const LogSummary &m_log;
    const QVector<SheathEvidence> &m_sheaths;
};

#endif // VELMIRA_SUMMARYPAGE_H
