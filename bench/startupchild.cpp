#include "startupchild.h"

#include "startup.h"

#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int runStartupChild(int argc, char **argv, const std::string &kind)
{
    QApplication application(argc, argv);
    QTimer::singleShot(0, &application, &QCoreApplication::quit);
    if (kind == "velmira")
        return runVelmira(application);
    QMainWindow window;
    window.resize(510, 775);
    window.show();
    return application.exec();
}
