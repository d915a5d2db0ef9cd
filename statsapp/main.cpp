#include "checkrun.h"
#include "installrun.h"
#include "restorerun.h"
#include "statisticsreport.h"
#include "statsoptions.h"
#include "statsrun.h"
#include "statsstartup.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <vector>

int main(int argc, char *argv[])
{
    // Qt takes its own options out of the arguments; the run's application object needs them too.
    std::vector<char *> arguments(argv, argv + argc + 1);
    int argumentCount = argc;

    StatsRequest request;
    {
        // The arguments through Qt: on Windows from the wide command line, so
        // that a log named in Cyrillic opens whatever the code page.
        QCoreApplication core(argc, argv);
        request = StatsOptions::parse(QCoreApplication::arguments());
    }
    const InstallRun::Note note = {QString(), request.approvedBy, request.reason};
    if (request.action == StatsRequest::Action::Install) {
        // Installing draws nothing: no platform needed, even under pkexec.
        QCoreApplication core(argumentCount, arguments.data());
        return InstallRun(request.installFolder, request.installSource, note).exec();
    }
    if (request.action == StatsRequest::Action::Restore) {
        QCoreApplication core(argumentCount, arguments.data());
        return RestoreRun(request.installFolder, request.restoreRelease, note).exec();
    }
    if (request.action != StatsRequest::Action::Run)
        return answerStatsRequest(request);

    prepareStatsRun();
    // The check draws nothing: the core application is enough.
    if (request.check) {
        QCoreApplication application(argumentCount, arguments.data());
        return CheckRun(request).exec();
    }
    QGuiApplication application(argumentCount, arguments.data());
    return StatsRun(request, statisticsReportPdf).exec();
}
