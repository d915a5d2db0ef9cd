#include "picturepanel.h"

#include <QGraphicsScene>
#include <QGraphicsView>
#include <QImage>
#include <QPixmap>

void showPicture(QGraphicsView *view, const QString &fileName, QObject *sceneOwner)
{
    const QSize viewSize(view->width(), view->height());
    // Stretched to the view in device pixels, so that a scaled display draws it sharp.
    const qreal pixelRatio = view->devicePixelRatioF();
    QImage picture = QImage(fileName).scaled(viewSize * pixelRatio, Qt::IgnoreAspectRatio,
                                             Qt::SmoothTransformation);
    picture.setDevicePixelRatio(pixelRatio);

    auto *scene = new QGraphicsScene(sceneOwner);
    scene->addPixmap(QPixmap::fromImage(picture));
    // Five pixels short of the picture, so the view shows no scroll bars around it.
    scene->setSceneRect(0, 0, viewSize.width() - 5, viewSize.height() - 5);
    view->setScene(scene);
}
