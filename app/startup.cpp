#include "startup.h"

#include "displayscaling.h"
#include "shrunkenwindow.h"
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

} // namespace

int runVelmira(QApplication &application)
{
    fitFontToFixedLayout();

    // Relative like every data file: the icon comes from the working directory.
    // The pixmap outlives the window, which is destroyed first.
    const QPixmap iconPixmap(QStringLiteral("stet.png"));
    QApplication::setWindowIcon(QIcon(iconPixmap));

    Velmira window;
    // Below 100 % only a scaled view of the window can show all of it.
    const qreal shrink = windowShareOfScreenScale();
    if (shrink < 0.99) {
        ShrunkenWindow view(&window, shrink);
        centreOnScreen(&view);
        view.show();
        return application.exec();
    }
    centreOnScreen(&window);
    window.show();
    return application.exec();
}
