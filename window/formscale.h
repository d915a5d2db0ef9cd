#ifndef VELMIRA_FORMSCALE_H
#define VELMIRA_FORMSCALE_H

#include <QtGlobal>

class QWidget;

// Scales the form's fixed layout by the factor: the window's size, every widget
// the form places at a fixed position, and the margins and spacing of its
// layouts, so that the window looks as at 100 %, only smaller or larger. Fonts
// are the application's concern (scaleApplicationFont). Where Qt itself cannot
// scale (below 100 %) or its accessibility bridge would report unscaled
// positions, the window scales itself this way and stays an ordinary window:
// shortcuts, menus, dialogs and screen readers work as at 100 %.
void scaleFixedLayout(QWidget &window, qreal factor);

// Scales the application's font, which the window and its dialogs share.
void scaleApplicationFont(qreal factor);

#endif // VELMIRA_FORMSCALE_H
