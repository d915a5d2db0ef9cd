#include "startup.h"

#include "captionfit.h"
#include "displayscaling.h"
#include "formscale.h"
#include "velmira.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QPixmap>

namespace {

// The window places its widgets at fixed pixel positions, sized for the compact
// dialog font of Windows. The larger desktop fonts elsewhere would clip the
// captions and hide one of the two sheath sizes, so outside Windows the
// application gets a font of about the size the layout was made for.
void fitFontToFixedLayout()
{
#ifndef Q_OS_WIN
    QFont font = QApplication::font();
    font.setPixelSize(9);
    QApplication::setFont(font);
#endif
}

// Windows keeps its own dialog font, whose face and size depend on the Windows
// version and the display setting; at some settings it cuts a few captions of
// the fixed form. Only those get a smaller font. Elsewhere the font above fits.
void fitCaptionsToFixedLayout(QWidget &window)
{
#ifdef Q_OS_WIN
    shrinkCaptionsToFit(window);
#else
    Q_UNUSED(window)
#endif
}

} // namespace

int runVelmira(QApplication &application, std::optional<qreal> formScale)
{
    fitFontToFixedLayout();
    // Beyond what Qt scales: the fonts, the dialogs' too, and then the form.
    const qreal scale = formScale ? *formScale : planScaling().formScale;
    const bool scalesItself = qAbs(scale - 1) > 0.001;
    if (scalesItself)
        scaleApplicationFont(scale);

    // Relative like every data file: the icon comes from the working directory.
    // The pixmap outlives the window, which is destroyed first.
    const QPixmap iconPixmap(QStringLiteral("stet.png"));
    QApplication::setWindowIcon(QIcon(iconPixmap));

    Velmira window;
    if (scalesItself)
        scaleFixedLayout(window, scale);
    centreOnScreen(&window);
    window.show();
    // Shown, the window is laid out on its screen at its scale; it is painted
    // only once the event loop runs.
    fitCaptionsToFixedLayout(window);
    return application.exec();
}
