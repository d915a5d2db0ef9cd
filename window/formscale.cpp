#include "formscale.h"

#include <QApplication>
#include <QFont>
#include <QLayout>
#include <QScreen>
#include <QWidget>

namespace {

// The form names every widget and layout it makes; Qt's own parts of a
// widget (a tab widget's pages, a view's scroll bars) are named "qt_…" or not
// at all, and their widget places them itself.
bool isFormObject(const QObject &object)
{
    const QString name = object.objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

bool placedByLayout(QWidget &widget)
{
    const QWidget *parent = widget.parentWidget();
    return parent && parent->layout() && parent->layout()->indexOf(&widget) >= 0;
}

// Both edges scaled and rounded, so that neighbours that touched still touch.
QRect scaled(const QRect &rect, qreal factor)
{
    const QPoint topLeft(qRound(rect.left() * factor), qRound(rect.top() * factor));
    const QPoint end(qRound((rect.left() + rect.width()) * factor),
                     qRound((rect.top() + rect.height()) * factor));
    return QRect(topLeft, end - QPoint(1, 1));
}

int scaled(int length, qreal factor)
{
    return length < 0 ? length : qRound(length * factor);
}

// A style's own parts (a radio button's indicator, a frame) keep their size
// when the form shrinks. Where a layout's content then no longer fits the
// widget that holds it, the layout's side margins and spacing give way, one
// pixel at a time, never the content.
void squeezeToFit(QLayout &layout)
{
    QWidget *holder = layout.parentWidget();
    while (holder && holder->minimumSizeHint().width() > holder->width()) {
        QMargins margins = layout.contentsMargins();
        const int spacing = layout.spacing();
        if (margins.left() > 0 && margins.left() >= margins.right())
            margins.setLeft(margins.left() - 1);
        else if (margins.right() > 0)
            margins.setRight(margins.right() - 1);
        else if (spacing > 0)
            layout.setSpacing(spacing - 1);
        else
            return;
        layout.setContentsMargins(margins);
    }
}

} // namespace

void scaleFixedLayout(QWidget &window, qreal factor)
{
    for (QLayout *layout : window.findChildren<QLayout *>()) {
        if (!isFormObject(*layout))
            continue;
        const QMargins margins = layout->contentsMargins();
        layout->setContentsMargins(scaled(margins.left(), factor), scaled(margins.top(), factor),
                                   scaled(margins.right(), factor),
                                   scaled(margins.bottom(), factor));
        layout->setSpacing(scaled(layout->spacing(), factor));
    }
    for (QWidget *widget : window.findChildren<QWidget *>()) {
        if (isFormObject(*widget) && !widget->isWindow() && !placedByLayout(*widget))
            widget->setGeometry(scaled(widget->geometry(), factor));
    }
    for (QLayout *layout : window.findChildren<QLayout *>()) {
        if (isFormObject(*layout) && !layout->parentWidget()->isWindow())
            squeezeToFit(*layout);
    }
    window.resize(scaled(QRect(QPoint(0, 0), window.size()), factor).size());
}

void scaleApplicationFont(qreal factor)
{
    QFont font = QApplication::font();
    // A font in pixels is turned into points, which take fractions.
    qreal points = font.pointSizeF();
    if (font.pixelSize() > 0) {
        const QScreen *screen = QGuiApplication::primaryScreen();
        const qreal dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
        points = font.pixelSize() * 72.0 / dpi;
    }
    font.setPointSizeF(points * factor);
    QApplication::setFont(font);
}
