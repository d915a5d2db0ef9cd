#include "plotaxes.h"

#include "diameter.h"
#include "reportpage.h"

#include <QPainter>

namespace {

// Diameters are walked in whole hundredths of a millimetre, so that no tick
// is lost or doubled by the rounding of repeated additions.
int hundredths(double diameter)
{
    return qRound(diameter * 100.0);
}

} // namespace

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

PlotAxes::PlotAxes(const PlotScale &scale, const PlotStyle &style, const SheathBounds &bounds)
    : m_scale(scale), m_style(style), m_bounds(bounds)
{
}

QRectF PlotAxes::dataArea(const QRectF &frame, const PlotStyle &style)
{
    return frame.adjusted(style.mm(15.0), style.mm(8.0), -style.mm(3.0), -style.mm(11.0));
}

QString PlotAxes::rateTitle()
{
    return tr("Доля успешных установок, %");
}

void PlotAxes::drawGrid(QPainter &painter) const
{
    const QRectF area = m_scale.area();
    painter.save();
    painter.setPen(m_style.gridPen());
    for (int percent = 10; percent <= 100; percent += 10)
        painter.drawLine(m_scale.point(m_scale.fromDiameter(), percent / 100.0),
                         m_scale.point(m_scale.toDiameter(), percent / 100.0));
    painter.setPen(m_style.boundPen());
    for (const double bound : {m_bounds.lower, m_bounds.upper})
        painter.drawLine(QPointF(m_scale.x(bound), area.top()),
                         QPointF(m_scale.x(bound), area.bottom()));
    painter.restore();
}

void PlotAxes::drawFrame(QPainter &painter) const
{
    painter.save();
    painter.setPen(m_style.axisPen());
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(m_scale.area());
    drawXTicks(painter);
    drawYTicks(painter);
    drawTitles(painter);
    drawBoundLabels(painter);
    painter.restore();
}

void PlotAxes::drawXTicks(QPainter &painter) const
{
    painter.setFont(ReportPage::font(7.5));
    const double bottom = m_scale.area().bottom();
    const int last = hundredths(m_scale.toDiameter());
    for (int step = hundredths(m_scale.fromDiameter()); step <= last; ++step) {
        const double x = m_scale.x(step / 100.0);
        const bool labelled = step % 2 == 0;
        painter.drawLine(QPointF(x, bottom), QPointF(x, bottom + m_style.mm(labelled ? 1.5 : 0.8)));
        if (!labelled)
            continue;
        const QRectF label(x - m_style.mm(6.0), bottom + m_style.mm(1.8), m_style.mm(12.0),
                           m_style.mm(3.5));
        painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop, twoDecimalText(step / 100.0));
    }
}

void PlotAxes::drawYTicks(QPainter &painter) const
{
    painter.setFont(ReportPage::font(7.5));
    const double left = m_scale.area().left();
    for (int percent = 0; percent <= 100; percent += 10) {
        const double y = m_scale.y(percent / 100.0);
        painter.drawLine(QPointF(left - m_style.mm(1.2), y), QPointF(left, y));
        if (percent % 20 != 0)
            continue;
        const QRectF label(left - m_style.mm(10.0), y - m_style.mm(2.0), m_style.mm(8.5),
                           m_style.mm(4.0));
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, QString::number(percent));
    }
}

void PlotAxes::drawTitles(QPainter &painter) const
{
    const QRectF area = m_scale.area();
    painter.setFont(ReportPage::font(8.0));
    const QRectF xTitle(area.left(), area.bottom() + m_style.mm(6.0), area.width(),
                        m_style.mm(4.5));
    painter.drawText(xTitle, Qt::AlignCenter, tr("Наименьший диаметр мочеточника, мм"));

    // The y title runs upwards along the left edge.
    painter.save();
    painter.translate(area.left() - m_style.mm(12.0), area.center().y());
    painter.rotate(-90.0);
    const QRectF yTitle(-area.height() / 2, -m_style.mm(2.5), area.height(), m_style.mm(5.0));
    painter.drawText(yTitle, Qt::AlignCenter, rateTitle());
    painter.restore();
}

void PlotAxes::drawBoundLabels(QPainter &painter) const
{
    painter.setFont(ReportPage::font(7.5));
    painter.setPen(m_style.boundCheckPen().color());
    // Above the room that the largest point at 100 % takes.
    const double top = m_scale.area().top() - m_style.mm(3.3);
    const QString lower = tr("нижняя граница %1 мм").arg(twoDecimalText(m_bounds.lower));
    const QString upper = tr("верхняя граница %1 мм").arg(twoDecimalText(m_bounds.upper));
    const double width = m_style.mm(40.0);
    const double height = m_style.mm(4.5);
    painter.drawText(QRectF(m_scale.x(m_bounds.lower) - width / 2, top - height, width, height),
                     Qt::AlignHCenter | Qt::AlignBottom, lower);
    painter.drawText(QRectF(m_scale.x(m_bounds.upper) - width / 2, top - height, width, height),
                     Qt::AlignHCenter | Qt::AlignBottom, upper);
}
