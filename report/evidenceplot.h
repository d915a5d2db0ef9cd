#ifndef VELMIRA_EVIDENCEPLOT_H
#define VELMIRA_EVIDENCEPLOT_H

#include "plotaxes.h"
#include "sheathevidence.h"

#include <QCoreApplication>

class QPainter;

// The plot of one sheath size over the smallest diameter, from a little below
// the lower bound to a little above the upper: each row's observed rate with
// its own interval, the fit with its blocks' intervals, the cases beyond each
// bound, and as a step line the figure the calculator shows everywhere.
class EvidencePlot {
    Q_DECLARE_TR_FUNCTIONS(EvidencePlot)

public:
    explicit EvidencePlot(const SheathEvidence &sheath);

    // How far beyond each bound the plot reaches, in millimetres.
    static constexpr double Margin = 0.04;

    void draw(QPainter &painter, const QRectF &frame) const;

private:
    double diameter(int row) const;
    // The diameters that the lookup sends to a row: those whose two-decimal
    // text is the row's, inside the open band between the bounds.
    double cellLeft(int row) const;
    double cellRight(int row) const;

    void drawBand(QPainter &painter, const PlotScale &scale, const PlotStyle &style) const;
    void drawFit(QPainter &painter, const PlotScale &scale, const PlotStyle &style) const;
    void drawSteps(QPainter &painter, const PlotScale &scale, const PlotStyle &style) const;
    void drawObserved(QPainter &painter, const PlotScale &scale, const PlotStyle &style) const;
    void drawBoundCheck(QPainter &painter, const PlotScale &scale, const PlotStyle &style,
                        const BoundCheck &check, double at) const;
    void drawInterval(QPainter &painter, const PlotScale &scale, const PlotStyle &style, double at,
                      const Proportion &proportion) const;

    const SheathEvidence &m_sheath;
    SheathBounds m_bounds;
};

#endif // VELMIRA_EVIDENCEPLOT_H
