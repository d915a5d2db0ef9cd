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

    ScalePlan plan;
    {
        QApplication application(argc, argv);
        plan = planScaling();
        if (!plan.restartFactor)
            return runVelmira(application, plan);
    }
    // Qt's scale is fixed when the application object is made: start again at the plan's.
    prepareRestart(plan);
    QApplication application(argumentCount, arguments.data());
    return runVelmira(application, plan);
}
