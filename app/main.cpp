#include "commandline.h"
#include "displayscaling.h"
#include "startup.h"

#include <QApplication>

#include <optional>
#include <vector>

int main(int argc, char *argv[])
{
    // --help and --version answer before anything needs a display.
    if (const std::optional<int> status = answerCommandLine(argc, argv))
        return *status;

    enableWholeWindowScaling();
    // Qt takes its own options out of the arguments; a second application object needs them too.
    std::vector<char *> arguments(argv, argv + argc + 1);
    int argumentCount = argc;

    std::optional<qreal> factor;
    {
        QApplication application(argc, argv);
        factor = scaleFactorForRestart();
        if (!factor)
            return runVelmira(application);
    }
    // Too large for the screen at the system's scale: start again a little smaller.
    useScaleFactor(*factor);
    QApplication application(argumentCount, arguments.data());
    return runVelmira(application);
}
