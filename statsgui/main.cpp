#include "keeperwindow.h"

#include <QApplication>
#include <QIcon>
#include <QLoggingCategory>

int main(int argc, char *argv[])
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // Qt 6 follows the display's scale by itself; Qt 5 only when asked.
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
    QApplication application(argc, argv);
    // Where QSettings keeps the folders the keeper last chose.
    QCoreApplication::setOrganizationName(QStringLiteral("Velmira"));
    QCoreApplication::setApplicationName(QStringLiteral("velmira-stats-gui"));
    // The calculator's rule logs every smallest diameter for debugging: over
    // a log, one line per case on the terminal, the clinic's cases among them.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    KeeperWindow window;
    window.show();
    // A log dropped on the program's icon, or opened with it, comes as the argument.
    window.openArguments(QCoreApplication::arguments());
    return application.exec();
}
