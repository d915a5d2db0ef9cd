#include "plotwidget.h"

#include "evidenceplot.h"

#include <QPainter>

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

void PlotWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    EvidencePlot(m_sheath).draw(painter, QRectF(rect()));
}
