#ifndef VELMIRA_SHRUNKENWINDOW_H
#define VELMIRA_SHRUNKENWINDOW_H

#include <QGraphicsView>

class QGraphicsProxyWidget;

// Shows a window smaller than 100 % on a screen too small for it. Qt paints
// widgets only at scales of 100 % and more, so the window is drawn, whole and
// working, into a scene that this view shows scaled down.
class ShrunkenWindow : public QGraphicsView {
    Q_OBJECT

public:
    ShrunkenWindow(QWidget *window, qreal scale);
    // Hands the window back to its owner instead of deleting it with the scene.
    ~ShrunkenWindow() override;

private:
    QGraphicsProxyWidget *proxy;
};

#endif // VELMIRA_SHRUNKENWINDOW_H
