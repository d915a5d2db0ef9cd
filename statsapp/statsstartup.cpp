#include "statsstartup.h"

#include "console.h"
#include "statsrun.h"

#include <QLoggingCategory>
#include <QtGlobal>

namespace {

QtMessageHandler defaultHandler = nullptr;

void keepSeriousMessages(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if ((type == QtCriticalMsg || type == QtFatalMsg) && defaultHandler)
        defaultHandler(type, context, text);
}

} // namespace

int answerStatsRequest(const StatsRequest &request)
{
    switch (request.action) {
    case StatsRequest::Action::Help:
        return printOut(StatsOptions::helpText()) ? 0 : 1;
    case StatsRequest::Action::Version:
        return printOut(StatsOptions::versionText()) ? 0 : 1;
    case StatsRequest::Action::Error:
    case StatsRequest::Action::Run:
    case StatsRequest::Action::Install:
    case StatsRequest::Action::Restore:
        break;
    }
    printError(QStringLiteral("velmira-stats: ") + request.error + QLatin1Char('\n'));
    return StatsRun::UsageError;
}

void prepareStatsRun()
{
    // The calculator's rule logs every smallest diameter for debugging; over a
    // log it would print one line per case and bury the command's messages.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
#ifndef Q_OS_WIN
    // Drawing the report needs a QGuiApplication, and that a platform. The
    // command runs from a plain terminal and over SSH, where a desktop
    // platform (xcb, wayland) has no display to open and would abort the
    // program; the offscreen one draws the same and needs none. Windows
    // always has its own.
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    // Qt's warnings on the way (a missing XDG_RUNTIME_DIR under sudo or cron,
    // a font it substitutes) mean nothing to the clinic's staff and would read
    // as a failure; a report that cannot be drawn comes back empty and is
    // said so.
    defaultHandler = qInstallMessageHandler(keepSeriousMessages);
}
