#include "picturepanel.h"

#include <QGraphicsScene>
#include <QGraphicsView>
#include <QImage>
#include <QImageReader>
#include <QPixmap>

#include <utility>

namespace {

// Reads the picture straight at the size it is drawn, stretched to it. The JPEG
// decoder then skips the detail a later scaling would average away: the shipped
// picture, made for 200 %, decodes at a quarter of its pixels at 100 %.
QImage readStretched(const QString &fileName, const QSize &size)
{
    QImageReader reader(fileName);
    reader.setScaledSize(size);
    return reader.read();
}

} // namespace

void showPicture(QGraphicsView *view, const QString &fileName, QObject *sceneOwner)
{
    const QSize viewSize(view->width(), view->height());
    // Stretched to the view in device pixels, so that a scaled display draws it sharp.
    const qreal pixelRatio = view->devicePixelRatioF();
    QImage picture = readStretched(fileName, viewSize * pixelRatio);
    picture.setDevicePixelRatio(pixelRatio);

    auto *scene = new QGraphicsScene(sceneOwner);
    scene->addPixmap(QPixmap::fromImage(std::move(picture)));
    // Five pixels short of the picture, so the view shows no scroll bars around it.
    scene->setSceneRect(0, 0, viewSize.width() - 5, viewSize.height() - 5);
    view->setScene(scene);
}
