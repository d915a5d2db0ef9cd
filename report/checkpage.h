#ifndef VELMIRA_CHECKPAGE_H
#define VELMIRA_CHECKPAGE_H

#include "tablesvalidation.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>

class ReportPage;
class TextTable;

// The page on how well the new tables predict the log's cases: the
// calibration plot of the check that did not see its cases, every figure of
// each check side by side, and the cases at each fixed bound.
class CheckPage {
    Q_DECLARE_TR_FUNCTIONS(CheckPage)

public:
    explicit CheckPage(const TablesValidation &validation);

    void draw(ReportPage &page) const;

    static QString title();
    // The check the plot shows: on cases held out by date where there are
    // any, else cross-validated, else (optimistic) on the cases themselves.
    static const TableCheck &plotted(const TablesValidation &validation);
    // Which of them it is: "перекрёстная проверка, 10 блоков".
    static QString plottedName(const TablesValidation &validation);

private:
    using Figure = std::function<QString(const TableCheck &)>;

    void drawIntroduction(ReportPage &page) const;
    void drawPlot(ReportPage &page) const;
    void drawFigures(ReportPage &page) const;
    void drawBounds(ReportPage &page) const;
    QVector<const TableCheck *> columnChecks() const;
    void addRow(TextTable &table, const QString &label, const Figure &figure) const;
    QString boundSentence(FigureZone zone, int figure) const;

    const TablesValidation &m_validation;
};

#endif // VELMIRA_CHECKPAGE_H
