#ifndef VELMIRA_PLOTAXES_H
#define VELMIRA_PLOTAXES_H

#include "plotstyle.h"
#include "probabilityrule.h"

#include <QCoreApplication>
#include <QPointF>
#include <QRectF>

class QPainter;

// Maps a diameter in millimetres and a rate from 0 to 1 onto the plot's area
// on the page. The axes below draw this mapping, so the two live together.
class PlotScale {
public:
    PlotScale(const QRectF &area, double fromDiameter, double toDiameter);

    QRectF area() const { return m_area; }
    double fromDiameter() const { return m_from; }
    double toDiameter() const { return m_to; }

    double x(double diameter) const;
    double y(double rate) const;
    QPointF point(double diameter, double rate) const { return QPointF(x(diameter), y(rate)); }

private:
    QRectF m_area;
    double m_from;
    double m_to;
};

// The plot's frame: grid, ticks every 0.01 mm with a label every 0.02 mm,
// 0..100 % upwards, the axis titles and the two fixed bounds.
class PlotAxes {
    Q_DECLARE_TR_FUNCTIONS(PlotAxes)

public:
    PlotAxes(const PlotScale &scale, const PlotStyle &style, const SheathBounds &bounds);

    // The area inside the frame that is left for the data, beside the labels.
    static QRectF dataArea(const QRectF &frame, const PlotStyle &style);

    // The y axis' title, for every plot of placement rates.
    static QString rateTitle();

    void drawGrid(QPainter &painter) const; // behind the data
    void drawFrame(QPainter &painter) const; // in front of it

private:
    void drawXTicks(QPainter &painter) const;
    void drawYTicks(QPainter &painter) const;
    void drawTitles(QPainter &painter) const;
    void drawBoundLabels(QPainter &painter) const;

    PlotScale m_scale;
    PlotStyle m_style;
    SheathBounds m_bounds;
};

#endif // VELMIRA_PLOTAXES_H
