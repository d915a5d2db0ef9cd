#include "evidenceplot.h"

#include "plotaxes.h"
#include "reportpage.h"
#include "wilsoninterval.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPolygonF>

namespace {

// Half the width of a two-decimal row, in millimetres.
constexpr double HalfCell = 0.005;

} // namespace

EvidencePlot::EvidencePlot(const SheathEvidence &sheath)
    : m_sheath(sheath), m_bounds(sheathBounds(sheath.sheath))
{
}

double EvidencePlot::diameter(int row) const
{
    return m_sheath.rows.at(row).diameter.toDouble();
}

double EvidencePlot::cellLeft(int row) const
{
    return qMax(diameter(row) - HalfCell, m_bounds.lower);
}

double EvidencePlot::cellRight(int row) const
{
    return qMin(diameter(row) + HalfCell, m_bounds.upper);
}

void EvidencePlot::draw(QPainter &painter, const QRectF &frame) const
{
    const PlotStyle style(ReportPage::unitsPerMm(painter));
    const PlotScale scale(PlotAxes::dataArea(frame, style), m_bounds.lower - Margin,
                          m_bounds.upper + Margin);
    const PlotAxes axes(scale, style, m_bounds);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    axes.drawGrid(painter);
    // Points at 0 or 100 % stay whole; the frame leaves room above and below.
    painter.setClipRect(scale.area().adjusted(0, -style.mm(3.2), 0, style.mm(3.2)));
    drawBand(painter, scale, style);
    drawFit(painter, scale, style);
    drawSteps(painter, scale, style);
    drawObserved(painter, scale, style);
    drawBoundCheck(painter, scale, style, m_sheath.lower, m_bounds.lower - Margin / 2);
    drawBoundCheck(painter, scale, style, m_sheath.upper, m_bounds.upper + Margin / 2);
    painter.setClipping(false);
    axes.drawFrame(painter);
    painter.restore();
}

void EvidencePlot::drawBand(QPainter &painter, const PlotScale &scale, const PlotStyle &style) const
{
    // One shaded rectangle per pooled block, over the rows it spans; rows
    // without cases of their own have no block and no band.
    painter.setPen(Qt::NoPen);
    painter.setBrush(style.bandBrush());
    for (int first = 0; first < m_sheath.rows.size();) {
        const FittedRow &row = m_sheath.rows.at(first);
        int last = first;
        while (last + 1 < m_sheath.rows.size() && m_sheath.rows.at(last + 1).block.cases > 0
               && m_sheath.rows.at(last + 1).blockFrom == row.blockFrom)
            ++last;
        if (row.block.cases > 0)
            painter.drawRect(QRectF(scale.point(cellLeft(first), row.block.high),
                                    scale.point(cellRight(last), row.block.low)));
        first = last + 1;
    }
}

void EvidencePlot::drawFit(QPainter &painter, const PlotScale &scale, const PlotStyle &style) const
{
    QPolygonF curve;
    for (int row = 0; row < m_sheath.rows.size(); ++row)
        curve.append(scale.point(diameter(row), m_sheath.rows.at(row).fittedRate));
    painter.setPen(style.fitPen());
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(curve);
}

void EvidencePlot::drawSteps(QPainter &painter, const PlotScale &scale,
                             const PlotStyle &style) const
{
    // The calculator's figure: 29 at and below the lower bound, each row's
    // percent over the diameters it is looked up for, 93 at and above the upper.
    const double lowerFigure = LowerBoundFigure / 100.0;
    const double upperFigure = UpperBoundFigure / 100.0;
    QPolygonF steps;
    steps << scale.point(scale.fromDiameter(), lowerFigure)
          << scale.point(m_bounds.lower, lowerFigure);
    for (int row = 0; row < m_sheath.rows.size(); ++row) {
        const double figure = m_sheath.rows.at(row).percent / 100.0;
        steps << scale.point(cellLeft(row), figure) << scale.point(cellRight(row), figure);
    }
    steps << scale.point(m_bounds.upper, upperFigure)
          << scale.point(scale.toDiameter(), upperFigure);
    painter.setPen(style.stepPen());
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(steps);
}

void EvidencePlot::drawObserved(QPainter &painter, const PlotScale &scale,
                                const PlotStyle &style) const
{
    const int largest = m_sheath.largestRowCases();
    for (int row = 0; row < m_sheath.rows.size(); ++row) {
        const FittedRow &evidence = m_sheath.rows.at(row);
        if (evidence.cases == 0)
            continue;
        const Proportion own = wilsonProportion(evidence.placed, evidence.cases);
        painter.setPen(style.observedPen());
        drawInterval(painter, scale, style, diameter(row), own);
        const double radius = style.pointRadius(evidence.cases, largest);
        painter.setBrush(style.observedBrush());
        painter.drawEllipse(scale.point(diameter(row), own.rate()), radius, radius);
    }
}

void EvidencePlot::drawBoundCheck(QPainter &painter, const PlotScale &scale, const PlotStyle &style,
                                  const BoundCheck &check, double at) const
{
    if (check.observed.cases == 0)
        return;
    painter.setPen(style.boundCheckPen());
    drawInterval(painter, scale, style, at, check.observed);
    const QPointF centre = scale.point(at, check.observed.rate());
    const double half = style.mm(1.3);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(centre - QPointF(half, half), centre + QPointF(half, half)));
    painter.setFont(ReportPage::font(7.0));
    // Below and to the right, clear of the step line that runs through the marker.
    const QRectF label(centre.x() + style.mm(1.2), centre.y() + style.mm(1.0), style.mm(14.0),
                       style.mm(3.5));
    painter.drawText(label, Qt::AlignLeft | Qt::AlignTop, tr("n = %1").arg(check.observed.cases));
}

void EvidencePlot::drawInterval(QPainter &painter, const PlotScale &scale, const PlotStyle &style,
                                double at, const Proportion &proportion) const
{
    const double x = scale.x(at);
    const double cap = style.mm(0.8);
    const double low = scale.y(proportion.low);
    const double high = scale.y(proportion.high);
    painter.drawLine(QPointF(x, low), QPointF(x, high));
    painter.drawLine(QPointF(x - cap, low), QPointF(x + cap, low));
    painter.drawLine(QPointF(x - cap, high), QPointF(x + cap, high));
}
