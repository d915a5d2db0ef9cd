#ifndef VELMIRA_SHEATHPAGE_H
#define VELMIRA_SHEATHPAGE_H

#include "sheathevidence.h"

#include <QCoreApplication>

class ReportPage;

// The page of one sheath size: the plot and its legend, the 17 rows, the
// check of the fixed bounds, and what was left out of the table and why.
class SheathPage {
    Q_DECLARE_TR_FUNCTIONS(SheathPage)

public:
    SheathPage(const LogSummary &log, const SheathEvidence &sheath);

    void draw(ReportPage &page) const;

private:
    void drawTitle(ReportPage &page) const;
    void drawNoTable(ReportPage &page) const;
    void drawEvidence(ReportPage &page) const;
    void drawBoundChecks(ReportPage &page) const;
    void drawExclusions(ReportPage &page) const;
    int interpolatedRows() const;
    int clippedRows() const;

    const LogSummary &m_log;
    const SheathEvidence &m_sheath;
};

#endif // VELMIRA_SHEATHPAGE_H
