#ifndef VELMIRA_PLOTSCALE_H
#define VELMIRA_PLOTSCALE_H

#include <QPointF>
#include <QRectF>

// Maps a diameter in millimetres and a rate from 0 to 1 onto the plot's area
// on the page.
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

#endif // VELMIRA_PLOTSCALE_H
