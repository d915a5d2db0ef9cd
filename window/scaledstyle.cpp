#include "scaledstyle.h"

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
