#ifndef VELMIRA_CALIBRATIONPLOT_H
#define VELMIRA_CALIBRATIONPLOT_H

#include "plotaxes.h"
#include "tablecheck.h"

#include <QCoreApplication>
#include <QRectF>
#include <QString>

class QPainter;

// The calibration plot of a check: for each whole-percent figure shown, the
// rate at which the sheath was placed in its cases, with its Wilson interval
// and an area that grows with the cases, against the diagonal where the rate
// equals the figure. It paints onto any painter, so that the report's page
// and the keeper's window show the same plot.
class CalibrationPlot {
    Q_DECLARE_TR_FUNCTIONS(CalibrationPlot)

public:
    explicit CalibrationPlot(const TableCheck &check);

    // A square plot, as large as the frame allows, at the frame's top left.
    void draw(QPainter &painter, const QRectF &frame) const;
    // What the points, bars and the diagonal mean, in one sentence.
    QString legend() const;

private:
    int largestCases() const;
    // The figure, 0..1, stands where PlotScale has a diameter.
    PlotScale scale(const QRectF &frame, const PlotStyle &style) const;
    void drawGrid(QPainter &painter, const PlotScale &scale, const PlotStyle &style) const;
    void drawPoints(QPainter &painter, const PlotScale &scale, const PlotStyle &style) const;
    void drawFrame(QPainter &painter, const PlotScale &scale, const PlotStyle &style) const;

    const TableCheck &m_check;
};

#endif // VELMIRA_CALIBRATIONPLOT_H
