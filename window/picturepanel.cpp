#include "picturepanel.h"

#include <QGraphicsScene>
#include <QGraphicsView>
#include <QImage>
#include <QPixmap>

void showPicture(QGraphicsView *view, const QString &fileName, QObject *sceneOwner)
{
    const QSize viewSize(view->width(), view->height());
    const QImage picture
        = QImage(fileName).scaled(viewSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    auto *scene = new QGraphicsScene(sceneOwner);
    scene->addPixmap(QPixmap::fromImage(picture));
    // Five pixels short of the picture, so the view shows no scroll bars around it.
    scene->setSceneRect(0, 0, viewSize.width() - 5, viewSize.height() - 5);
    view->setScene(scene);
}
