#include "picturepanel.h"

#include <QEvent>
#include <QGraphicsPixmapItem>
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

// Keeps the picture stretched to its view when the form scales the view.
class PictureStretch : public QObject {
public:
    PictureStretch(QGraphicsView *view, const QString &fileName, QGraphicsPixmapItem *item)
        : QObject(view), view(view), fileName(fileName), item(item)
    {
        view->installEventFilter(this);
        stretch();
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == view && event->type() == QEvent::Resize && view->size() != drawnSize)
            stretch();
        return QObject::eventFilter(watched, event);
    }

private:
    void stretch()
    {
        drawnSize = view->size();
        // Stretched to the view in device pixels, so that a scaled display draws it sharp.
        const qreal pixelRatio = view->devicePixelRatioF();
        QImage picture = readStretched(fileName, drawnSize * pixelRatio);
        picture.setDevicePixelRatio(pixelRatio);
        item->setPixmap(QPixmap::fromImage(std::move(picture)));
        // Five pixels short of the picture, so the view shows no scroll bars around it.
        item->scene()->setSceneRect(0, 0, drawnSize.width() - 5, drawnSize.height() - 5);
    }

    QGraphicsView *view;
    QString fileName;
    QGraphicsPixmapItem *item;
    QSize drawnSize;
};

} // namespace

void showPicture(QGraphicsView *view, const QString &fileName, QObject *sceneOwner)
{
    auto *scene = new QGraphicsScene(sceneOwner);
    QGraphicsPixmapItem *item = scene->addPixmap(QPixmap());
    new PictureStretch(view, fileName, item);
    view->setScene(scene);
}
