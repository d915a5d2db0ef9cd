#ifndef VELMIRA_PICTUREPANEL_H
#define VELMIRA_PICTUREPANEL_H

#include <QString>

class QGraphicsView;
class QObject;

// Shows the picture from the file stretched to exactly the view's size,
// whatever its aspect ratio, also after the view is resized. The scene belongs to sceneOwner, which
// must live as long as the view. A missing or unreadable file leaves the view empty.
void showPicture(QGraphicsView *view, const QString &fileName, QObject *sceneOwner);

#endif // VELMIRA_PICTUREPANEL_H
