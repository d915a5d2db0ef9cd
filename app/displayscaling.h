#ifndef VELMIRA_DISPLAYSCALING_H
#define VELMIRA_DISPLAYSCALING_H

#include <QtGlobal>

#include <optional>

class QScreen;
class QSize;
class QWidget;

// The window places its widgets at fixed positions, so on a scaled display it
// must grow as a whole: geometry, fonts and picture by the same factor. Larger
// fonts in widgets of unchanged size would clip captions and hide one of the
// two sheath sizes.
//
// Who scales: on Windows, Qt from 100 % up. Elsewhere Qt's accessibility
// bridge reports positions in Qt's unscaled pixels, so that a magnifier or a
// screen reader would point beside what is drawn: there Qt draws at 100 % and
// the form scales itself (scaleFixedLayout). Below 100 %, which Qt cannot draw,
// the form always scales itself, and where it falls short of the system's
// scale the style's sizes follow it (ScaledStyle). A factor the user set in
// QT_SCALE_FACTOR is left to Qt as it is.
//
// Call before the first application object exists.
void enableWholeWindowScaling();

// The screen's scale as the system's display setting gives it: Qt's device
// pixel ratio where Qt scales, else the logical resolution against 96 dpi.
qreal systemScale(const QScreen &screen);

// The overall scale, in steps of 5 %, at which the window and its frame fit an
// available screen area of the given device pixels: the system's own scale when
// it fits, else the largest smaller step, but never below 85 %.
qreal scaleThatFits(const QSize &availablePixels, qreal systemScale);

// The scale for the window on the primary screen: the system's, or less where
// the window would not fit. The system's also when the user chose a factor in
// QT_SCALE_FACTOR, or on a platform without a real display.
qreal windowScale();

// How the window reaches its scale: what Qt is to scale, which takes a new
// application object, and what the form scales itself by beyond that.
struct ScalePlan {
    // QT_SCALE_FACTOR for a new application object (Windows only: a second
    // application object is never registered with Linux's accessibility bus).
    std::optional<qreal> restartFactor;
    qreal formScale = 1;
    // What the style's sizes are scaled by: where Qt does not scale, the style
    // sizes its parts for the system's scale, which the form may fall short of.
    qreal styleScale = 1;
};
ScalePlan planScaling();

// Sets what the plan's restart needs before the new application object is made.
void prepareRestart(const ScalePlan &plan);

// Centres a window, frame included, in the available area of its screen, so
// that a window that only just fits is not placed partly off the screen.
void centreOnScreen(QWidget *window);

#endif // VELMIRA_DISPLAYSCALING_H
