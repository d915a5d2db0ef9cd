#include "plotscale.h"

PlotScale::PlotScale(const QRectF &area, double fromDiameter, double toDiameter)
    : m_area(area), m_from(fromDiameter), m_to(toDiameter)
{
}

double PlotScale::x(double diameter) const
{
    return m_area.left() + (diameter - m_from) / (m_to - m_from) * m_area.width();
}

double PlotScale::y(double rate) const
{
    return m_area.bottom() - rate * m_area.height();
}
