#include "startup.h"

#include "velmira.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>

int runVelmira(QApplication &application)
{
    // Relative like every data file: the icon comes from the working directory.
    // The pixmap outlives the window, which is destroyed first.
    const QPixmap iconPixmap(QStringLiteral("stet.png"));
    QApplication::setWindowIcon(QIcon(iconPixmap));

    Velmira window;
    window.show();
    return application.exec();
}
