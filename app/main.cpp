#include "commandline.h"
#include "startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // --help and --version answer before anything needs a display.
    if (const std::optional<int> status = answerCommandLine(argc, argv))
        return *status;

    QApplication application(argc, argv);
    return runVelmira(application);
}
