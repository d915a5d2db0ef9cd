#ifndef VELMIRA_DISPLAYSCALING_H
#define VELMIRA_DISPLAYSCALING_H

#include <QtGlobal>

#include <optional>

class QSize;
class QWidget;

// The window places its widgets at fixed positions, so on a scaled display it
// must grow as a whole: geometry, fonts and picture by the same factor. Larger
// fonts in widgets of unchanged size would clip captions and hide one of the
// two sheath sizes. Call before the application object exists.
void enableWholeWindowScaling();

// The overall scale, in steps of 5 %, at which the window and its frame fit an
// available screen area of the given device pixels: the system's own scale when
// it fits, else the largest smaller step, but never below 85 %.
qreal scaleThatFits(const QSize &availablePixels, qreal systemScale);

// The scale for the window on the primary screen: the screen's own, or less
// where the window would not fit. The screen's own also when the user chose a
// factor in QT_SCALE_FACTOR, or on a platform without a real display.
qreal windowScale();

// The window scale as a share of the screen's: below 1 where the window must be
// smaller than the screen's scale.
qreal windowShareOfScreenScale();

// Qt scales a whole application crisply, but only when its application object
// is made, and paints nothing right below 100 %. Where the window must be
// smaller than the screen's scale but not below 100 %: the factor for a new
// application object, to be set with useScaleFactor() before making it.
std::optional<qreal> scaleFactorForRestart();
void useScaleFactor(qreal factor);

// Centres a window, frame included, in the available area of its screen, so
// that a window that only just fits is not placed partly off the screen.
void centreOnScreen(QWidget *window);

#endif // VELMIRA_DISPLAYSCALING_H
