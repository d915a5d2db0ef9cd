#include "startup.h"

#include "captionfit.h"
#include "displayscaling.h"
#include "formscale.h"
#include "scaledstyle.h"
#include "velmira.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QStyle>

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

} // namespace

int runVelmira(QApplication &application, std::optional<ScalePlan> plan)
{
    fitFontToFixedLayout();
    // Beyond what Qt scales: the fonts, the dialogs' too, the style, and then the form.
    const ScalePlan scaling = plan ? *plan : planScaling();
    const qreal scale = scaling.formScale;
    const bool scalesItself = qAbs(scale - 1) > 0.001;
    if (scalesItself)
        scaleApplicationFont(scale);
    if (qAbs(scaling.styleScale - 1) > 0.001)
        QApplication::setStyle(
            new ScaledStyle(QApplication::style()->objectName(), scaling.styleScale));

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
    // only once the event loop runs. Windows keeps its own dialog font, whose
    // face and size depend on the Windows version and the display setting, and
    // a scaled font may round up to a whole pixel more: either can cut a few
    // captions of the fixed form, and only those get a smaller font.
    shrinkCaptionsToFit(window);
    return application.exec();
}
