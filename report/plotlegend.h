#ifndef VELMIRA_PLOTLEGEND_H
#define VELMIRA_PLOTLEGEND_H

#include "plotstyle.h"

#include <QCoreApplication>
#include <QRectF>
#include <QString>

class QPainter;

// The legend under the plot, in two columns: a sample of each layer, drawn
// with the layer's own pen, beside what it means.
class PlotLegend {
    Q_DECLARE_TR_FUNCTIONS(PlotLegend)

public:
    explicit PlotLegend(int largestRowCases);

    // Draws at the top of the frame and returns the height used.
    double draw(QPainter &painter, const QRectF &frame) const;

private:
    enum class Sample { Observed, Fit, Band, Steps, BoundCheck, Bound };

    QString text(Sample sample) const;
    void drawSample(QPainter &painter, const PlotStyle &style, Sample sample,
                    const QRectF &box) const;

    int m_largestRowCases;
};

#endif // VELMIRA_PLOTLEGEND_H
