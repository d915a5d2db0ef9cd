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

// Takes a pixel from the larger of two margins, the first on a tie; false
// when both are used up.
bool takePixel(int &first, int &second)
{
    if (first > 0 && first >= second)
        --first;
    else if (second > 0)
        --second;
    else
        return false;
    return true;
}

// A style's own parts (a radio button's indicator, a frame, a group box's
// title) need not shrink with the form. Where a layout's content then no
// longer fits the widget that holds it, the layout's margins and spacing give
// way, one pixel at a time, never the content: across for a width too small,
// above and below for a height.
void squeezeToFit(QLayout &layout)
{
    QWidget *holder = layout.parentWidget();
    while (holder && holder->minimumSizeHint().width() > holder->width()) {
        QMargins margins = layout.contentsMargins();
        int left = margins.left(), right = margins.right();
        if (takePixel(left, right)) {
            margins.setLeft(left);
            margins.setRight(right);
            layout.setContentsMargins(margins);
        } else if (layout.spacing() > 0) {
            layout.setSpacing(layout.spacing() - 1);
        } else {
            break;
        }
    }
    while (holder && holder->minimumSizeHint().height() > holder->height()) {
        QMargins margins = layout.contentsMargins();
        int top = margins.top(), bottom = margins.bottom();
        if (!takePixel(top, bottom))
            return;
        margins.setTop(top);
        margins.setBottom(bottom);
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
