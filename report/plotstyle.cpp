#include "plotstyle.h"

#include <QColor>

#include <cmath>

namespace {

const QColor Observed(31, 98, 168);
const QColor Fit(222, 120, 20);
const QColor Bound(176, 32, 32);

} // namespace

PlotStyle::PlotStyle(double unitsPerMm) : m_unitsPerMm(unitsPerMm) { }

QPen PlotStyle::observedPen() const
{
    return QPen(Observed, mm(0.3));
}

QBrush PlotStyle::observedBrush() const
{
    QColor fill = Observed;
    fill.setAlpha(110);
    return QBrush(fill);
}

QPen PlotStyle::fitPen() const
{
    return QPen(Fit, mm(0.45));
}

QBrush PlotStyle::bandBrush() const
{
    QColor fill = Fit;
    fill.setAlpha(55);
    return QBrush(fill);
}

QPen PlotStyle::stepPen() const
{
    QPen pen(QColor(20, 20, 20), mm(0.55));
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QPen PlotStyle::boundPen() const
{
    QPen pen(Bound, mm(0.3));
    pen.setStyle(Qt::DashLine);
    return pen;
}

QPen PlotStyle::boundCheckPen() const
{
    return QPen(Bound, mm(0.35));
}

QPen PlotStyle::diagonalPen() const
{
    QPen pen(QColor(20, 20, 20), mm(0.35));
    pen.setStyle(Qt::DashLine);
    return pen;
}

QPen PlotStyle::gridPen() const
{
    return QPen(QColor(215, 215, 215), mm(0.15));
}

QPen PlotStyle::axisPen() const
{
    return QPen(QColor(60, 60, 60), mm(0.25));
}

double PlotStyle::pointRadius(int cases, int largestCases) const
{
    // The area, not the radius, is proportional to the cases; the smallest
    // point stays visible.
    const double largest = mm(3.0);
    if (largestCases <= 0)
        return 0.0;
    return qMax(mm(0.7), largest * std::sqrt(double(cases) / largestCases));
}
