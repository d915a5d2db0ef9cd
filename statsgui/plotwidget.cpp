#include "plotwidget.h"

#include "evidenceplot.h"
#include "plotlegend.h"

#include <QPainter>
#include <QPicture>

PlotWidget::PlotWidget(const SheathEvidence &sheath, QWidget *parent)
    : QWidget(parent), m_sheath(sheath)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

// In text lines, so that the plot grows with the system's font and scale.
QSize PlotWidget::sizeHint() const
{
    const int line = fontMetrics().height();
    return {line * 40, line * 22};
}

QSize PlotWidget::minimumSizeHint() const
{
    const int line = fontMetrics().height();
    return {line * 24, line * 14};
}

// The legend's height is known only once drawn: it is drawn aside first.
double PlotWidget::legendHeight(const PlotLegend &legend) const
{
    QPicture picture;
    QPainter painter(&picture);
    return legend.draw(painter, QRectF(rect()));
}

void PlotWidget::paintEvent(QPaintEvent *)
{
    const PlotLegend legend(m_sheath.largestRowCases());
    const double below = legendHeight(legend);
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QRectF frame(rect());
    EvidencePlot(m_sheath).draw(painter, frame.adjusted(0, 0, 0, -below));
    legend.draw(painter, QRectF(frame.left(), frame.bottom() - below, frame.width(), below));
}
