#ifndef VELMIRA_SCALEDSTYLE_H
#define VELMIRA_SCALEDSTYLE_H

#include <QProxyStyle>

// The application's style with its sizes (indicators, margins, frames) scaled
// by a factor. Where Qt does not scale, the style sizes its parts for the
// system's scale; when the form must be smaller than that to fit the screen,
// its check boxes and radio buttons would overflow their fixed widgets. The
// factor is the form's scale over the system's.
class ScaledStyle : public QProxyStyle {
    Q_OBJECT

public:
    ScaledStyle(const QString &baseStyle, qreal factor);

    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;

private:
    qreal factor;
};

#endif // VELMIRA_SCALEDSTYLE_H
