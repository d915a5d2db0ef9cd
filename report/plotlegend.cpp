#include "plotlegend.h"

#include "probabilityrule.h"
#include "reportpage.h"

#include <QPaintDevice>
#include <QPainter>

PlotLegend::PlotLegend(int largestRowCases) : m_largestRowCases(largestRowCases) { }

QString PlotLegend::text(Sample sample) const
{
    switch (sample) {
    case Sample::Observed:
        return tr("доля установок в строке и её 95 % ДИ; площадь точки — число случаев (до %1)")
            .arg(m_largestRowCases);
    case Sample::Fit:
        return tr("модель (изотоническая регрессия, %1–%2 %)")
            .arg(LowerBoundFigure)
            .arg(UpperBoundFigure);
    case Sample::Band:
        return tr("95 % ДИ объединённого блока строк");
    case Sample::Steps:
        return tr("что покажет калькулятор, с границами %1 и %2 %")
            .arg(LowerBoundFigure)
            .arg(UpperBoundFigure);
    case Sample::BoundCheck:
        return tr("доля всех случаев за границей и её 95 % ДИ");
    case Sample::Bound:
        return tr("фиксированная граница");
    }
    return {};
}

double PlotLegend::draw(QPainter &painter, const QRectF &frame) const
{
    const PlotStyle style(ReportPage::unitsPerMm(painter));
    const Sample samples[] = {Sample::Observed,   Sample::Steps, Sample::Fit,
                              Sample::BoundCheck, Sample::Band,  Sample::Bound};
    // Room for a text of two lines, with a gap to the next row.
    const double rowHeight = style.mm(7.5);
    const double columnWidth = frame.width() / 2;
    const double sampleWidth = style.mm(9.0);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    int index = 0;
    for (const Sample sample : samples) {
        const QPointF corner(frame.left() + (index % 2) * columnWidth,
                             frame.top() + (index / 2) * rowHeight);
        const QRectF box(corner, QSizeF(sampleWidth, rowHeight));
        drawSample(painter, style, sample, box.adjusted(0, style.mm(1.0), 0, -style.mm(1.0)));
        painter.setPen(Qt::black);
        painter.setFont(ReportPage::font(7.5));
        const QRectF label(corner.x() + sampleWidth + style.mm(2.0), corner.y(),
                           columnWidth - sampleWidth - style.mm(4.0), rowHeight);
        painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text(sample));
        ++index;
    }
    painter.restore();
    return ((index + 1) / 2) * rowHeight;
}

void PlotLegend::drawSample(QPainter &painter, const PlotStyle &style, Sample sample,
                            const QRectF &box) const
{
    const QPointF centre = box.center();
    const QPointF left(box.left(), centre.y());
    const QPointF right(box.right(), centre.y());
    switch (sample) {
    case Sample::Observed:
        painter.setPen(style.observedPen());
        painter.drawLine(QPointF(centre.x(), box.top()), QPointF(centre.x(), box.bottom()));
        painter.setBrush(style.observedBrush());
        painter.drawEllipse(centre, style.mm(1.5), style.mm(1.5));
        break;
    case Sample::Fit:
        painter.setPen(style.fitPen());
        painter.drawLine(left, right);
        break;
    case Sample::Band:
        painter.fillRect(box, style.bandBrush());
        break;
    case Sample::Steps:
        painter.setPen(style.stepPen());
        painter.drawPolyline(QPolygonF({box.bottomLeft(), QPointF(centre.x(), box.bottom()),
                                        QPointF(centre.x(), box.top()), box.topRight()}));
        break;
    case Sample::BoundCheck:
        painter.setPen(style.boundCheckPen());
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(centre - QPointF(style.mm(1.3), style.mm(1.3)),
                                centre + QPointF(style.mm(1.3), style.mm(1.3))));
        break;
    case Sample::Bound:
        painter.setPen(style.boundPen());
        painter.drawLine(QPointF(centre.x(), box.top()), QPointF(centre.x(), box.bottom()));
        break;
    }
}
