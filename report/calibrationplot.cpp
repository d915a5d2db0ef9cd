#include "calibrationplot.h"

#include "reportpage.h"

#include <QPainter>

#include <algorithm>

CalibrationPlot::CalibrationPlot(const TableCheck &check) : m_check(check) { }

int CalibrationPlot::largestCases() const
{
    int largest = 0;
    for (const FigureRow &row : m_check.byFigure)
        largest = std::max(largest, row.observed.cases);
    return largest;
}

QString CalibrationPlot::legend() const
{
    return tr("Точки — доля установок среди случаев с этой цифрой, площадь точки — число "
              "случаев (до %1), отрезки — её 95 % ДИ Уилсона; пунктир — где доля равна цифре.")
        .arg(largestCases());
}

PlotScale CalibrationPlot::scale(const QRectF &frame, const PlotStyle &style) const
{
    // The frame's margins for the labels, as on the report's other plot.
    const QRectF room = PlotAxes::dataArea(frame, style);
    const double side = std::max(0.0, std::min(room.width(), room.height()));
    return PlotScale(QRectF(room.topLeft(), QSizeF(side, side)), 0.0, 1.0);
}

void CalibrationPlot::draw(QPainter &painter, const QRectF &frame) const
{
    const PlotStyle style(ReportPage::unitsPerMm(painter));
    const PlotScale scale = this->scale(frame, style);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    drawGrid(painter, scale, style);
    // Points at 0 or 100 % stay whole; the frame leaves room around them.
    painter.setClipRect(
        scale.area().adjusted(-style.mm(3.2), -style.mm(3.2), style.mm(3.2), style.mm(3.2)));
    drawPoints(painter, scale, style);
    painter.setClipping(false);
    drawFrame(painter, scale, style);
    painter.restore();
}

void CalibrationPlot::drawGrid(QPainter &painter, const PlotScale &scale,
                               const PlotStyle &style) const
{
    painter.setPen(style.gridPen());
    for (int percent = 10; percent < 100; percent += 10) {
        const double at = percent / 100.0;
        painter.drawLine(scale.point(0.0, at), scale.point(1.0, at));
        painter.drawLine(scale.point(at, 0.0), scale.point(at, 1.0));
    }
    painter.setPen(style.diagonalPen());
    painter.drawLine(scale.point(0.0, 0.0), scale.point(1.0, 1.0));
}

void CalibrationPlot::drawPoints(QPainter &painter, const PlotScale &scale,
                                 const PlotStyle &style) const
{
    const int largest = largestCases();
    const double cap = style.mm(0.8);
    for (const FigureRow &row : m_check.byFigure) {
        const double x = scale.x(row.figure / 100.0);
        const double low = scale.y(row.observed.low);
        const double high = scale.y(row.observed.high);
        painter.setPen(style.observedPen());
        painter.drawLine(QPointF(x, low), QPointF(x, high));
        painter.drawLine(QPointF(x - cap, low), QPointF(x + cap, low));
        painter.drawLine(QPointF(x - cap, high), QPointF(x + cap, high));
        const double radius = style.pointRadius(row.observed.cases, largest);
        painter.setBrush(style.observedBrush());
        painter.drawEllipse(scale.point(row.figure / 100.0, row.observed.rate()), radius, radius);
    }
}

void CalibrationPlot::drawFrame(QPainter &painter, const PlotScale &scale,
                                const PlotStyle &style) const
{
    const QRectF area = scale.area();
    painter.setPen(style.axisPen());
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area);
    painter.setFont(ReportPage::font(7.5));
    for (int percent = 0; percent <= 100; percent += 10) {
        const double at = percent / 100.0;
        const bool labelled = percent % 20 == 0;
        const double length = style.mm(labelled ? 1.5 : 0.8);
        const QPointF bottom(scale.x(at), area.bottom());
        const QPointF left(area.left(), scale.y(at));
        painter.drawLine(bottom, bottom + QPointF(0, length));
        painter.drawLine(left, left - QPointF(length, 0));
        if (!labelled)
            continue;
        const QString label = QString::number(percent);
        painter.drawText(QRectF(bottom.x() - style.mm(6.0), area.bottom() + style.mm(1.8),
                                style.mm(12.0), style.mm(3.5)),
                         Qt::AlignHCenter | Qt::AlignTop, label);
        painter.drawText(QRectF(area.left() - style.mm(10.0), left.y() - style.mm(2.0),
                                style.mm(8.5), style.mm(4.0)),
                         Qt::AlignRight | Qt::AlignVCenter, label);
    }
    painter.setFont(ReportPage::font(8.0));
    painter.drawText(
        QRectF(area.left(), area.bottom() + style.mm(6.0), area.width(), style.mm(4.5)),
        Qt::AlignCenter, tr("Показанная цифра, %"));
    painter.save();
    painter.translate(area.left() - style.mm(12.0), area.center().y());
    painter.rotate(-90.0);
    painter.drawText(QRectF(-area.height() / 2, -style.mm(2.5), area.height(), style.mm(5.0)),
                     Qt::AlignCenter, PlotAxes::rateTitle());
    painter.restore();
    if (m_check.byFigure.isEmpty())
        painter.drawText(area, Qt::AlignCenter, tr("случаев нет"));
}
