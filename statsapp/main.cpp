#include "console.h"
#include "statisticsreport.h"
#include "statsoptions.h"
#include "statsrun.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLoggingCategory>

#include <optional>
#include <vector>

namespace {

QtMessageHandler defaultHandler = nullptr;

void keepSeriousMessages(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if ((type == QtCriticalMsg || type == QtFatalMsg) && defaultHandler)
        defaultHandler(type, context, text);
}

} // namespace

int main(int argc, char *argv[])
{
    // The calculator's rule logs every smallest diameter for debugging; over a
    // log it would print one line per case and bury the command's messages.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));

    // Qt options (-platform and the like) are taken out of the arguments by
    // each application object, and the report's needs them whole.
    std::vector<char *> arguments(argv, argv + argc + 1);
    int argumentCount = argc;

    // The arguments through Qt: on Windows from the wide command line, so that
    // a log named in Cyrillic opens whatever the code page.
    std::optional<QCoreApplication> core;
    core.emplace(argc, argv);
    const StatsRequest request = StatsOptions::parse(QCoreApplication::arguments());
    switch (request.action) {
    case StatsRequest::Action::Help:
        return printOut(StatsOptions::helpText()) ? 0 : 1;
    case StatsRequest::Action::Version:
        return printOut(StatsOptions::versionText()) ? 0 : 1;
    case StatsRequest::Action::Error:
        printError(QStringLiteral("velmira-stats: ") + request.error + QLatin1Char('\n'));
        return StatsRun::UsageError;
    case StatsRequest::Action::Run:
        break;
    }

    StatsRun run(request, [&](const LogSummary &log, const QVector<SheathEvidence> &sheaths) {
        core.reset();
#ifndef Q_OS_WIN
        // Drawing the report needs a QGuiApplication, and that a platform. The
        // command runs from a plain terminal and over SSH, where a desktop
        // platform (xcb, wayland) has no display to open and would abort the
        // program; the offscreen one draws the same and needs none. Windows
        // always has its own.
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
        // Qt's warnings on the way (a missing XDG_RUNTIME_DIR under sudo or
        // cron, a font it substitutes) mean nothing to the clinic's staff and
        // would read as a failure; a report that cannot be drawn comes back
        // empty and is said so.
        defaultHandler = qInstallMessageHandler(keepSeriousMessages);
        QGuiApplication gui(argumentCount, arguments.data());
        const QByteArray pdf = statisticsReportPdf(log, sheaths);
        qInstallMessageHandler(defaultHandler);
        return pdf;
    });
    return run.exec();
}
