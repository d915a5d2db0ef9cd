#include "calibrationwidget.h"

#include "calibrationplot.h"

#include <QPainter>

CalibrationWidget::CalibrationWidget(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CalibrationWidget::setCheck(const std::optional<TableCheck> &check)
{
    m_check = check;
    update();
}

// In text lines, so that the plot grows with the system's font and scale.
QSize CalibrationWidget::sizeHint() const
{
    const int line = fontMetrics().height();
    return {line * 26, line * 24};
}

QSize CalibrationWidget::minimumSizeHint() const
{
    const int line = fontMetrics().height();
    return {line * 16, line * 15};
}

void CalibrationWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (m_check)
        CalibrationPlot(*m_check).draw(painter, QRectF(rect()));
}
