#include "scaledstyle.h"

#include <QStyleOption>

ScaledStyle::ScaledStyle(const QString &baseStyle, qreal factor)
    : QProxyStyle(baseStyle), factor(factor)
{
}

int ScaledStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                             const QWidget *widget) const
{
    const int size = QProxyStyle::pixelMetric(metric, option, widget);
    // A line one pixel wide stays one pixel wide.
    if (size <= 1)
        return size;
    return qMax(1, qRound(size * factor));
}

void ScaledStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                QPainter *painter, const QWidget *widget) const
{
    // Fusion draws a group box's frame below a title as tall as its own,
    // unscaled radio indicator, while the box's contents start below the
    // scaled one: the frame would run through the contents. Drawn from a rect
    // raised by the difference, the frame starts where the contents do.
    const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option);
    if (element == PE_FrameGroupBox && frame
        && baseStyle()->objectName() == QLatin1String("fusion")) {
        const int text = frame->fontMetrics.height();
        const int own = qMax(QProxyStyle::pixelMetric(PM_ExclusiveIndicatorHeight), text);
        const int scaled = qMax(pixelMetric(PM_ExclusiveIndicatorHeight), text);
        if (own > scaled) {
            QStyleOptionFrame raised(*frame);
            raised.rect.setTop(frame->rect.top() - (own - scaled));
            QProxyStyle::drawPrimitive(element, &raised, painter, widget);
            return;
        }
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}
