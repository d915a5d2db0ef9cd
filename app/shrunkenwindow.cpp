#include "shrunkenwindow.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>

ShrunkenWindow::ShrunkenWindow(QWidget *window, qreal scale)
{
    auto *scene = new QGraphicsScene(this);
    proxy = scene->addWidget(window);
    setScene(scene);
    setSceneRect(proxy->boundingRect());
    setTransform(QTransform::fromScale(scale, scale));
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                   | QPainter::SmoothPixmapTransform);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFixedSize((QSizeF(window->size()) * scale).toSize());
    setWindowTitle(window->windowTitle());
    // The keyboard goes where the window itself would send it.
    proxy->setFocus(Qt::ActiveWindowFocusReason);
}

ShrunkenWindow::~ShrunkenWindow()
{
    proxy->setWidget(nullptr);
}
